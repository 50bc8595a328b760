// Whole saves through the registered saver: the camera and the render-settings tag's elements at
// the front of the scene, before the geometry, with the values the save read from the tag.
#include <fstream>
#include <iterator>
#include <string>

#include "frame/plugin_ids.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/plugins/plugin_tags.h"
#include "module_fixture.h"
#include "tags/lumeno_config_ids.h"

namespace lumeno_test {
namespace {

class SceneSettingsSaveTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        StartModule();
        document_ = host::createDocument();
        HostNode* holder = host::makeObject(*document_, TYPE_NULL, "Settings");
        tag_ = host::addPluginTag(session().registry(), *holder, kLumenoConfigId);
        camera_ = host::makeObject(*document_, TYPE_CAMERA, "Camera");
        camera_->local.off = {100, 200, 300};
        host::lookThroughObject(*document_, *camera_);
    }
    void TearDown() override {
        document_.reset();
        ModuleTest::TearDown();
    }
    /// A one-triangle polygon object with a material, so the save writes a mesh for it.
    void AddMeshObject() {
        HostNode* red = host::makeMaterial(*document_, "Red");
        HostNode* triangle = host::makeObject(*document_, TYPE_POLYGON_OBJECT, "Triangle");
        triangle->points = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}};
        triangle->polygons = {{0, 1, 2, 2}};
        host::makeTextureTag(*triangle, *red);
    }
    /// Saves to <temp>/scene.xml; answers the parsed file.
    std::unique_ptr<TiXmlDocument> SaveAndLoad(SaverHandle* saver = nullptr) {
        fs::path file = Temp("scene.xml");
        int32_t result = saver ? saver->Save(document_.get(), file)
                               : session().saveWithSaver(kLumenoSaverId, document_.get(), file);
        EXPECT_EQ(result, FILE_RESULT_OK);
        return LoadScene(file);
    }
    static std::string CameraValue(const TiXmlDocument& xml, const char* name) {
        return ChildText(SceneOf(xml)->FirstChildElement("camera"), name);
    }
    static std::string MultiplierComment(const TiXmlDocument& xml) {
        const TiXmlElement* camera = SceneOf(xml)->FirstChildElement("camera");
        const TiXmlNode* first = camera ? camera->FirstChild() : nullptr;
        return first && first->ToComment() ? first->Value() : "<none>";
    }

    host::NodePtr document_;
    HostNode* tag_ = nullptr;
    HostNode* camera_ = nullptr;
};

TEST_F(SceneSettingsSaveTest, CameraThenTheSettingsElementsThenTheMeshes) {
    HostNode* sun = host::makeObject(*document_, TYPE_LIGHT, "Sun");
    sun->local.off = {10, 20, 0};
    tag_->params.setBool(LCFG_RENDERER_SETTINGS, true);
    tag_->params.setBool(LCFG_TONEMAPPING, true);
    tag_->params.setLink(LCFG_SUN_OBJECT, sun);
    tag_->params.setFilename(LCFG_ENV_MAP_PATH, (Temp("maps") / "sky.hdr").string());
    AddMeshObject();

    auto xml = SaveAndLoad();
    ASSERT_NE(xml, nullptr);
    const std::string names = ChildNames(SceneOf(*xml));
    EXPECT_EQ(names.rfind("camera renderer_settings skylight background tonemapping env_map mesh ", 0), 0u)
        << names;
    // The map lies in a folder beside the scene file.
    const TiXmlElement* spherical = SceneOf(*xml)->FirstChildElement("env_map")->FirstChildElement("spherical");
    EXPECT_EQ(ChildText(spherical, "path"), "maps/sky.hdr");
    EXPECT_EQ(ChildText(SceneOf(*xml)->FirstChildElement("skylight"), "sundir"), "0.447214 0.000000 0.894427");
}

TEST_F(SceneSettingsSaveTest, SettingsMetAfterTheMeshesStillStandFirst) {
    // The meshes' elements are printed before the walk meets the tag; what it puts in front of
    // everything still stands there, and the file reads as one tree.
    AddMeshObject();
    AddMeshObject();
    HostNode* holder = tag_->owner();
    host::appendObject(*document_, holder->detach(), nullptr);
    tag_->params.setBool(LCFG_RENDERER_SETTINGS, true);

    auto xml = SaveAndLoad();
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(ChildNames(SceneOf(*xml)), "camera renderer_settings background mesh mesh material material material model model");
    std::ifstream in(Temp("scene.xml"));
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.find("\n\n"), std::string::npos) << text;
}

TEST_F(SceneSettingsSaveTest, TheFileIsTinyXmlsOwnPrintOfTheSceneItHolds) {
    // The scene's text goes into the file as it is made, after a head printed once the front is
    // complete; the file must still be exactly what printing the whole tree gives.
    const struct {
        bool settings, merged;
        int meshes;
        const char* names;
    } cases[] = {
        {true, false, 0, "camera renderer_settings background material"},
        {false, false, 0, "background camera material"},
        {true, false, 3, "camera renderer_settings background mesh mesh mesh material material material material model model model"},
        {false, false, 2, "background camera mesh mesh material material material model model"},
        {true, true, 2, "renderer_settings background camera mesh material material material model"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "settings " << c.settings << ", merged " << c.merged << ", meshes " << c.meshes);
        SetUp();
        tag_->params.setBool(LCFG_RENDERER_SETTINGS, true);
        tag_->params.setBool(LCFG_MERGED_MESH_EXPORT, c.merged);
        if (!c.settings) host::freeNode(tag_);
        for (int i = 0; i < c.meshes; ++i) AddMeshObject();
        auto xml = SaveAndLoad();
        ASSERT_NE(xml, nullptr);
        EXPECT_EQ(ChildNames(SceneOf(*xml)), c.names);
        std::ifstream in(Temp("scene.xml"), std::ios::binary);
        const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_TRUE(xml->SaveFile(Temp("reprinted.xml").string().c_str()));
        std::ifstream again(Temp("reprinted.xml"), std::ios::binary);
        EXPECT_EQ(written, std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()));
        TearDown();
    }
    SetUp(); // for the fixture's own TearDown
}

TEST_F(SceneSettingsSaveTest, CameraCarriesTheValuesOfTheTag) {
    tag_->params.setReal(LCFG_APERTURE_RADIUS, 0.002f);
    tag_->params.setReal(LCFG_ASPECT_RATIO, 1.5f);
    tag_->params.setInt(LCFG_WHITE_BALANCE, LCFG_WHITE_BALANCE_9300);
    tag_->params.setReal(LCFG_POS_SIZE_MULTIPLIER, 0.1f);
    auto xml = SaveAndLoad();
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(MultiplierComment(*xml), "Global Pos/Size Multiplier: 0.100000");
    EXPECT_EQ(CameraValue(*xml, "pos"), "10.000000 30.000000 20.000000");
    EXPECT_EQ(CameraValue(*xml, "aperture_radius"), "0.002000");
    EXPECT_EQ(CameraValue(*xml, "aspect_ratio"), "1.500000");
    EXPECT_EQ(CameraValue(*xml, "white_balance"), "9300");
}

TEST_F(SceneSettingsSaveTest, FreshTagAndTagWithoutValuesDifferInTheCameraExtras) {
    auto fresh = SaveAndLoad();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(CameraValue(*fresh, "aperture_radius"), "0.001000");
    EXPECT_EQ(CameraValue(*fresh, "white_balance"), "D65");

    tag_->params.elements.clear();
    auto lacking = SaveAndLoad();
    ASSERT_NE(lacking, nullptr);
    EXPECT_EQ(CameraValue(*lacking, "aperture_radius"), "0.000100");
    EXPECT_EQ(CameraValue(*lacking, "aspect_ratio"), "1.330000");
    EXPECT_EQ(MultiplierComment(*lacking), "Global Pos/Size Multiplier: 0.010000");
    EXPECT_EQ(ChildText(SceneOf(*lacking)->FirstChildElement("background"), "radiance"),
              "0.000000 0.200000 0.200000");
}

TEST_F(SceneSettingsSaveTest, SecondSaveWithOneInstanceWritesCameraAndSettingsAgain) {
    tag_->params.setBool(LCFG_RENDERER_SETTINGS, true);
    SaverHandle saver(session());
    for (int save = 0; save < 2; ++save) {
        SCOPED_TRACE(save);
        auto xml = SaveAndLoad(&saver);
        ASSERT_NE(xml, nullptr);
        EXPECT_EQ(ChildNames(SceneOf(*xml)), "camera renderer_settings background material");
    }
}

TEST_F(SceneSettingsSaveTest, EmptyDocumentStillGetsTheCameraOfItsView) {
    host::NodePtr empty = host::createDocument();
    ASSERT_EQ(session().saveWithSaver(kLumenoSaverId, empty.get(), Temp("empty.xml")), FILE_RESULT_OK);
    auto xml = LoadScene(Temp("empty.xml"));
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(ChildNames(SceneOf(*xml)), "background camera material");
    // The editor camera of a new document's view, 1000 units behind the origin.
    EXPECT_EQ(CameraValue(*xml, "pos"), "0.000000 -10.000000 0.000000");

    host::removeView(*empty);
    ASSERT_EQ(session().saveWithSaver(kLumenoSaverId, empty.get(), Temp("empty.xml")), FILE_RESULT_OK);
    xml = LoadScene(Temp("empty.xml"));
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(ChildNames(SceneOf(*xml)), "background material");
}

} // namespace
} // namespace lumeno_test
