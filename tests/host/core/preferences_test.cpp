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
