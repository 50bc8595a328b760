// lumeno-host command export|export-and-run, with the real module of each release and a stand-in
// renderer: a script named lumeno.exe in a renderer folder that records its working directory and
// its arguments.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <fcntl.h>
#include <optional>
#include <sstream>
#include <thread>
#include <unistd.h>

#include <tinyxml.h>

#include "e2e_fixture.h"

namespace e2e {
namespace {

struct RendererStart {
    std::string workingDirectory;
    std::vector<std::string> arguments;
};

class CommandTest : public HostCommandTest {
protected:
    void SetUp() override {
        HostCommandTest::SetUp();
        renderer = folder / "Lumeno Renderer";
        scenes = folder / "My Scenes";
        records = folder / "records";
        for (const auto& dir : {renderer, scenes, records}) std::filesystem::create_directories(dir);
        document = writeFile("studio.json", R"({"objects": [{"type": "cube", "name": "Cube"}]})");
        empty = writeFile("empty.json", "{}");
    }

    /// The stand-in renderer in the renderer folder, and that folder in the preferences.
    void installRenderer() {
        const auto script = renderer / "lumeno.exe";
        std::ofstream(script) << "#!/bin/sh\n"
                              << "record='" << (records / "start").string() << "'.$$\n"
                              << "{ pwd -P; echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done; } "
                              << "> \"$record.tmp\" && mv \"$record.tmp\" \"$record\"\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        setRendererFolder();
    }
    void setRendererFolder() { ASSERT_EQ(run({"prefs", "--renderer-folder", renderer.string()}).status, 0); }

    /// The last export file as `prefs` shows it.
    std::string remembered() {
        RunResult shown = run({"prefs"});
        const std::string label = "last export file: ";
        const auto at = shown.out.find(label);
        if (at == std::string::npos) return "<no prefs output>";
        return shown.out.substr(at + label.size(), shown.out.find('\n', at) - at - label.size());
    }

    std::vector<RendererStart> starts() {
        std::vector<RendererStart> found;
        for (const auto& entry : std::filesystem::directory_iterator(records)) {
            if (entry.path().extension() == ".tmp") continue;
            std::istringstream lines(readFile(entry.path()));
            RendererStart start;
            std::string count;
            std::getline(lines, start.workingDirectory);
            std::getline(lines, count);
            for (std::string argument; std::getline(lines, argument);) start.arguments.push_back(argument);
            EXPECT_EQ(count, std::to_string(start.arguments.size()));
            found.push_back(start);
        }
        return found;
    }
    /// Waits for the record of the one renderer the command started, and clears it for the next.
    std::optional<RendererStart> waitForStart() {
        for (int attempt = 0; attempt < 3000; ++attempt) {
            std::vector<RendererStart> found = starts();
            if (!found.empty()) {
                EXPECT_EQ(found.size(), 1u) << "the renderer was started more than once";
                std::filesystem::remove_all(records);
                std::filesystem::create_directories(records);
                return found.front();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "the stand-in renderer left no record";
        return std::nullopt;
    }

    void expectScene(const std::filesystem::path& file) {
        TiXmlDocument xml;
        std::string text = readFile(file);
        xml.Parse(text.c_str(), nullptr, TIXML_ENCODING_LEGACY);
        ASSERT_FALSE(xml.Error()) << file << ": " << xml.ErrorDesc();
        ASSERT_NE(xml.RootElement(), nullptr);
        EXPECT_EQ(std::string(xml.RootElement()->Value()), "scene");
    }

    /// Runs lumeno-host (with the test's release, module and preferences) in the test's folder,
    /// with standard input from `input`: a file descriptor, or -1 for /dev/null.
    RunResult runWithInput(const std::vector<std::string>& args, int input) {
        return run(args, RunSetup{input, folder});
    }

    std::filesystem::path renderer, scenes, records, document, empty;
};

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_P(CommandTest, ExportAndRunAsksOnceThenReusesTheRememberedFile) {
    installRenderer();
    const auto chosen = scenes / "scene one.xml";
    RunResult first = run({"command", "export-and-run", document.string(), "--choose", chosen.string(), "--quiet"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    expectScene(chosen);
    std::optional<RendererStart> start = waitForStart();
    ASSERT_TRUE(start);
    EXPECT_EQ(start->workingDirectory, std::filesystem::canonical(renderer).string());
    // The path with a blank arrives as one argument, without quotes.
    EXPECT_EQ(start->arguments, std::vector<std::string>{chosen.string()});
    EXPECT_EQ(remembered(), chosen.string());

    // The second run does not ask: --cancel would end it.
    std::filesystem::remove(chosen);
    RunResult second = run({"command", "export-and-run", document.string(), "--cancel"});
    ASSERT_EQ(second.status, 0) << second.err;
    expectScene(chosen);
    start = waitForStart();
    ASSERT_TRUE(start);
    EXPECT_EQ(start->arguments, std::vector<std::string>{chosen.string()});
}

TEST_P(CommandTest, ExportAlwaysAsksAndRemembersTheNewFile) {
    installRenderer();
    const auto first = scenes / "first.xml", second = scenes / "second.xml";
    ASSERT_EQ(run({"command", "export", document.string(), "--choose", first.string()}).status, 0);
    ASSERT_TRUE(waitForStart());

    RunResult cancelled = run({"command", "export", document.string(), "--cancel"});
    EXPECT_EQ(cancelled.status, 1);
    EXPECT_TRUE(contains(cancelled.err, "cancelled")) << cancelled.err;
    EXPECT_EQ(remembered(), first.string());

    RunResult chosen = run({"command", "export", document.string(), "--choose", second.string()});
    ASSERT_EQ(chosen.status, 0) << chosen.err;
    expectScene(second);
    std::optional<RendererStart> start = waitForStart();
    ASSERT_TRUE(start);
    EXPECT_EQ(start->arguments, std::vector<std::string>{second.string()});
    EXPECT_EQ(remembered(), second.string());
}

TEST_P(CommandTest, WithoutARendererFolderTheChoiceIsRememberedAndTheNextRunGoesStraightToTheMessage) {
    const auto chosen = scenes / "scene.xml";
    RunResult first = run({"command", "export-and-run", document.string(), "--choose", chosen.string()});
    EXPECT_EQ(first.status, 1);
    // The host's text 1000 tells how to set the folder.
    EXPECT_TRUE(contains(first.err, "lumeno-host prefs --renderer-folder")) << first.err;
    EXPECT_FALSE(std::filesystem::exists(chosen));
    EXPECT_EQ(remembered(), chosen.string());

    RunResult second = run({"command", "export-and-run", document.string(), "--cancel"});
    EXPECT_EQ(second.status, 1);
    EXPECT_TRUE(contains(second.err, "lumeno-host prefs --renderer-folder")) << second.err;
    EXPECT_FALSE(contains(second.err, "cancelled")) << "no dialog was to be shown: " << second.err;
}

TEST_P(CommandTest, BothCommandsAreDisabledForADocumentWithoutObjects) {
    installRenderer();
    for (const char* command : {"export", "export-and-run"}) {
        const auto out = scenes / (std::string(command) + ".xml");
        RunResult result = run({"command", command, empty.string(), "--choose", out.string()});
        EXPECT_EQ(result.status, 1) << command;
        EXPECT_TRUE(contains(result.err, "disabled")) << result.err;
        EXPECT_TRUE(contains(result.err, empty.string())) << result.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    EXPECT_TRUE(starts().empty());
}

TEST_P(CommandTest, FailedSaveIsNamedAndStartsNoRenderer) {
    installRenderer();
    const auto unwritable = scenes / "missing folder" / "scene.xml";
    for (const char* command : {"export", "export-and-run"}) {
        RunResult result = run({"command", command, document.string(), "--choose", unwritable.string()});
        EXPECT_EQ(result.status, 1) << command;
        EXPECT_TRUE(contains(result.err, unwritable.string())) << result.err;
    }
    // Export-and-run remembered the file it was given before the save failed.
    EXPECT_EQ(remembered(), unwritable.string());
    EXPECT_TRUE(starts().empty());
}

TEST_P(CommandTest, RendererThatCannotStartIsToldWithFolderAndProgram) {
    setRendererFolder(); // the folder holds no lumeno.exe
    const auto chosen = scenes / "scene.xml";
    RunResult result = run({"command", "export", document.string(), "--choose", chosen.string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(contains(result.err, "\"lumeno.exe\"")) << result.err;
    EXPECT_TRUE(contains(result.err, "\"" + renderer.string() + "\"")) << result.err;
    expectScene(chosen);
}

TEST_P(CommandTest, ExportThroughTheHostsMenuForgetsTheFileSoExportAndRunAsksAgain) {
    installRenderer();
    const auto chosen = scenes / "scene.xml";
    ASSERT_EQ(run({"command", "export-and-run", document.string(), "--choose", chosen.string()}).status, 0);
    ASSERT_TRUE(waitForStart());
    EXPECT_EQ(remembered(), chosen.string());

    ASSERT_EQ(run({"export", document.string(), "-o", (scenes / "menu.xml").string()}).status, 0);
    EXPECT_EQ(remembered(), "(not set)");
    RunResult asked = run({"command", "export-and-run", document.string(), "--cancel"});
    EXPECT_EQ(asked.status, 1);
    EXPECT_TRUE(contains(asked.err, "cancelled")) << asked.err;
}

TEST_P(CommandTest, OnATerminalTheDialogAsksWithItsTitleAndDefault) {
    installRenderer();
    int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(grantpt(terminal), 0);
    ASSERT_EQ(unlockpt(terminal), 0);
    int userSide = open(ptsname(terminal), O_RDWR | O_NOCTTY);
    ASSERT_GE(userSide, 0);
    // An empty answer takes the default, the document's name with ".xml", in the working folder.
    ASSERT_EQ(write(terminal, "\n", 1), 1);
    RunResult result = runWithInput({"command", "export", document.string()}, userSide);
    close(userSide);
    close(terminal);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(contains(result.err, "Export Lumeno Scene")) << result.err;
    EXPECT_TRUE(contains(result.err, "[studio.json.xml]")) << result.err;
    const auto written = folder / "studio.json.xml";
    expectScene(written);
    std::optional<RendererStart> start = waitForStart();
    ASSERT_TRUE(start);
    EXPECT_EQ(start->arguments, std::vector<std::string>{written.string()});
}

TEST_P(CommandTest, WithoutATerminalOrAnAnswerTheCommandSaysHowToAnswer) {
    installRenderer();
    RunResult result = runWithInput({"command", "export", document.string()}, -1);
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(contains(result.err, "--choose FILE or --cancel")) << result.err;
    EXPECT_TRUE(starts().empty());
}

TEST_P(CommandTest, UsageIsCheckedAndHelpListsTheOptions) {
    RunResult help = runPlain({"command", "--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--choose", "--cancel", "--release", "--module", "--prefs", "export-and-run"})
        EXPECT_TRUE(contains(help.out, option)) << "help lacks " << option;
    EXPECT_EQ(run({"command", "render", document.string()}).status, 2);
    EXPECT_EQ(run({"command", "export", document.string(), "--choose", "a.xml", "--cancel"}).status, 2);
}

TEST_P(CommandTest, TheRendererSeesTheUsersEnvironmentAfterTheHostStartsAgain) {
    // A document of 2 MB or more makes the host start once more with an allocator setting added
    // to its environment; the renderer it starts must see the environment the user gave.
    const auto record = records / "environment";
    const auto script = renderer / "lumeno.exe";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s|%s' \"${GLIBC_TUNABLES-unset}\" \"${LUMENO_HOST_GIVEN_TUNABLES-unset}\" > '"
                          << record.string() << ".tmp' && mv '" << record.string() << ".tmp' '" << record.string() << "'\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    setRendererFolder();
    const auto large = writeFile("large.json", R"({"comment": ")" + std::string(2 << 20, 'x') +
                                                   R"(", "objects": [{"type": "cube", "name": "Cube"}]})");
    const char* own = std::getenv("GLIBC_TUNABLES");
    const struct {
        std::vector<std::string> environment;
        std::string seen;
    } cases[] = {
        {{}, std::string(own ? own : "unset") + "|unset"},
        {{"GLIBC_TUNABLES=glibc.malloc.perturb=0"}, "glibc.malloc.perturb=0|unset"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(record);
        RunResult result = run({"command", "export-and-run", large.string(), "--choose", (scenes / "large.xml").string()},
                               RunSetup{-1, {}, c.environment});
        ASSERT_EQ(result.status, 0) << result.err;
        for (int attempt = 0; attempt < 3000 && !std::filesystem::exists(record); ++attempt)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(readFile(record), c.seen);
    }
}

INSTANTIATE_TEST_SUITE_P(BothReleases, CommandTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
