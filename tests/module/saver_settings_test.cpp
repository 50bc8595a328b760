// The saver's persistent settings: element 1000 renderer folder, element 1001 last export file.
#include <string>

#include "export/lumeno_saver_data.h"
#include "frame/plugin_ids.h"
#include "host/model/document.h"
#include "host/settings/preferences.h"
#include "module_fixture.h"

namespace lumeno_test {
namespace {

class SaverSettingsTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        StartModule();
    }
    void StoreSetting(int32_t element, const std::string& path) {
        HostContainer settings;
        settings.setFilename(element, path);
        session().prefs().store(kLumenoSaverId, settings, true);
    }
    std::string Setting(int32_t element) {
        const HostContainer* settings = session().prefs().find(kLumenoSaverId);
        if (!settings) return "<no settings>";
        if (!settings->has(element)) return "<absent>";
        return settings->getFilename(element);
    }
};

TEST_F(SaverSettingsTest, InitialiseReadsTheRendererFolder) {
    StoreSetting(kSaverSettingRendererFolder, "/opt/lumeno");
    SaverHandle saver(session());
    EXPECT_STREQ(saver->rendererFolder, "/opt/lumeno");
}

TEST_F(SaverSettingsTest, WithoutSettingsTheFolderIsEmpty) {
    SaverHandle saver(session());
    EXPECT_STREQ(saver->rendererFolder, "");
    char buffer[64] = "stale";
    EXPECT_EQ(saver->ReadRendererFolder(buffer, sizeof buffer), buffer);
    EXPECT_STREQ(buffer, "");
}

TEST_F(SaverSettingsTest, ReadsAreCutToTheCallersBuffer) {
    StoreSetting(kSaverSettingRendererFolder, "/opt/lumeno");
    StoreSetting(kSaverSettingLastExportFile, "/scenes/a.xml");
    SaverHandle saver(session());
    char small[5];
    EXPECT_STREQ(saver->ReadRendererFolder(small, sizeof small), "/opt");
    EXPECT_STREQ(saver->rendererFolder, "/opt/lumeno");
    EXPECT_STREQ(saver->ReadLastExportFile(small, sizeof small), "/sce");
    EXPECT_STREQ(saver->lastExportFile, "/scenes/a.xml");
    char one[1];
    EXPECT_STREQ(saver->ReadLastExportFile(one, sizeof one), "");
}

TEST_F(SaverSettingsTest, ReadsFollowTheSettingsAsTheyChange) {
    SaverHandle saver(session());
    StoreSetting(kSaverSettingRendererFolder, "/first");
    char buffer[256];
    EXPECT_STREQ(saver->ReadRendererFolder(buffer, sizeof buffer), "/first");
    StoreSetting(kSaverSettingRendererFolder, "/second");
    EXPECT_STREQ(saver->ReadRendererFolder(buffer, sizeof buffer), "/second");
}

TEST_F(SaverSettingsTest, LongSettingIsCutTo1023CharactersAtACharacterBoundary) {
    // 1022 ASCII characters, then a two-byte character that does not fit, then more.
    StoreSetting(kSaverSettingRendererFolder, std::string(1022, 'a') + "\xC3\xA9" + "tail");
    SaverHandle saver(session());
    EXPECT_EQ(std::string(saver->rendererFolder), std::string(1022, 'a'));
    char big[4096];
    EXPECT_EQ(std::string(saver->ReadRendererFolder(big, sizeof big)), std::string(1022, 'a'));
}

TEST_F(SaverSettingsTest, StoringTheLastExportFileKeepsTheRendererFolder) {
    StoreSetting(kSaverSettingRendererFolder, "/opt/lumeno");
    SaverHandle saver(session());
    saver->commandOwned = true;
    saver->StoreLastExportFile("/scenes/b.xml");
    EXPECT_EQ(Setting(kSaverSettingRendererFolder), "/opt/lumeno");
    EXPECT_EQ(Setting(kSaverSettingLastExportFile), "/scenes/b.xml");

    // And so does the preferences file.
    host::Preferences reread(Temp("prefs.json"));
    const HostContainer* stored = reread.find(kLumenoSaverId);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->getFilename(kSaverSettingRendererFolder), "/opt/lumeno");
    EXPECT_EQ(stored->getFilename(kSaverSettingLastExportFile), "/scenes/b.xml");
}

TEST_F(SaverSettingsTest, SaverOwnedByACommandKeepsTheLastExportFile) {
    StoreSetting(kSaverSettingLastExportFile, "/scenes/kept.xml");
    {
        SaverHandle saver(session());
        saver->commandOwned = true;
    }
    EXPECT_EQ(Setting(kSaverSettingLastExportFile), "/scenes/kept.xml");
}

TEST_F(SaverSettingsTest, SaverOfTheHostForgetsTheLastExportFile) {
    StoreSetting(kSaverSettingRendererFolder, "/opt/lumeno");
    StoreSetting(kSaverSettingLastExportFile, "/scenes/old.xml");
    { SaverHandle saver(session()); }
    EXPECT_EQ(Setting(kSaverSettingLastExportFile), "");
    EXPECT_EQ(Setting(kSaverSettingRendererFolder), "/opt/lumeno");

    // The same after an export through the host's menu.
    StoreSetting(kSaverSettingLastExportFile, "/scenes/old.xml");
    host::NodePtr document = host::createDocument();
    ASSERT_EQ(session().saveWithSaver(kLumenoSaverId, document.get(), Temp("menu.xml")), FILE_RESULT_OK);
    EXPECT_EQ(Setting(kSaverSettingLastExportFile), "");
    EXPECT_EQ(Setting(kSaverSettingRendererFolder), "/opt/lumeno");
}

} // namespace
} // namespace lumeno_test
