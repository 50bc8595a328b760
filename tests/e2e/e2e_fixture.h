// Runs lumeno-host in a temporary folder of its own, with a preferences file of its own, against
// the module folder of one host release ("9.0" or "9.5", the test's parameter).
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

#include <gtest/gtest.h>

namespace e2e {

struct RunResult {
    int status = -1; // the exit status; -1 when the command did not exit normally
    std::string out;
    std::string err;
};

/// How a run is started: standard input from a file descriptor (-1: /dev/null, so the host
/// never finds a terminal to ask on) and the working folder (empty: the test process's own).
struct RunSetup {
    int input = -1;
    std::filesystem::path workingFolder;
    std::vector<std::string> environment = {}; // "NAME=VALUE" added to the test's own
};

class HostCommandTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Runs lumeno-host with these arguments followed by --release and --module for the test's
    /// release and --prefs for the test's own preferences file. The scene file of a successful
    /// export is then previewed, and the test fails if that is refused.
    RunResult run(const std::vector<std::string>& args, const RunSetup& setup = {});
    /// Runs lumeno-host with exactly these arguments.
    RunResult runPlain(const std::vector<std::string>& args, const RunSetup& setup = {});
    /// Starts lumeno-host with these arguments (and the test's release, module and preferences)
    /// without waiting; answers its process, whose output goes nowhere.
    pid_t start(const std::vector<std::string>& args, const RunSetup& setup = {});

    /// Writes a file into the test's folder; answers its path.
    std::filesystem::path writeFile(const std::string& name, const std::string& text);
    static std::string readFile(const std::filesystem::path& file);

    std::string release() const { return GetParam(); }
    std::filesystem::path moduleFolder() const;

    std::filesystem::path folder; // the test's own temporary folder
    std::filesystem::path prefs;
};

/// For INSTANTIATE_TEST_SUITE_P: "Release90" / "Release95".
std::string releaseName(const ::testing::TestParamInfo<const char*>& info);

} // namespace e2e
