#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "host/plugins/host_error.h"
#include "host/settings/preferences.h"

namespace {

namespace fs = std::filesystem;

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() /
                 ("lumeno-prefs-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        file = folder / "nested" / "prefs.json";
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
    fs::path file;
};

TEST_F(PreferencesTest, MissingFileMeansNoSettings)
{
    host::Preferences prefs(file);
    EXPECT_EQ(prefs.find(1019430), nullptr);
}

TEST_F(PreferencesTest, MergeKeepsOtherElementsAndEverythingPersists)
{
    {
        host::Preferences prefs(file);
        HostContainer settings;
        settings.setFilename(1000, "/opt/lumeno");
        settings.setFilename(1001, "/scenes/old.xml");
        settings.setReal(7, 0.01f);
        settings.setVector(8, {1, 2, 3});
        prefs.store(1019430, settings, false);

        HostContainer update;
        update.setFilename(1001, "/scenes/new.xml");
        prefs.store(1019430, update, true);
    }
    host::Preferences reread(file);
    const HostContainer* settings = reread.find(1019430);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->getFilename(1000), "/opt/lumeno");
    EXPECT_EQ(settings->getFilename(1001), "/scenes/new.xml");
    EXPECT_EQ(settings->getReal(7, 0), 0.01f); // the same 32-bit value after the round trip
    EXPECT_EQ(settings->getVector(8, {}), (HostVector{1, 2, 3}));

    // Without merge the container replaces the old one; no temporary file is left behind.
    HostContainer only;
    only.setInt(5, 1);
    reread.store(1019430, only, false);
    EXPECT_FALSE(host::Preferences(file).find(1019430)->has(1000));
    std::size_t entries = 0;
    for (const auto& entry : fs::directory_iterator(file.parent_path())) {
        ++entries;
        EXPECT_EQ(entry.path().filename(), "prefs.json");
    }
    EXPECT_EQ(entries, 1u);
}

TEST_F(PreferencesTest, MalformedFileIsAnErrorNamingTheFile)
{
    fs::create_directories(file.parent_path());
    for (const char* text : {"{ \"plugins\": { \"1019430\": ", "{\"plugins\": {\"abc\": {}}}",
                             "{\"plugins\": {\"1\": {\"1000\": {\"what\": 1}}}}"}) {
        std::ofstream(file) << text;
        host::Preferences prefs(file);
        try {
            prefs.find(1);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const host::HostError& e) {
            EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
        }
    }
}

TEST_F(PreferencesTest, RefusalsNameTheFileAndTheProblem)
{
    fs::create_directories(file.parent_path());
    std::string deep = "{\"plugins\": {\"1\": {\"1\": ";
    for (int i = 0; i < 20000; ++i) deep += "{\"container\": {\"1\": ";
    deep += "1" + std::string(20000 * 2 + 3, '}');
    const struct {
        std::string text;
        const char* problem;
    } cases[] = {
        {deep, "nest deeper than 2000 levels"},
        {"{\"plugins\": {\"1\": {\"7\": 1e300}}}", "plugins.1.7: the number 1e+300 does not fit a 32-bit real"},
        {"{\"plugins\": {\"1\": {\"7\": [0, 1e39, 0]}}}", "plugins.1.7[1]: the number"},
        {"{\"plugins\": {\"1\": {\"7\": 1e999}}}", "a number is too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        std::ofstream(file) << c.text;
        host::Preferences prefs(file);
        try {
            prefs.find(1);
            ADD_FAILURE() << "accepted";
        } catch (const host::HostError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind(file.string() + ": malformed preferences: ", 0), 0u) << message;
            EXPECT_NE(message.find(c.problem), std::string::npos) << message;
            EXPECT_EQ(message.find("json.exception"), std::string::npos) << message;
        }
    }
    // A folder is said to be one.
    host::Preferences folderPrefs(folder);
    try {
        folderPrefs.find(1);
        ADD_FAILURE() << "accepted a folder";
    } catch (const host::HostError& e) {
        EXPECT_NE(std::string(e.what()).find("it is a folder"), std::string::npos) << e.what();
    }
}

TEST_F(PreferencesTest, RewritingKeepsUnknownKeysAndALinkedFile)
{
    fs::create_directories(folder);
    const fs::path real = folder / "real.json";
    std::ofstream(real) << R"({"theme": {"dark": true}, "plugins": {"5": {"1": 2}}})";
    fs::create_symlink(real, folder / "link.json");
    const fs::path link = folder / "link.json";
    // A link planted at the old predictable temporary name is not followed.
    const fs::path victim = folder / "victim";
    std::ofstream(victim) << "untouched";
    fs::create_symlink(victim, link.string() + ".tmp." + std::to_string(::getpid()));
    host::Preferences prefs(link);
    HostContainer settings;
    settings.setInt(1, 1);
    prefs.store(7, settings, true);
    EXPECT_TRUE(fs::is_symlink(link));
    std::ifstream in(real);
    const nlohmann::json json = nlohmann::json::parse(in);
    EXPECT_EQ(json["theme"], nlohmann::json({{"dark", true}}));
    EXPECT_EQ(json["plugins"]["5"]["1"], 2);
    EXPECT_EQ(json["plugins"]["7"]["1"], 1);
    std::ifstream victimIn(victim);
    std::string kept;
    std::getline(victimIn, kept);
    EXPECT_EQ(kept, "untouched");
}

TEST_F(PreferencesTest, UnwritableFileLeavesTheSettingsUnchanged)
{
    fs::create_directories(folder);
    std::ofstream(folder / "blocker") << "a file where a folder is needed";
    host::Preferences prefs(folder / "blocker" / "prefs.json");
    HostContainer settings;
    settings.setInt(1, 1);
    EXPECT_THROW(prefs.store(1, settings, true), host::HostError);
    EXPECT_EQ(prefs.find(1), nullptr);
}

TEST_F(PreferencesTest, DefaultFileFollowsTheConfigurationFolder)
{
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    EXPECT_EQ(host::defaultPreferencesFile(), folder / "lumeno-host" / "prefs.json");
    if (old)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

} // namespace
