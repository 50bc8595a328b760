// What start registers, in which order, and how a missing icon or string table ends it.
#include <fstream>
#include <string>

#include "frame/host_text.h"
#include "frame/module_strings.h"
#include "frame/plugin_ids.h"
#include "host/plugins/registry.h"
#include "module_fixture.h"

namespace lumeno_test {
namespace {

class RegistrationTest : public ModuleTest {
protected:
    /// A copy of the module folder that a test may damage.
    fs::path CopyModuleFolder() {
        fs::path copy = Temp("LumenoExporter");
        fs::copy(ModuleFolder(), copy, fs::copy_options::recursive);
        return copy;
    }
    std::string RegisteredIds() {
        std::string ids;
        for (const host::RegisteredPlugin* plugin : session().registry().list())
            ids += (ids.empty() ? "" : " ") + std::to_string(plugin->id);
        return ids;
    }
    static std::string ModuleString(int32_t id) {
        char buffer[256];
        HostText(GetModuleString(id)).ToBuffer(buffer, sizeof buffer);
        return buffer;
    }
};

TEST_F(RegistrationTest, StartRegistersTheSaverAndBothTagsInOrder) {
    StartModule();
    EXPECT_EQ(RegisteredIds(), "1019430 10000 1019468 1019434 10004 10005 10008");

    const host::RegisteredPlugin* saver = session().registry().find(kLumenoSaverId);
    ASSERT_NE(saver, nullptr);
    EXPECT_EQ(saver->kind, PLUGIN_KIND_SCENE_SAVER);
    EXPECT_EQ(saver->flags, 0);
    EXPECT_EQ(saver->suffix, "xml");
    EXPECT_EQ(saver->description, "Flumenofilter");
    EXPECT_FALSE(saver->name.empty());
    EXPECT_EQ(saver->name, ModuleString(kStringSaverName));

    const host::RegisteredPlugin* config = session().registry().find(kLumenoConfigId);
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(config->kind, PLUGIN_KIND_TAG);
    EXPECT_EQ(config->flags, 1);
    EXPECT_EQ(config->description, "Tlumenoconfig");
    EXPECT_TRUE(config->hasIcon);
    EXPECT_EQ(config->name, ModuleString(kStringConfigName));

    const host::RegisteredPlugin* objectTag = session().registry().find(kLumenoGenericObjTagId);
    ASSERT_NE(objectTag, nullptr);
    EXPECT_EQ(objectTag->kind, PLUGIN_KIND_TAG);
    EXPECT_EQ(objectTag->flags, 1);
    EXPECT_EQ(objectTag->description, "Tlumenogenericobjtag");
    EXPECT_TRUE(objectTag->hasIcon);
    EXPECT_EQ(objectTag->name, ModuleString(kStringGenericObjTagName));

    const host::RegisteredPlugin* lightTag = session().registry().find(kLumenoLightTagId);
    ASSERT_NE(lightTag, nullptr);
    EXPECT_EQ(lightTag->kind, PLUGIN_KIND_TAG);
    EXPECT_EQ(lightTag->flags, 1);
    EXPECT_EQ(lightTag->description, "Tlumenolighttag");
    EXPECT_TRUE(lightTag->hasIcon);
    EXPECT_EQ(lightTag->name, ModuleString(kStringLightTagName));
}

TEST_F(RegistrationTest, MissingIconFailsStartAfterTheEarlierRegistrations) {
    fs::path folder = CopyModuleFolder();
    ASSERT_TRUE(fs::remove(folder / "res" / "lumenogenericobjtag.tif"));
    NewSession(HOST_INTERFACE_VERSION, folder);
    EXPECT_EQ(session().startModule(), C4D_RESULT_FAILED);
    EXPECT_EQ(RegisteredIds(), "1019430 10000 1019468 1019434 10004");
}

TEST_F(RegistrationTest, MissingLightTagIconFailsStartBeforeTheObjectTag) {
    fs::path folder = CopyModuleFolder();
    ASSERT_TRUE(fs::remove(folder / "res" / "lumenolighttag.tif"));
    NewSession(HOST_INTERFACE_VERSION, folder);
    EXPECT_EQ(session().startModule(), C4D_RESULT_FAILED);
    EXPECT_EQ(RegisteredIds(), "1019430 10000 1019468 1019434");
}

TEST_F(RegistrationTest, BrokenIconFailsItsRegistration) {
    fs::path folder = CopyModuleFolder();
    std::ofstream(folder / "res" / "lumenoconfig.tif", std::ios::trunc) << "not an image";
    NewSession(HOST_INTERFACE_VERSION, folder);
    EXPECT_EQ(session().startModule(), C4D_RESULT_FAILED);
    EXPECT_EQ(RegisteredIds(), "1019430");
}

TEST_F(RegistrationTest, WithoutStringTablesNothingNamedIsRegisteredAndStartSucceeds) {
    fs::path folder = CopyModuleFolder();
    fs::remove_all(folder / "res" / "strings");
    NewSession(HOST_INTERFACE_VERSION, folder);
    EXPECT_EQ(session().init(), C4D_RESULT_OK);
    EXPECT_EQ(session().message(C4D_MSG_LOAD_STRINGS), C4D_RESULT_REFUSED);
    EXPECT_EQ(session().start(), C4D_RESULT_OK);
    // Commands register even without a name.
    EXPECT_EQ(RegisteredIds(), "1019468 1019434");
}

} // namespace
} // namespace lumeno_test

namespace lumeno_test {
namespace {

TEST_F(RegistrationTest, TheMaterialHelperTagComesLastAndItsMissingIconFailsStart) {
    StartModule();
    const host::RegisteredPlugin* helper = session().registry().find(kLumenoMaterialHelperTagId);
    ASSERT_NE(helper, nullptr);
    EXPECT_EQ(helper->kind, PLUGIN_KIND_TAG);
    EXPECT_EQ(helper->flags, 3);
    EXPECT_EQ(helper->description, "Tlumenomaterialhelpertag");
    EXPECT_EQ(helper->name, ModuleString(kStringMaterialHelperTagName));

    fs::path folder = CopyModuleFolder();
    ASSERT_TRUE(fs::remove(folder / "res" / "lumenomaterialhelpertag.tif"));
    NewSession(HOST_INTERFACE_VERSION, folder);
    EXPECT_EQ(session().startModule(), C4D_RESULT_FAILED);
    EXPECT_EQ(RegisteredIds(), "1019430 10000 1019468 1019434 10004 10005");
}

} // namespace
} // namespace lumeno_test
