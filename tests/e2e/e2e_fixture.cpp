#include "e2e_fixture.h"

#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace e2e {

void HostCommandTest::SetUp() {
    static int counter = 0;
    folder = std::filesystem::temp_directory_path() /
             ("lumeno-e2e-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    prefs = folder / "prefs.json";
}

void HostCommandTest::TearDown() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::filesystem::path HostCommandTest::moduleFolder() const {
    return std::filesystem::path(LUMENO_MODULES_DIR) / (release() == "9.0" ? "90" : "95") / "LumenoExporter";
}

RunResult HostCommandTest::run(const std::vector<std::string>& args, const RunSetup& setup) {
    std::vector<std::string> all = args;
    all.insert(all.end(), {"--release", release(), "--module", moduleFolder().string(), "--prefs", prefs.string()});
    RunResult result = runPlain(all, setup);
    // Every scene file an export writes reads back and draws, as the renderer would read it.
    if (result.status == 0 && !args.empty() && args[0] == "export")
        for (std::size_t i = 1; i + 1 < args.size(); ++i)
            if (args[i] == "-o") {
                RunResult preview = runPlain({"preview", args[i + 1], "-o", (folder / "e2e-preview.png").string(),
                                              "--size", "16x12"});
                EXPECT_EQ(preview.status, 0) << "preview of " << args[i + 1] << ": " << preview.err;
            }
    return result;
}

namespace {

/// Spawns lumeno-host with `args`, its output into the given files (or nowhere).
pid_t spawnHost(const std::vector<std::string>& args, const RunSetup& setup, const std::filesystem::path& outFile,
                const std::filesystem::path& errFile) {
    std::vector<std::string> argv{LUMENO_HOST_EXE};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (auto& arg : argv) pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    std::vector<std::string> environment = setup.environment;
    for (char** variable = environ; *variable; ++variable) environment.emplace_back(*variable);
    // The sanitizer runtime of this toolchain now and then records a bogus range of dynamic
    // thread-local storage in the preview's drawing library, and its leak check at exit then
    // crashes reading it ("Tracer caught signal 11"). Not following that storage ends it.
    const auto options = std::find_if(environment.begin(), environment.end(),
                                      [](const std::string& v) { return v.rfind("ASAN_OPTIONS=", 0) == 0; });
    if (options == environment.end())
        environment.emplace_back("ASAN_OPTIONS=intercept_tls_get_addr=0");
    else
        *options += ":intercept_tls_get_addr=0";
    std::vector<char*> variables;
    for (auto& variable : environment) variables.push_back(variable.data());
    variables.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (setup.input >= 0)
        posix_spawn_file_actions_adddup2(&actions, setup.input, 0);
    else
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.empty() ? "/dev/null" : outFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.empty() ? "/dev/null" : errFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!setup.workingFolder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, setup.workingFolder.c_str());
    pid_t child = 0;
    int spawned = posix_spawn(&child, LUMENO_HOST_EXE, &actions, nullptr, pointers.data(), variables.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot run " << LUMENO_HOST_EXE;
        return -1;
    }
    return child;
}

} // namespace

RunResult HostCommandTest::runPlain(const std::vector<std::string>& args, const RunSetup& setup) {
    const std::filesystem::path outFile = folder / "stdout.txt", errFile = folder / "stderr.txt";
    RunResult result;
    const pid_t child = spawnHost(args, setup, outFile, errFile);
    if (child < 0) return result;
    int status = 0;
    waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(outFile);
    result.err = readFile(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return result;
}

pid_t HostCommandTest::start(const std::vector<std::string>& args, const RunSetup& setup) {
    std::vector<std::string> all = args;
    all.insert(all.end(), {"--release", release(), "--module", moduleFolder().string(), "--prefs", prefs.string()});
    return spawnHost(all, setup, {}, {});
}

std::filesystem::path HostCommandTest::writeFile(const std::string& name, const std::string& text) {
    std::filesystem::path file = folder / name;
    std::ofstream(file, std::ios::binary) << text;
    return file;
}

std::string HostCommandTest::readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string releaseName(const ::testing::TestParamInfo<const char*>& info) {
    return std::string(info.param) == "9.0" ? "Release90" : "Release95";
}

} // namespace e2e
