// Whole files: each kind of target ends with the new bytes where a reader looks, or with what was
// there before and a reason; no temporary file stays behind either way.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "host/files/derived_files.h"
#include "host/files/export_staging.h"
#include "host/files/whole_file.h"
#include "host/plugins/host_error.h"

namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void write(const fs::path& file, const std::string& text)
{
    host::writeWholeFile(file, std::vector<uint8_t>(text.begin(), text.end()));
}

class WholeFile : public ::testing::Test {
protected:
    fs::path folder = fs::temp_directory_path() / ("lumeno-whole-" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }
    /// Every name in the folder, so that a stray temporary shows.
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(folder))
            out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
};

TEST_F(WholeFile, NewPlainAndLinkedTargetsGetTheBytes)
{
    write(folder / "new.3DS", "first");
    EXPECT_EQ(contents(folder / "new.3DS"), "first");

    write(folder / "new.3DS", "second, longer");
    EXPECT_EQ(contents(folder / "new.3DS"), "second, longer");

    // A link stays a link; the file it names is what changes.
    fs::create_symlink("new.3DS", folder / "link.3DS");
    write(folder / "link.3DS", "through the link");
    EXPECT_TRUE(fs::is_symlink(folder / "link.3DS"));
    EXPECT_EQ(contents(folder / "new.3DS"), "through the link");

    EXPECT_EQ(names(), (std::vector<std::string>{"link.3DS", "new.3DS"}));
}

TEST_F(WholeFile, TargetsThatCannotBeReplacedKeepWhatWasThere)
{
    fs::create_directory(folder / "scene.xml.0.3DS");
    // Once after a new file and once after a replaced one: a save that replaced a file looks at
    // the next target first.
    for (const bool replacedBefore : {false, true}) {
        SCOPED_TRACE(replacedBefore ? "after a replaced file" : "after a new file");
        fs::remove(folder / "plain.3DS");
        write(folder / "plain.3DS", "mesh");
        if (replacedBefore) write(folder / "plain.3DS", "mesh again");
        try {
            write(folder / "scene.xml.0.3DS", "mesh");
            FAIL() << "a folder was replaced";
        } catch (const host::HostError& e) {
            EXPECT_STREQ(e.what(), "it is a folder");
        }
        EXPECT_TRUE(fs::is_directory(folder / "scene.xml.0.3DS"));

        EXPECT_THROW(write(folder / "missing" / "scene.xml.0.3DS", "mesh"), host::HostError);

        // A device is written as it is, never renamed over.
        write("/dev/null", "into nothing");
        EXPECT_TRUE(fs::is_character_file("/dev/null"));

        EXPECT_EQ(names(), (std::vector<std::string>{"plain.3DS", "scene.xml.0.3DS"}));
    }
}

TEST_F(WholeFile, WhatKilledRunsLeftIsTakenAwayByTheNextRun)
{
    // A process that is gone, and this one.
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string key = host::exportKey("report.json");
    for (const pid_t process : {gone, ::getpid()})
        write(folder / (".lumeno-" + key + "-" + std::to_string(process) + "-1.part"), "half");
    host::removeStaleTemporaries(folder / "report.json");
    EXPECT_EQ(names(), (std::vector<std::string>{".lumeno-" + key + "-" + std::to_string(::getpid()) + "-1.part"}));
    fs::remove(folder / names().front());

    // A run killed once its scene had changed leaves a report of the earlier export: the next run
    // takes it away. One killed before its scene changed leaves the earlier report as it was.
    const fs::path scene = folder / "s.xml", report = folder / "r.json";
    for (const bool sceneChanged : {true, false}) {
        SCOPED_TRACE(sceneChanged ? "scene changed" : "scene as it was");
        write(scene, "earlier scene");
        write(report, "earlier report");
        const pid_t run = ::fork();
        if (run == 0) {
            host::DerivedFiles* killed = new host::DerivedFiles(scene, {report});
            (void)killed; // never destroyed, as in a killed process
            if (sceneChanged) write(scene, "new scene");
            ::_exit(0);
        }
        ::waitpid(run, nullptr, 0);
        { host::DerivedFiles next(scene, {report}); }
        EXPECT_EQ(fs::exists(report), !sceneChanged);
        const std::vector<std::string> left = sceneChanged ? std::vector<std::string>{"s.xml"}
                                                           : std::vector<std::string>{"r.json", "s.xml"};
        EXPECT_EQ(names(), left);
    }
}

TEST(StagedPaths, AStagedFileIsNamedAsItWillBeOnceCommitted)
{
    const std::string stage = ".lumeno-0123456789abcdef-89abcdef";
    struct Case {
        std::string path, committed;
        bool staged;
    } cases[] = {
        {"/d/" + stage + ".new/s.xml.0.3DS", "/d/s.xml.0.3DS", true},
        {"/d/" + stage + ".commit/s.xml", "/d/s.xml", true},
        {"/" + stage + ".new/s.xml", "/s.xml", true},
        {stage + ".new/s.xml", "s.xml", true},
        {"/d/" + stage + ".old/s.xml", "/d/" + stage + ".old/s.xml", false},
        {"/d/.lumeno-0123456789ABCDEF-89abcdef.new/s.xml", "/d/.lumeno-0123456789ABCDEF-89abcdef.new/s.xml", false},
        {"/" + stage + ".new/d/s.xml", "/" + stage + ".new/d/s.xml", false},
        {"s.xml", "s.xml", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(host::committedPath(c.path), fs::path(c.committed)) << c.path;
        EXPECT_EQ(host::isStagedPath(c.path), c.staged) << c.path;
    }
    EXPECT_EQ(host::committedPathsIn("cannot write /d/" + stage + ".new/s.xml.3.3DS: No space left on device"),
              "cannot write /d/s.xml.3.3DS: No space left on device");
}

} // namespace
