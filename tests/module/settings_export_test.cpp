// The scene-wide elements of the render-settings tag: which are written, in which order, with
// which values, for fresh tags, tags lacking values and edited tags.
#include <functional>
#include <vector>

#include "export/render_settings_read.h"
#include "export/settings_export.h"
#include "export/xml_helpers.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "section_fixture.h"
#include "tags/lumeno_config_ids.h"

namespace lumeno_test {
namespace {

/// The texts of an element's child elements, in order, separated by ", ".
std::string ChildTexts(const TiXmlElement* parent) {
    std::string texts;
    for (const TiXmlElement* child = parent ? parent->FirstChildElement() : nullptr; child;
         child = child->NextSiblingElement()) {
        texts += texts.empty() ? "" : ", ";
        texts += child->GetText() ? child->GetText() : "";
    }
    return texts;
}

class SettingsExportTest : public SectionTest {
protected:
    void SetUp() override {
        SectionTest::SetUp();
        holder_ = host::makeObject(*document_, TYPE_NULL, "Settings");
        tag_ = ConfigTag(*holder_);
    }
    void Export() { ExportRenderSettings(context_, host::firstObject(*document_)); }
    HostContainer& Params() { return tag_->params; }

    HostNode* holder_ = nullptr;
    HostNode* tag_ = nullptr;
};

TEST_F(SettingsExportTest, FreshTagWritesOnlyABlackBackground) {
    Export();
    EXPECT_EQ(SceneChildren(), "background");
    EXPECT_EQ(ChildText(SceneChild("background"), "radiance"), "0.000000 0.000000 0.000000");
    EXPECT_TRUE(saver_.settingsWritten);
}

TEST_F(SettingsExportTest, EverythingSwitchedOnGivesTheFullTreeInFrontOfTheScene) {
    AddTextChild(scene_, "mesh", "already there");
    HostNode* sun = host::makeObject(*document_, TYPE_LIGHT, "Sun");
    sun->local.off = {10, 20, 0};
    Params().setBool(LCFG_RENDERER_SETTINGS, true);
    Params().setBool(LCFG_TONEMAPPING, true);
    Params().setLink(LCFG_SUN_OBJECT, sun);
    Params().setFilename(LCFG_ENV_MAP_PATH, "/scenes/maps/sky.hdr");
    Export();

    EXPECT_EQ(SceneChildren(), "renderer_settings skylight background tonemapping env_map mesh");
    const TiXmlElement* settings = SceneChild("renderer_settings");
    EXPECT_EQ(ChildNames(settings),
              "width height metropolis bidirectional large_mutation_prob max_change "
              "russian_roulette_live_prob max_depth strata_width logging image_save_period "
              "save_tonemapped_exr save_untonemapped_exr max_num_consec_rejections "
              "frame_upload_period halt_time");
    // The creation values: halt time -1 (run until stopped), logging on, 1000 rejections.
    EXPECT_EQ(ChildTexts(settings), "600, 450, true, true, 0.200000, 0.025000, 0.700000, 1000, 14, "
                                    "true, 20, false, false, 1000, 20, -1");
    const TiXmlElement* sky = SceneChild("skylight");
    EXPECT_EQ(ChildNames(sky), "sundir turbidity sky_gain");
    EXPECT_EQ(ChildTexts(sky), "0.447214 0.000000 0.894427, 2.000000, 0.005000");
    EXPECT_EQ(ChildText(SceneChild("background"), "radiance"), "0.000000 0.000000 0.000000");
    const TiXmlElement* toneMapping = SceneChild("tonemapping");
    EXPECT_EQ(ChildNames(toneMapping), "linear");
    EXPECT_EQ(ChildText(toneMapping->FirstChildElement("linear"), "scale"), "1.000000");
    const TiXmlElement* envMap = SceneChild("env_map");
    EXPECT_EQ(ChildNames(envMap), "spherical");
    EXPECT_EQ(ChildNames(envMap->FirstChildElement("spherical")), "path width gain");
    EXPECT_EQ(ChildTexts(envMap->FirstChildElement("spherical")), "maps/sky.hdr, 640, 1.000000");
}

TEST_F(SettingsExportTest, TagLackingItsValuesExportsTheFallbacks) {
    // A tag stored before these parameters existed: the export's fallbacks differ from the
    // creation values for halt time, rejections, logging, background and the two choices.
    Params().elements.clear();
    Params().setBool(LCFG_RENDERER_SETTINGS, true);
    Params().setBool(LCFG_TONEMAPPING, true);
    Params().setFilename(LCFG_ENV_MAP_PATH, "/maps/sky.hdr");
    Export();

    EXPECT_EQ(SceneChildren(), "renderer_settings background tonemapping env_map");
    EXPECT_EQ(ChildTexts(SceneChild("renderer_settings")),
              "600, 450, true, true, 0.200000, 0.025000, 0.700000, 1000, 14, false, 20, false, false, "
              "20, 20, 20");
    EXPECT_EQ(ChildText(SceneChild("background"), "radiance"), "0.000000 0.200000 0.200000");
    EXPECT_EQ(ChildNames(SceneChild("tonemapping")), "linear");
    // Without a type the map is latlong, which has no width.
    const TiXmlElement* latlong = SceneChild("env_map")->FirstChildElement("latlong");
    ASSERT_NE(latlong, nullptr);
    EXPECT_EQ(ChildNames(latlong), "path gain");
    EXPECT_EQ(ChildTexts(latlong), "/maps/sky.hdr, 1.000000");
}

TEST_F(SettingsExportTest, EditedValuesAreWrittenInTheirForms) {
    Params().setBool(LCFG_RENDERER_SETTINGS, true);
    Params().setInt(LCFG_WIDTH, 1920);
    Params().setBool(LCFG_METROPOLIS, false);
    Params().setReal(LCFG_MAX_CHANGE, 0.0001f);
    Params().setInt(LCFG_HALT_TIME, 3600);
    Params().setVector(LCFG_BACKGROUND_RADIANCE, {0.8f, 0.2f, 0.1f});
    Export();
    const TiXmlElement* settings = SceneChild("renderer_settings");
    EXPECT_EQ(ChildText(settings, "width"), "1920");
    EXPECT_EQ(ChildText(settings, "metropolis"), "false");
    EXPECT_EQ(ChildText(settings, "max_change"), "0.000100");
    EXPECT_EQ(ChildText(settings, "halt_time"), "3600");
    // Colours keep the order x, y, z.
    EXPECT_EQ(ChildText(SceneChild("background"), "radiance"), "0.800000 0.200000 0.100000");
}

TEST_F(SettingsExportTest, ReinhardWritesPreAndPostScaleAndOtherCodesAreLinear) {
    Params().setBool(LCFG_TONEMAPPING, true);
    Params().setInt(LCFG_TONEMAPPING_TYPE, LCFG_TONEMAPPING_REINHARD);
    Params().setReal(LCFG_TONEMAPPING_SCALE, 2.5f);
    Params().setReal(LCFG_POST_SCALE, 0.5f);
    Export();
    const TiXmlElement* reinhard = SceneChild("tonemapping")->FirstChildElement("reinhard");
    ASSERT_NE(reinhard, nullptr);
    EXPECT_EQ(ChildNames(reinhard), "pre_scale post_scale");
    EXPECT_EQ(ChildTexts(reinhard), "2.500000, 0.500000");

    scene_->Clear();
    saver_.settingsWritten = false;
    Params().setInt(LCFG_TONEMAPPING_TYPE, 1099);
    Export();
    const TiXmlElement* linear = SceneChild("tonemapping")->FirstChildElement("linear");
    ASSERT_NE(linear, nullptr);
    EXPECT_EQ(ChildTexts(linear), "2.500000");
}

TEST_F(SettingsExportTest, SwitchedOffSectionsAreLeftOutWhateverTheirValues) {
    Params().setInt(LCFG_TONEMAPPING_TYPE, LCFG_TONEMAPPING_REINHARD);
    Params().setInt(LCFG_WIDTH, 1920);
    Params().setFilename(LCFG_ENV_MAP_PATH, "");
    Export();
    EXPECT_EQ(SceneChildren(), "background");
}

TEST_F(SettingsExportTest, SunDirectionIsTheSunsWorldPositionAsAUnitVector) {
    // The sun's parent moves it: its world position is (10, 20, 0).
    HostNode* rig = host::makeObject(*document_, TYPE_NULL, "Rig");
    rig->local.off = {10, 0, 0};
    HostNode* sun = host::makeObject(*document_, TYPE_LIGHT, "Sun", rig);
    sun->local.off = {0, 20, 0};
    Params().setLink(LCFG_SUN_OBJECT, sun);
    Params().setReal(LCFG_TURBIDITY, 3.0f);
    Export();
    EXPECT_EQ(ChildText(SceneChild("skylight"), "sundir"), "0.447214 0.000000 0.894427");
    EXPECT_EQ(ChildText(SceneChild("skylight"), "turbidity"), "3.000000");
}

TEST_F(SettingsExportTest, SunLinkToNothingUsableWritesNoSky) {
    struct Case {
        const char* what;
        std::function<void()> link;
    };
    host::NodePtr other = host::createDocument();
    HostNode* foreignSun = host::makeObject(*other, TYPE_LIGHT, "Sun elsewhere");
    HostNode* material = host::makeMaterial(*document_, "Red");
    const Case cases[] = {
        {"empty link", [&] { Params().setLink(LCFG_SUN_OBJECT, nullptr); }},
        {"material, not an object", [&] { Params().setLink(LCFG_SUN_OBJECT, material); }},
        {"tag, not an object", [&] { Params().setLink(LCFG_SUN_OBJECT, tag_); }},
        {"object of another document", [&] { Params().setLink(LCFG_SUN_OBJECT, foreignSun); }},
        {"deleted object",
         [&] {
             HostNode* gone = host::makeObject(*document_, TYPE_LIGHT, "Gone");
             Params().setLink(LCFG_SUN_OBJECT, gone);
             host::freeNode(gone);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scene_->Clear();
        saver_.settingsWritten = false;
        c.link();
        Export();
        EXPECT_EQ(SceneChildren(), "background");
    }
}

TEST_F(SettingsExportTest, EnvironmentMapInsideTheOutputFolderIsWrittenRelative) {
    SetOutputFolder("/scenes");
    struct Case {
        const char* file;
        const char* written;
    };
    const Case cases[] = {
        {"/scenes/maps/sky.hdr", "maps/sky.hdr"},
        {"/scenes/sky.hdr", "sky.hdr"},
        // Beside the folder, not in it: the name merely begins with the folder's text.
        {"/scenes2/sky.hdr", "/scenes2/sky.hdr"},
        {"/elsewhere/sky.hdr", "/elsewhere/sky.hdr"},
        {"/scenes", "/scenes"},
        {"sky.hdr", "sky.hdr"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        scene_->Clear();
        saver_.settingsWritten = false;
        Params().setFilename(LCFG_ENV_MAP_PATH, c.file);
        Export();
        const TiXmlElement* spherical = SceneChild("env_map")->FirstChildElement("spherical");
        ASSERT_NE(spherical, nullptr);
        EXPECT_EQ(ChildText(spherical, "path"), c.written);
    }
}

TEST(EnvMapPathText, WindowsFoldersAreComparedUpToTheirSeparator) {
    EXPECT_STREQ(EnvMapPathText("C:\\scenes\\maps\\sky.hdr", "C:\\scenes"), "maps\\sky.hdr");
    EXPECT_STREQ(EnvMapPathText("C:\\scenes2\\sky.hdr", "C:\\scenes"), "C:\\scenes2\\sky.hdr");
    EXPECT_STREQ(EnvMapPathText("D:\\maps\\sky.hdr", "C:\\scenes"), "D:\\maps\\sky.hdr");
    EXPECT_STREQ(EnvMapPathText("C:\\scenes", "C:\\scenes"), "C:\\scenes");
    EXPECT_STREQ(EnvMapPathText("C:\\scenes\\", "C:\\scenes"), "C:\\scenes\\");
    // A folder at a drive's root ends in its separator.
    EXPECT_STREQ(EnvMapPathText("C:\\sky.hdr", "C:\\"), "sky.hdr");
    EXPECT_STREQ(EnvMapPathText("/sky.hdr", "/"), "sky.hdr");
    EXPECT_STREQ(EnvMapPathText("/sky.hdr", ""), "/sky.hdr");
}

TEST_F(SettingsExportTest, LatlongMapWritesPathAndGainOnly) {
    Params().setFilename(LCFG_ENV_MAP_PATH, "/scenes/sky.hdr");
    Params().setInt(LCFG_ENV_MAP_TYPE, LCFG_ENV_MAP_LATLONG);
    Params().setInt(LCFG_ENV_MAP_WIDTH, 2048);
    Params().setReal(LCFG_ENV_MAP_GAIN, 4.0f);
    Export();
    const TiXmlElement* envMap = SceneChild("env_map");
    EXPECT_EQ(ChildNames(envMap), "latlong");
    EXPECT_EQ(ChildTexts(envMap->FirstChildElement("latlong")), "sky.hdr, 4.000000");

    scene_->Clear();
    saver_.settingsWritten = false;
    Params().setInt(LCFG_ENV_MAP_TYPE, LCFG_ENV_MAP_SPHERICAL);
    Export();
    EXPECT_EQ(ChildTexts(SceneChild("env_map")->FirstChildElement("spherical")), "sky.hdr, 2048, 4.000000");
}

TEST_F(SettingsExportTest, MapNameTooLongForItsBufferIsLeftOutRatherThanCut) {
    Params().setFilename(LCFG_ENV_MAP_PATH, "/maps/" + std::string(600, 'a') + ".hdr");
    Export();
    EXPECT_EQ(SceneChildren(), "background");
    EXPECT_TRUE(saver_.settingsWritten);
}

TEST_F(SettingsExportTest, FirstTagInPreOrderIsExportedAndTheSameTagFeedsTheCameraValues) {
    // Tags on: a grandchild of the third top-level object, then the fourth top-level object.
    HostNode* second = host::makeObject(*document_, TYPE_NULL, "Second");
    HostNode* third = host::makeObject(*document_, TYPE_NULL, "Third");
    host::makeObject(*document_, TYPE_NULL, "Child", second);
    HostNode* child = host::makeObject(*document_, TYPE_NULL, "Child", third);
    HostNode* grandchild = host::makeObject(*document_, TYPE_NULL, "Grandchild", child);
    HostNode* fourth = host::makeObject(*document_, TYPE_NULL, "Fourth");
    host::freeNode(tag_); // the fixture's tag on the first object
    HostNode* used = ConfigTag(*grandchild);
    HostNode* ignored = ConfigTag(*fourth);
    for (HostNode* tag : {used, ignored}) tag->params.setBool(LCFG_RENDERER_SETTINGS, true);
    used->params.setInt(LCFG_WIDTH, 111);
    used->params.setReal(LCFG_POS_SIZE_MULTIPLIER, 0.5f);
    ignored->params.setInt(LCFG_WIDTH, 222);
    ignored->params.setReal(LCFG_POS_SIZE_MULTIPLIER, 2.0f);

    ReadRenderSettings(saver_, host::firstObject(*document_));
    Export();
    EXPECT_EQ(SceneChildren(), "renderer_settings background");
    EXPECT_EQ(ChildText(SceneChild("renderer_settings"), "width"), "111");
    EXPECT_FLOAT_EQ(saver_.posSizeMultiplier, 0.5f);
}

TEST_F(SettingsExportTest, WrittenOncePerSaveButSearchedAgainWhileNoTagWasFound) {
    Params().setBool(LCFG_RENDERER_SETTINGS, true);
    Export();
    Export();
    EXPECT_EQ(SceneChildren(), "renderer_settings background");

    // Without a tag nothing is written and the flag stays clear, so a later call looks again.
    scene_->Clear();
    saver_.settingsWritten = false;
    ExportRenderSettings(context_, nullptr);
    EXPECT_FALSE(saver_.settingsWritten);
    host::NodePtr untagged = host::createDocument();
    host::makeObject(*untagged, TYPE_NULL, "Plain");
    ExportRenderSettings(context_, host::firstObject(*untagged));
    EXPECT_FALSE(saver_.settingsWritten);
    EXPECT_EQ(SceneChildren(), "");
    Export();
    EXPECT_EQ(SceneChildren(), "renderer_settings background");
}

} // namespace
} // namespace lumeno_test
