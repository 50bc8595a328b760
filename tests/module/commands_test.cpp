// The export and export-and-run commands, driven as the application's menu drives them, with a
// stand-in renderer: a small script named lumeno.exe that records its working directory and its
// arguments.
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "frame/host_text.h"
#include "frame/module_strings.h"
#include "frame/plugin_ids.h"
#include "host/memory/allocator.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/plugins/command_calls.h"
#include "host/plugins/plugin_texts.h"
#include "host/plugins/registry.h"
#include "host/settings/preferences.h"
#include "module_fixture.h"

namespace lumeno_test {
namespace {

/// How the stand-in renderer was started.
struct RendererStart {
    std::string marker;          // which stand-in ran
    std::string workingDirectory;
    std::vector<std::string> arguments;
};

/// One question the file dialog was asked.
struct DialogCall {
    std::string defaultPath;
    int32_t kind;
    int32_t mode;
    std::string title;
};

/// Sets PATH for one test and restores it afterwards.
class ScopedSearchPath {
public:
    explicit ScopedSearchPath(const std::string& path) {
        if (const char* old = std::getenv("PATH")) old_ = old;
        setenv("PATH", path.c_str(), 1);
    }
    ~ScopedSearchPath() {
        if (old_) setenv("PATH", old_->c_str(), 1);
        else unsetenv("PATH");
    }

private:
    std::optional<std::string> old_;
};

std::string CurrentDirectory() {
    std::error_code error;
    return fs::current_path(error).string();
}

/// True when this process has no child left, not even one that has ended and waits to be reaped.
bool NoChildProcessLeft() {
    int status = 0;
    return waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
}

class CommandsTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        StartModule();
        document_ = host::createDocument();
        host::makeObject(*document_, TYPE_CUBE, "Cube");
        host::setDocumentSetting(*document_, DOCUMENT_PATH, dir_.path().string());
        host::setDocumentSetting(*document_, DOCUMENT_FILE_NAME, "studio.c4d");
        InstallHostServices();
        rendererFolder_ = Temp("Lumeno Renderer");
        scenes_ = Temp("My Scenes");
        records_ = Temp("records");
        for (const fs::path& folder : {rendererFolder_, scenes_, records_}) fs::create_directories(folder);
    }
    void TearDown() override {
        document_.reset();
        ModuleTest::TearDown();
    }

    /// The host's texts for the commands and a file dialog that answers `answer_` (or cancels).
    void InstallHostServices() {
        host::installPluginTexts(session());
        session().setFileDialog([this](std::string& path, int32_t kind, int32_t mode, const std::string& title) {
            dialogCalls_.push_back({path, kind, mode, title});
            if (!answer_) return false;
            path = *answer_;
            return true;
        });
    }

    /// A stand-in renderer "lumeno.exe" in `folder` that records how it was started.
    void InstallStandIn(const fs::path& folder, const std::string& marker) {
        const fs::path script = folder / "lumeno.exe";
        std::ofstream(script) << "#!/bin/sh\n"
                              << "PATH=/usr/bin:/bin\n" // the test may have changed it
                              << "record='" << (records_ / "start").string() << "'.$$\n"
                              << "{ echo '" << marker << "'; pwd -P; echo \"$#\"; "
                              << "for a in \"$@\"; do echo \"$a\"; done; } > \"$record.tmp\" "
                              << "&& mv \"$record.tmp\" \"$record\"\n";
        fs::permissions(script, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    }

    void SetRendererFolder(const fs::path& folder) { StoreSetting(kSaverSettingRendererFolder, folder.string()); }
    void Remember(const fs::path& file) { StoreSetting(kSaverSettingLastExportFile, file.string()); }
    void StoreSetting(int32_t element, const std::string& value) {
        HostContainer settings;
        settings.setFilename(element, value);
        session().prefs().store(kLumenoSaverId, settings, true);
    }
    std::string Remembered() {
        const HostContainer* settings = session().prefs().find(kLumenoSaverId);
        return settings ? settings->getFilename(kSaverSettingLastExportFile) : "";
    }

    bool Run(int32_t commandId) {
        return host::executeCommand(host::findCommand(session().registry(), commandId), document_.get());
    }
    int32_t State(int32_t commandId, HostDocument* document) {
        return host::commandState(host::findCommand(session().registry(), commandId), document);
    }

    /// The records of every stand-in that has finished recording so far.
    std::vector<RendererStart> Starts() {
        std::vector<RendererStart> starts;
        for (const auto& entry : fs::directory_iterator(records_)) {
            if (entry.path().extension() == ".tmp") continue;
            std::istringstream lines(ReadFile(entry.path()));
            RendererStart start;
            std::string count;
            std::getline(lines, start.marker);
            std::getline(lines, start.workingDirectory);
            std::getline(lines, count);
            for (std::string argument; std::getline(lines, argument);) start.arguments.push_back(argument);
            EXPECT_EQ(count, std::to_string(start.arguments.size())) << "an argument holds a line break";
            starts.push_back(start);
        }
        return starts;
    }
    /// Waits until the stand-in started by the command has written its record.
    std::optional<RendererStart> WaitForStart() {
        for (int attempt = 0; attempt < 3000; ++attempt) {
            std::vector<RendererStart> starts = Starts();
            if (!starts.empty()) {
                EXPECT_EQ(starts.size(), 1u) << "the renderer was started more than once";
                return starts.front();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "the stand-in renderer left no record";
        return std::nullopt;
    }

    std::string CommandText(int32_t id) { return host::exportCommandTexts().getString(id); }
    /// Whether the one text shown contains every part.
    void ExpectOneShownTextWith(const std::vector<std::string>& parts) {
        ASSERT_EQ(session().shownTexts().size(), 1u);
        const std::string& shown = session().shownTexts().front();
        EXPECT_EQ(shown.rfind("Lumeno: ", 0), 0u) << "every text starts alike: " << shown;
        for (const std::string& part : parts) EXPECT_NE(shown.find(part), std::string::npos) << shown << "\nlacks: " << part;
    }
    void ExpectSceneFile(const fs::path& file) {
        auto xml = LoadScene(file);
        ASSERT_NE(xml, nullptr);
        EXPECT_NE(SceneOf(*xml), nullptr) << file;
    }

    host::NodePtr document_;
    fs::path rendererFolder_, scenes_, records_;
    std::optional<std::string> answer_;
    std::vector<DialogCall> dialogCalls_;
};

std::string ModuleString(int32_t id) {
    char buffer[256];
    HostText(GetModuleString(id)).ToBuffer(buffer, sizeof buffer);
    return buffer;
}

TEST_F(CommandsTest, BothCommandsAreRegisteredWithTheirTextsAndIcons) {
    const struct {
        int32_t id, name, help;
    } commands[] = {{kLumenoExportCommandId, kStringExportCommandName, kStringExportCommandHelp},
                    {kLumenoExportAndRunCommandId, kStringExportAndRunCommandName, kStringExportAndRunCommandHelp}};
    for (const auto& expected : commands) {
        SCOPED_TRACE(expected.id);
        const host::RegisteredPlugin& command = host::findCommand(session().registry(), expected.id);
        EXPECT_EQ(command.flags, 0);
        EXPECT_TRUE(command.hasIcon);
        EXPECT_FALSE(command.name.empty());
        EXPECT_EQ(command.name, ModuleString(expected.name));
        EXPECT_EQ(command.help, ModuleString(expected.help));
    }
}

TEST_F(CommandsTest, BothCommandsAreEnabledOnlyForADocumentWithObjects) {
    host::NodePtr empty = host::createDocument();
    for (int32_t id : {kLumenoExportCommandId, kLumenoExportAndRunCommandId}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(State(id, document_.get()), COMMAND_STATE_ENABLED);
        EXPECT_EQ(State(id, empty.get()), COMMAND_STATE_DISABLED);
        EXPECT_EQ(State(id, nullptr), COMMAND_STATE_DISABLED);
        session().setScratchAvailable(false);
        EXPECT_EQ(State(id, document_.get()), COMMAND_STATE_DISABLED);
        session().setScratchAvailable(true);
        EXPECT_EQ(host::runCommandFromMenu(host::findCommand(session().registry(), id), empty.get()),
                  host::CommandOutcome::Disabled);
    }
    EXPECT_TRUE(dialogCalls_.empty());
}

TEST_F(CommandsTest, ExportAndRunWithARememberedFileWritesThereWithoutAskingAndStartsTheRenderer) {
    InstallStandIn(rendererFolder_, "folder");
    SetRendererFolder(rendererFolder_);
    const fs::path remembered = scenes_ / "last scene.xml";
    Remember(remembered);
    const std::string directoryBefore = CurrentDirectory();
    const size_t blocksBefore = session().allocator().liveBlocks();
    const long handlesBefore = session().liveHandles();

    ASSERT_TRUE(Run(kLumenoExportAndRunCommandId));

    EXPECT_TRUE(dialogCalls_.empty());
    EXPECT_TRUE(session().shownTexts().empty());
    ExpectSceneFile(remembered);
    EXPECT_EQ(Remembered(), remembered.string());
    // The host's working directory is where it was; the renderer ran in its folder.
    EXPECT_EQ(CurrentDirectory(), directoryBefore);
    std::optional<RendererStart> start = WaitForStart();
    ASSERT_TRUE(start);
    EXPECT_EQ(start->marker, "folder");
    EXPECT_EQ(start->workingDirectory, fs::canonical(rendererFolder_).string());
    EXPECT_EQ(start->arguments, std::vector<std::string>{remembered.string()});
    // Neither the renderer nor a helper process is left for this process to reap.
    EXPECT_TRUE(NoChildProcessLeft());
    EXPECT_EQ(session().allocator().liveBlocks(), blocksBefore);
    EXPECT_EQ(session().liveHandles(), handlesBefore);
}

TEST_F(CommandsTest, ExportAlwaysAsksThenRemembersTheNewFile) {
    InstallStandIn(rendererFolder_, "folder");
    SetRendererFolder(rendererFolder_);
    Remember(scenes_ / "old.xml");
    const fs::path chosen = scenes_ / "new  scene (2).xml";
    answer_ = chosen.string();

    ASSERT_TRUE(Run(kLumenoExportCommandId));

    ASSERT_EQ(dialogCalls_.size(), 1u);
    EXPECT_EQ(dialogCalls_[0].defaultPath, "studio.c4d.xml");
    EXPECT_EQ(dialogCalls_[0].title, "Export Lumeno Scene");
    EXPECT_EQ(dialogCalls_[0].kind, FILE_DIALOG_KIND_ANY);
    EXPECT_EQ(dialogCalls_[0].mode, FILE_DIALOG_SAVE);
    ExpectSceneFile(chosen);
    EXPECT_FALSE(fs::exists(scenes_ / "old.xml"));
    EXPECT_EQ(Remembered(), chosen.string());
    std::optional<RendererStart> start = WaitForStart();
    ASSERT_TRUE(start);
    // Blanks, doubled blanks and brackets: one argument, the path itself without quotes.
    EXPECT_EQ(start->arguments, std::vector<std::string>{chosen.string()});
    EXPECT_TRUE(NoChildProcessLeft());
}

TEST_F(CommandsTest, ExportAndRunWithoutARendererFolderRemembersTheChoiceAndThenGoesStraightToTheMessage) {
    const fs::path chosen = scenes_ / "first.xml";
    answer_ = chosen.string();

    EXPECT_FALSE(Run(kLumenoExportAndRunCommandId));
    ASSERT_EQ(dialogCalls_.size(), 1u);
    EXPECT_EQ(dialogCalls_[0].defaultPath, "studio.c4d.xml");
    EXPECT_EQ(dialogCalls_[0].title, "Export Lumeno Scene");
    EXPECT_EQ(session().shownTexts(), std::vector<std::string>{CommandText(host::textNoRendererFolder)});
    EXPECT_EQ(Remembered(), chosen.string());
    EXPECT_FALSE(fs::exists(chosen)) << "the scene is not written without a renderer folder";

    EXPECT_FALSE(Run(kLumenoExportAndRunCommandId));
    EXPECT_EQ(dialogCalls_.size(), 1u) << "the remembered file is used without asking";
    ASSERT_EQ(session().shownTexts().size(), 2u);
    EXPECT_EQ(session().shownTexts().back(), CommandText(host::textNoRendererFolder));
    EXPECT_TRUE(Starts().empty());
}

TEST_F(CommandsTest, ExportWithoutARendererFolderShowsTheMessageAndKeepsTheRememberedFile) {
    Remember(scenes_ / "kept.xml");
    answer_ = (scenes_ / "other.xml").string();
    EXPECT_FALSE(Run(kLumenoExportCommandId));
    EXPECT_EQ(session().shownTexts(), std::vector<std::string>{CommandText(host::textNoRendererFolder)});
    EXPECT_EQ(Remembered(), (scenes_ / "kept.xml").string());
    EXPECT_FALSE(fs::exists(scenes_ / "other.xml"));
}

TEST_F(CommandsTest, WithoutTheHostsTextsNothingIsShown) {
    NewSession();
    StartModule();
    answer_ = (scenes_ / "a.xml").string();
    session().setFileDialog([this](std::string& path, int32_t, int32_t, const std::string&) {
        path = *answer_;
        return true;
    });
    EXPECT_FALSE(Run(kLumenoExportAndRunCommandId));
    EXPECT_TRUE(session().shownTexts().empty());
}

TEST_F(CommandsTest, CancelledDialogAnswersFalseAndChangesNothing) {
    InstallStandIn(rendererFolder_, "folder");
    SetRendererFolder(rendererFolder_);
    EXPECT_FALSE(Run(kLumenoExportAndRunCommandId));
    EXPECT_EQ(Remembered(), "");
    Remember(scenes_ / "kept.xml");
    EXPECT_FALSE(Run(kLumenoExportCommandId));
    EXPECT_EQ(Remembered(), (scenes_ / "kept.xml").string());

    EXPECT_EQ(dialogCalls_.size(), 2u);
    EXPECT_TRUE(session().shownTexts().empty());
    EXPECT_TRUE(fs::is_empty(scenes_));
    EXPECT_TRUE(Starts().empty());
}

TEST_F(CommandsTest, FailedSaveNamesTheFileAndStartsNoRenderer) {
    InstallStandIn(rendererFolder_, "folder");
    SetRendererFolder(rendererFolder_);
    const fs::path unwritable = scenes_ / "no such folder" / "scene.xml";

    // Export: the file that could not be written does not replace the remembered one.
    Remember(scenes_ / "kept.xml");
    answer_ = unwritable.string();
    EXPECT_FALSE(Run(kLumenoExportCommandId));
    ASSERT_NO_FATAL_FAILURE(ExpectOneShownTextWith({unwritable.string(), "renderer was not started"}));
    EXPECT_EQ(Remembered(), (scenes_ / "kept.xml").string());

    // Export-and-run: the file chosen in its dialog is remembered before the save, and stays.
    Remember("");
    EXPECT_FALSE(Run(kLumenoExportAndRunCommandId));
    ASSERT_EQ(session().shownTexts().size(), 2u);
    EXPECT_NE(session().shownTexts().back().find(unwritable.string()), std::string::npos);
    EXPECT_EQ(Remembered(), unwritable.string());

    EXPECT_FALSE(fs::exists(unwritable));
    EXPECT_TRUE(Starts().empty());
}

TEST_F(CommandsTest, PathTooLongForTheSceneIsRefusedWithItsLength) {
    InstallStandIn(rendererFolder_, "folder");
    SetRendererFolder(rendererFolder_);
    const fs::path deep = scenes_ / std::string(120, 'd') / std::string(120, 'e');
    fs::create_directories(deep);
    const fs::path file = deep / "scene.xml";
    const std::string length = std::to_string(file.string().size());
    answer_ = file.string();
    EXPECT_FALSE(Run(kLumenoExportCommandId));
    ASSERT_NO_FATAL_FAILURE(ExpectOneShownTextWith({file.string(), "has " + length + " bytes", "at most 255"}));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(Starts().empty());
}

TEST_F(CommandsTest, RendererFolderLongerThan255BytesStartsNothing) {
    // Cut to 255 bytes, the folder would name another folder that holds a renderer.
    const fs::path other = Temp(std::string(120, 'r')) / std::string(200, 's');
    const fs::path cutTo = other.string().substr(0, 255);
    fs::create_directories(cutTo);
    fs::create_directories(other);
    InstallStandIn(cutTo, "wrong");
    InstallStandIn(other, "long");
    SetRendererFolder(other);
    Remember(scenes_ / "scene.xml");
    answer_ = (scenes_ / "scene.xml").string();
    size_t shown = 0;
    for (int32_t id : {kLumenoExportCommandId, kLumenoExportAndRunCommandId}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(Run(id));
        ASSERT_EQ(session().shownTexts().size(), ++shown);
        const std::string& text = session().shownTexts().back();
        EXPECT_EQ(text.rfind("Lumeno: the renderer folder \"" + other.string() + "\" has 3", 0), 0u) << text;
        EXPECT_NE(text.find("bytes, and at most 255"), std::string::npos) << text;
        EXPECT_FALSE(fs::exists(scenes_ / "scene.xml"));
    }
    EXPECT_TRUE(Starts().empty());
}

TEST_F(CommandsTest, RelativeRememberedFileIsRefused) {
    InstallStandIn(rendererFolder_, "folder");
    SetRendererFolder(rendererFolder_);
    Remember("scene.xml");
    EXPECT_FALSE(Run(kLumenoExportAndRunCommandId));
    ASSERT_NO_FATAL_FAILURE(ExpectOneShownTextWith({"\"scene.xml\"", "not a full path"}));
    EXPECT_TRUE(dialogCalls_.empty());
    EXPECT_TRUE(Starts().empty());
}

TEST_F(CommandsTest, FailedMeshFileIsNamedAndTheWrittenSceneIsNotBlamed) {
    InstallStandIn(rendererFolder_, "folder");
    SetRendererFolder(rendererFolder_);
    const fs::path scene = scenes_ / "scene.xml";
    host::makeTextureTag(*host::findObjectByPath(*document_, "Cube"), *host::makeMaterial(*document_, "Red"));
    // A folder where the cube's mesh file belongs: the host cannot save it.
    fs::create_directories(scenes_ / "scene.xml.0.3DS");
    answer_ = scene.string();
    EXPECT_FALSE(Run(kLumenoExportCommandId));
    ASSERT_NO_FATAL_FAILURE(ExpectOneShownTextWith(
        {"written to \"" + scene.string() + "\"", "mesh file \"" + scene.string() + ".0.3DS\"", "renderer was not started"}));
    EXPECT_EQ(session().shownTexts().front().find("cannot be opened"), std::string::npos);
    ExpectSceneFile(scene);
    EXPECT_TRUE(Starts().empty());
}

TEST_F(CommandsTest, MissingRendererIsToldWithFolderAndProgramAndAnswersFalse) {
    ScopedSearchPath path(Temp("empty bin").string());
    SetRendererFolder(rendererFolder_);
    const fs::path chosen = scenes_ / "scene.xml";
    answer_ = chosen.string();

    EXPECT_FALSE(Run(kLumenoExportCommandId));
    ASSERT_NO_FATAL_FAILURE(ExpectOneShownTextWith({"\"lumeno.exe\"", "\"" + rendererFolder_.string() + "\"", "PATH"}));
    // The scene is written and remembered, so export-and-run can reuse it once the renderer is there.
    ExpectSceneFile(chosen);
    EXPECT_EQ(Remembered(), chosen.string());

    EXPECT_FALSE(Run(kLumenoExportAndRunCommandId));
    EXPECT_EQ(session().shownTexts().size(), 2u);
    EXPECT_TRUE(NoChildProcessLeft());
}

TEST_F(CommandsTest, MissingRendererFolderIsToldAsSuch) {
    // Even with a renderer along PATH: it is to run in its folder, which is not there.
    const fs::path bin = Temp("bin");
    fs::create_directories(bin);
    InstallStandIn(bin, "path");
    ScopedSearchPath path(bin.string());
    const fs::path missing = Temp("Removed Renderer");
    SetRendererFolder(missing);
    Remember(scenes_ / "scene.xml");
    EXPECT_FALSE(Run(kLumenoExportAndRunCommandId));
    ASSERT_NO_FATAL_FAILURE(ExpectOneShownTextWith({"\"" + missing.string() + "\"", "does not exist"}));
    EXPECT_TRUE(Starts().empty());
}

TEST_F(CommandsTest, RendererThatIsNotExecutableIsToldAndAnswersFalse) {
    ScopedSearchPath path(Temp("empty bin").string());
    SetRendererFolder(rendererFolder_);
    InstallStandIn(rendererFolder_, "folder");
    fs::permissions(rendererFolder_ / "lumeno.exe", fs::perms::owner_read | fs::perms::owner_write);
    Remember(scenes_ / "scene.xml");

    EXPECT_FALSE(Run(kLumenoExportAndRunCommandId));
    ASSERT_NO_FATAL_FAILURE(ExpectOneShownTextWith({"\"lumeno.exe\"", "\"" + rendererFolder_.string() + "\"", "not an executable"}));
    EXPECT_TRUE(Starts().empty());
    EXPECT_TRUE(NoChildProcessLeft());
}

TEST_F(CommandsTest, RendererIsLookedForInItsFolderFirstThenAlongPath) {
    const fs::path bin = Temp("bin");
    fs::create_directories(bin);
    InstallStandIn(bin, "path");
    ScopedSearchPath path("/nonexistent:" + bin.string());
    SetRendererFolder(rendererFolder_);
    Remember(scenes_ / "scene.xml");

    ASSERT_TRUE(Run(kLumenoExportAndRunCommandId));
    std::optional<RendererStart> fromPath = WaitForStart();
    ASSERT_TRUE(fromPath);
    EXPECT_EQ(fromPath->marker, "path");
    // Found along PATH, it still runs in the renderer folder.
    EXPECT_EQ(fromPath->workingDirectory, fs::canonical(rendererFolder_).string());

    fs::remove_all(records_);
    fs::create_directories(records_);
    InstallStandIn(rendererFolder_, "folder");
    ASSERT_TRUE(Run(kLumenoExportAndRunCommandId));
    std::optional<RendererStart> fromFolder = WaitForStart();
    ASSERT_TRUE(fromFolder);
    EXPECT_EQ(fromFolder->marker, "folder");
}

TEST_F(CommandsTest, SaverDeletedByTheHostForgetsTheFileWhileACommandsSaverKeepsIt) {
    InstallStandIn(rendererFolder_, "folder");
    SetRendererFolder(rendererFolder_);
    const fs::path chosen = scenes_ / "scene.xml";
    answer_ = chosen.string();
    ASSERT_TRUE(Run(kLumenoExportAndRunCommandId));
    ASSERT_TRUE(WaitForStart());
    // The command released its saver; the file stays remembered and is reused without asking.
    EXPECT_EQ(Remembered(), chosen.string());
    ASSERT_TRUE(Run(kLumenoExportAndRunCommandId));
    EXPECT_EQ(dialogCalls_.size(), 1u);

    // An export through the host's own export menu: the host deletes its saver afterwards.
    ASSERT_EQ(session().saveWithSaver(kLumenoSaverId, document_.get(), scenes_ / "menu.xml"), FILE_RESULT_OK);
    EXPECT_EQ(Remembered(), "");
    ASSERT_TRUE(Run(kLumenoExportAndRunCommandId));
    EXPECT_EQ(dialogCalls_.size(), 2u) << "export-and-run asks again";
    EXPECT_EQ(Remembered(), chosen.string());
}

TEST_F(CommandsTest, NoMemoryForTheSaverShowsText1001) {
    SetRendererFolder(rendererFolder_);
    answer_ = (scenes_ / "scene.xml").string();
    for (int32_t id : {kLumenoExportCommandId, kLumenoExportAndRunCommandId}) {
        SCOPED_TRACE(id);
        const size_t blocksBefore = session().allocator().liveBlocks();
        const long handlesBefore = session().liveHandles();
        session().allocator().failAllocation(1);
        EXPECT_FALSE(Run(id));
        EXPECT_TRUE(session().allocator().failureHappened());
        session().allocator().failAllocation(0);
        ASSERT_FALSE(session().shownTexts().empty());
        EXPECT_EQ(session().shownTexts().back(), CommandText(host::textNoMemoryForExport));
        EXPECT_EQ(session().allocator().liveBlocks(), blocksBefore);
        EXPECT_EQ(session().liveHandles(), handlesBefore);
    }
    EXPECT_EQ(Remembered(), "");
    EXPECT_FALSE(fs::exists(scenes_ / "scene.xml"));
}

} // namespace
} // namespace lumeno_test
