// lumeno-host plugins, prefs and --help, with the real module of each release.
#include <map>
#include <set>
#include <sstream>

#include "e2e_fixture.h"

namespace e2e {
namespace {

struct Row {
    int id = 0;
    int kind = 0;
    std::string kindName;
    int flags = 0;
    std::string name;
};

/// The rows of the plugins listing, after its header: ID, kind number and word, flags, name.
std::vector<Row> parseListing(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line); // header
    std::vector<Row> rows;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        Row row;
        fields >> row.id >> row.kind >> row.kindName >> row.flags;
        std::getline(fields >> std::ws, row.name);
        rows.push_back(row);
    }
    return rows;
}

using CliTest = HostCommandTest;

TEST_P(CliTest, PluginsListsTheSaverFirstThenTheTags) {
    RunResult result = run({"plugins"});
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<Row> rows = parseListing(result.out);
    ASSERT_FALSE(rows.empty()) << result.out;
    // The saver registers first: ID 1019430, kind 25, flags 0.
    EXPECT_EQ(rows[0].id, 1019430);
    EXPECT_EQ(rows[0].kind, 25);
    EXPECT_EQ(rows[0].kindName, "saver");
    EXPECT_EQ(rows[0].flags, 0);
    EXPECT_FALSE(rows[0].name.empty());
    // Tags that the module registers carry their identities: render settings 10000 comes next.
    const std::map<int, int> tagFlags{{10000, 1}, {10004, 1}, {10005, 1}, {10008, 3}};
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[1].id, 10000);
    std::set<int> tags;
    for (const Row& row : rows) {
        if (row.kind != 10) continue;
        ASSERT_EQ(tagFlags.count(row.id), 1u) << "unexpected tag " << row.id;
        EXPECT_EQ(row.flags, tagFlags.at(row.id)) << row.id;
        EXPECT_EQ(row.kindName, "tag");
        tags.insert(row.id);
    }
    EXPECT_EQ(tags.count(10000), 1u);
    EXPECT_EQ(tags.count(10005), 1u);
}

TEST_P(CliTest, MissingModuleFolderIsNamed) {
    const std::string missing = (folder / "no-module").string();
    RunResult result = runPlain({"plugins", "--module", missing, "--prefs", prefs.string()});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find(missing), std::string::npos) << result.err;
}

TEST_P(CliTest, FailedRegistrationListsWhatRegisteredAndNamesTheIcon) {
    // A copy of the module folder without the object tag's icon: that registration fails.
    const auto copy = folder / "LumenoExporter";
    std::filesystem::copy(moduleFolder(), copy, std::filesystem::copy_options::recursive);
    std::filesystem::remove(copy / "res" / "lumenogenericobjtag.tif");
    RunResult result = runPlain({"plugins", "--module", copy.string(), "--prefs", prefs.string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("could not register"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find((copy / "res" / "lumenogenericobjtag.tif").string()), std::string::npos) << result.err;
    std::set<int> listed;
    for (const Row& row : parseListing(result.out)) listed.insert(row.id);
    EXPECT_EQ(listed.count(1019430), 1u);
    EXPECT_EQ(listed.count(10000), 1u);
    EXPECT_EQ(listed.count(10005), 0u);
}

TEST_P(CliTest, PrefsSetsAndShowsTheRendererFolder) {
    RunResult before = run({"prefs"});
    ASSERT_EQ(before.status, 0) << before.err;
    EXPECT_NE(before.out.find("renderer folder:  (not set)"), std::string::npos) << before.out;

    const std::string renderer = (folder / "Lumeno Renderer").string();
    std::filesystem::create_directories(renderer);
    RunResult set = run({"prefs", "--renderer-folder", renderer});
    ASSERT_EQ(set.status, 0) << set.err;
    RunResult shown = run({"prefs"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("renderer folder:  " + renderer + "\n"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("last export file: (not set)"), std::string::npos) << shown.out;
    // Kept in the preferences file the command was given.
    EXPECT_NE(readFile(prefs).find(renderer), std::string::npos);
}

TEST_P(CliTest, EveryCommandHasHelpWithTheCommonOptions) {
    for (const char* command : {"plugins", "export", "prefs"}) {
        RunResult result = runPlain({command, "--help"});
        EXPECT_EQ(result.status, 0) << command;
        for (const char* option : {"--module", "--prefs", "--release"})
            EXPECT_NE(result.out.find(option), std::string::npos) << command << " lacks " << option;
    }
    RunResult top = runPlain({"--help"});
    EXPECT_EQ(top.status, 0);
    for (const char* command : {"plugins", "export", "prefs"}) EXPECT_NE(top.out.find(command), std::string::npos);
}

TEST_P(CliTest, UnknownReleaseIsAUsageError) {
    RunResult result = runPlain({"plugins", "--release", "9.7", "--prefs", prefs.string()});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("9.7"), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(BothReleases, CliTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
