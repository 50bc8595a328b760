// lumeno-host export of documents with a render-settings tag and a camera, with the real module
// of each release: the elements at the front of the scene and their values.
#include <tinyxml.h>

#include "e2e_fixture.h"

namespace e2e {
namespace {

std::string childText(const TiXmlElement* element, const char* name) {
    const TiXmlElement* child = element ? element->FirstChildElement(name) : nullptr;
    return child && child->GetText() ? child->GetText() : "<missing>";
}

std::string childNames(const TiXmlElement* element) {
    std::string names;
    for (const TiXmlElement* child = element ? element->FirstChildElement() : nullptr; child;
         child = child->NextSiblingElement())
        names += (names.empty() ? "" : " ") + std::string(child->Value());
    return names;
}

class SettingsCameraExportTest : public HostCommandTest {
protected:
    /// Exports a document to <folder>/scene.xml and answers the parsed `scene`, or none.
    const TiXmlElement* exportScene(const std::string& document) {
        auto input = writeFile("doc.json", document);
        auto output = folder / "scene.xml";
        RunResult result = run({"export", input.string(), "-o", output.string()});
        EXPECT_EQ(result.status, 0) << result.err;
        if (result.status != 0) return nullptr;
        xml = TiXmlDocument();
        xml.Parse(readFile(output).c_str(), nullptr, TIXML_ENCODING_LEGACY);
        EXPECT_FALSE(xml.Error()) << xml.ErrorDesc();
        return xml.RootElement();
    }
    /// A document with one render-settings tag holding `params` (a JSON object's members) and a
    /// camera at (100, 200, 300) that the view looks through.
    static std::string tagged(const std::string& params, const std::string& moreObjects = "") {
        return R"({"view": {"camera": "Camera"}, "objects": [
            {"type": "null", "name": "Settings", "tags": [{"type": "Lumeno Render Settings", "params": {)" +
               params + R"(}}]},
            {"type": "camera", "name": "Camera", "position": [100, 200, 300]})" +
               moreObjects + "]}";
    }

    TiXmlDocument xml;
};

TEST_P(SettingsCameraExportTest, SceneBeginsWithCameraAndSettingsInTheirOrderThenTheMeshes) {
    const std::string map = (folder / "maps" / "sky.hdr").string();
    const TiXmlElement* scene = exportScene(
        R"({"view": {"camera": "Camera"},
            "materials": [{"name": "Red"}],
            "objects": [
              {"type": "null", "name": "Settings", "tags": [{"type": 10000, "params": {
                 "LCFG_RENDERER_SETTINGS": true, "LCFG_TONEMAPPING": true,
                 "LCFG_TONEMAPPING_TYPE": "LCFG_TONEMAPPING_REINHARD", "LCFG_POST_SCALE": 0.5,
                 "LCFG_SUN_OBJECT": {"object": "Sun"},
                 "LCFG_ENV_MAP_PATH": {"file": ")" + map + R"("}}}]},
              {"type": "light", "name": "Sun", "position": [10, 20, 0]},
              {"type": "camera", "name": "Camera", "position": [100, 200, 300]},
              {"type": "polygon", "name": "Triangle", "points": [[0, 0, 0], [100, 0, 0], [0, 100, 0]],
               "polygons": [[0, 1, 2]], "tags": [{"type": "texture", "material": "Red"}]}]})");
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(childNames(scene).rfind("camera renderer_settings skylight background tonemapping env_map mesh ", 0), 0u)
        << childNames(scene);
    EXPECT_EQ(childText(scene->FirstChildElement("skylight"), "sundir"), "0.447214 0.000000 0.894427");
    const TiXmlElement* reinhard = scene->FirstChildElement("tonemapping")->FirstChildElement("reinhard");
    EXPECT_EQ(childText(reinhard, "pre_scale"), "1.000000");
    EXPECT_EQ(childText(reinhard, "post_scale"), "0.500000");
    const TiXmlElement* spherical = scene->FirstChildElement("env_map")->FirstChildElement("spherical");
    EXPECT_EQ(childText(spherical, "path"), "maps/sky.hdr");
    EXPECT_EQ(childText(spherical, "width"), "640");
    EXPECT_EQ(childText(scene->FirstChildElement("renderer_settings"), "halt_time"), "-1");
}

TEST_P(SettingsCameraExportTest, CameraWorkedExample) {
    const TiXmlElement* scene = exportScene(tagged(""));
    ASSERT_NE(scene, nullptr);
    const TiXmlElement* camera = scene->FirstChildElement("camera");
    ASSERT_NE(camera, nullptr);
    ASSERT_NE(camera->FirstChild()->ToComment(), nullptr);
    EXPECT_STREQ(camera->FirstChild()->Value(), "Global Pos/Size Multiplier: 0.010000");
    EXPECT_EQ(childText(camera, "pos"), "1.000000 3.000000 2.000000");
    EXPECT_EQ(childText(camera, "up"), "0.000000 0.000000 1.000000");
    EXPECT_EQ(childText(camera, "forwards"), "0.000000 1.000000 0.000000");
    EXPECT_EQ(childText(camera, "sensor_width"), "0.036000");
    EXPECT_EQ(childText(camera, "lens_sensor_dist"), "0.036000");
    EXPECT_EQ(childText(camera, "focus_distance"), "20.000000");
    // The tag's creation values, not the fallbacks of a state without a tag.
    EXPECT_EQ(childText(camera, "aperture_radius"), "0.001000");
    EXPECT_EQ(childText(camera, "aspect_ratio"), "1.330000");
    EXPECT_EQ(childText(camera, "white_balance"), "D65");
}

TEST_P(SettingsCameraExportTest, FieldOfViewZeroGivesAFiniteLens) {
    const TiXmlElement* scene = exportScene(
        R"({"view": {"editor": {"position": [0, 0, -1000], "params": {"CAMERA_FIELD_OF_VIEW": 0.0}}}})");
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(childText(scene->FirstChildElement("camera"), "lens_sensor_dist"), "0.036000");
}

TEST_P(SettingsCameraExportTest, TargetTagsDecideTheFocusDistance) {
    const std::string objects = R"(,
        {"type": "null", "name": "Near", "position": [100, 200, 400]},
        {"type": "null", "name": "Far", "position": [100, 200, 800]})";
    struct Case {
        const char* tags;
        const char* focus;
    };
    const Case cases[] = {
        {R"([{"type": "camera-target", "target": "Far"}])", "5.000000"},
        {R"([{"type": "camera-target", "target": "Far"}, {"type": "camera-target", "target": "Near"}])", "1.000000"},
        {R"([{"type": "camera-target", "target": "Far"}, {"type": "camera-target"}])", "5.000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tags);
        const TiXmlElement* scene = exportScene(
            R"({"view": {"camera": "Camera"}, "objects": [
                {"type": "camera", "name": "Camera", "position": [100, 200, 300],
                 "params": {"CAMERA_FOCUS_DISTANCE": 1234.0}, "tags": )" +
            std::string(c.tags) + "}" + objects + "]}");
        ASSERT_NE(scene, nullptr);
        EXPECT_EQ(childText(scene->FirstChildElement("camera"), "focus_distance"), c.focus);
    }
}

TEST_P(SettingsCameraExportTest, TagLackingValuesExportsTheFallbacks) {
    const TiXmlElement* scene = exportScene(tagged(R"("LCFG_RENDERER_SETTINGS": true, "LCFG_HALT_TIME": null,
        "LCFG_MAX_NUM_CONSEC_REJECTIONS": null, "LCFG_LOGGING": null, "LCFG_APERTURE_RADIUS": null,
        "LCFG_BACKGROUND_RADIANCE": null)"));
    ASSERT_NE(scene, nullptr);
    const TiXmlElement* settings = scene->FirstChildElement("renderer_settings");
    EXPECT_EQ(childText(settings, "halt_time"), "20");
    EXPECT_EQ(childText(settings, "max_num_consec_rejections"), "20");
    EXPECT_EQ(childText(settings, "logging"), "false");
    EXPECT_EQ(childText(scene->FirstChildElement("camera"), "aperture_radius"), "0.000100");
    EXPECT_EQ(childText(scene->FirstChildElement("background"), "radiance"), "0.000000 0.200000 0.200000");
}

TEST_P(SettingsCameraExportTest, MultiplierAndWhiteBalanceOfTheTagReachTheCamera) {
    struct Case {
        const char* params;
        const char* comment;
        const char* whiteBalance;
    };
    const Case cases[] = {
        {R"("LCFG_POS_SIZE_MULTIPLIER": 0.0, "LCFG_WHITE_BALANCE": 3009)", "Global Pos/Size Multiplier: 1.000000", "9300"},
        {R"("LCFG_POS_SIZE_MULTIPLIER": -5.0, "LCFG_WHITE_BALANCE": 3012)", "Global Pos/Size Multiplier: 1.000000", "F11"},
        {R"("LCFG_POS_SIZE_MULTIPLIER": 0.1, "LCFG_WHITE_BALANCE": 3013)", "Global Pos/Size Multiplier: 0.100000", "D65"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        const TiXmlElement* scene = exportScene(tagged(c.params));
        ASSERT_NE(scene, nullptr);
        const TiXmlElement* camera = scene->FirstChildElement("camera");
        ASSERT_NE(camera, nullptr);
        EXPECT_STREQ(camera->FirstChild()->Value(), c.comment);
        EXPECT_EQ(childText(camera, "white_balance"), c.whiteBalance);
    }
}

TEST_P(SettingsCameraExportTest, EnvironmentMapBesideTheOutputFolderKeepsItsFullPath) {
    // "<folder>2/sky.hdr" begins with the output folder's text but is not inside it.
    const std::string beside = folder.string() + "2/sky.hdr";
    const std::string inside = (folder / "sky.hdr").string();
    for (const auto& [file, written] : {std::pair{beside, beside}, std::pair{inside, std::string("sky.hdr")}}) {
        SCOPED_TRACE(file);
        const TiXmlElement* scene = exportScene(tagged(R"("LCFG_ENV_MAP_TYPE": "LCFG_ENV_MAP_LATLONG",
            "LCFG_ENV_MAP_PATH": {"file": ")" + file + R"("})"));
        ASSERT_NE(scene, nullptr);
        const TiXmlElement* latlong = scene->FirstChildElement("env_map")->FirstChildElement("latlong");
        EXPECT_EQ(childNames(latlong), "path gain");
        EXPECT_EQ(childText(latlong, "path"), written);
    }
}

TEST_P(SettingsCameraExportTest, FirstTagInPreOrderWinsForSettingsAndCamera) {
    const TiXmlElement* scene = exportScene(R"({"view": {"camera": "Camera"}, "objects": [
        {"type": "null", "name": "First", "children": [
          {"type": "null", "name": "Child", "tags": [{"type": 10000, "params": {
             "LCFG_RENDERER_SETTINGS": true, "LCFG_WIDTH": 111, "LCFG_WHITE_BALANCE": 3001}}]}]},
        {"type": "null", "name": "Second", "tags": [{"type": 10000, "params": {
             "LCFG_RENDERER_SETTINGS": true, "LCFG_WIDTH": 222, "LCFG_WHITE_BALANCE": 3002}}]},
        {"type": "camera", "name": "Camera"}]})");
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(childText(scene->FirstChildElement("renderer_settings"), "width"), "111");
    EXPECT_EQ(childText(scene->FirstChildElement("camera"), "white_balance"), "E");
}

INSTANTIATE_TEST_SUITE_P(BothReleases, SettingsCameraExportTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
