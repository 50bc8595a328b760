// The material section: forms by channel, their values, nk data from the catalogue, textures,
// and the helper tag each material takes.
#include <fstream>
#include <string>
#include <vector>

#include "export/material_export.h"
#include "frame/host_api.h"
#include "frame/plugin_ids.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/plugins/plugin_tags.h"
#include "section_fixture.h"
#include "tags/lumeno_material_helper_tag_ids.h"

namespace lumeno_test {
namespace {

struct ChannelSetup {
    std::vector<int32_t> on;
};

class MaterialExportTest : public SectionTest {
protected:
    void TearDown() override {
        ReleaseNkDataCatalogue(saver_.nkCatalogue);
        SectionTest::TearDown();
    }
    HostNode* Material(const std::string& name, const std::vector<int32_t>& on) {
        HostNode* material = host::makeMaterial(*document_, name);
        for (int32_t channel : on) host::channel(*material, channel).enabled = true;
        return material;
    }
    HostNode* HelperTag(HostNode& object, const HostNode& material) {
        HostNode* tag = host::addPluginTag(session().registry(), object, kLumenoMaterialHelperTagId);
        tag->params.setLink(LMAT_MATERIAL, &material);
        return tag;
    }
    /// The form element of the first material the list writes.
    const TiXmlElement* Form() {
        WriteMaterialList(context_, scene_, document_.get());
        const TiXmlElement* material = scene_->FirstChildElement("material");
        return material ? material->FirstChildElement("name")->NextSiblingElement() : nullptr;
    }
    void OneEntryCatalogue() {
        saver_.nkCatalogue.entries = static_cast<NkDataEntry*>(HostAlloc(sizeof(NkDataEntry)));
        saver_.nkCatalogue.count = 1;
        std::snprintf(saver_.nkCatalogue.entries[0].nkPath, kNkTextSize, "nk/gold.nk");
        std::snprintf(saver_.nkCatalogue.entries[0].label, kNkTextSize, "Gold");
    }
};

TEST_F(MaterialExportTest, TheFormFollowsTheFirstOfChannelsTwoThreeNine) {
    struct Case {
        std::vector<int32_t> on;
        const char* form;
        const char* children;
    } cases[] = {
        {{}, "diffuse", "colour"},
        {{0, 6}, "diffuse", "colour"},
        {{2, 3}, "specular", "normal_reflectance ior cauchy_b_coeff rgb_absorptivity transparent"},
        {{3, 9}, "specular", "normal_reflectance ior cauchy_b_coeff rgb_absorptivity transparent"},
        {{9}, "phong", "diffuse specular exponent"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form);
        document_ = host::createDocument();
        context_.document = document_.get();
        scene_->Clear();
        Material("M", c.on);
        const TiXmlElement* form = Form();
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(std::string(form->Value()), c.form);
        EXPECT_EQ(ChildNames(form), c.children);
    }
}

TEST_F(MaterialExportTest, ValuesOfEachForm) {
    const HostVector grey{0.8f, 0.8f, 0.8f};
    struct Case {
        std::vector<int32_t> on;
        int32_t param;       // 0: none
        host::Value value;
        const char* element;
        const char* text;
    } cases[] = {
        {{2}, 0, 0, "rgb_absorptivity", "1.000000 1.000000 1.000000"},
        {{2}, 2400, grey, "rgb_absorptivity", "1.000000 1.000000 1.000000"},
        {{2, 0}, 2400, grey, "rgb_absorptivity", "0.200000 0.200000 0.200000"},
        {{2}, 3101, 0.3f, "normal_reflectance", "0.040000"},
        {{2, 9}, 3101, 0.3f, "normal_reflectance", "0.300000"},
        {{2}, 1005, 1.5f, "ior", "1.500000"},
        {{2}, 0, 0, "cauchy_b_coeff", "0.250000"},
        {{2}, MATERIAL_DISPERSION, 0.7f, "cauchy_b_coeff", "0.700000"},
        {{2}, MATERIAL_DISPERSION == 1120 ? 8020 : 1120, 0.7f, "cauchy_b_coeff", "0.250000"},
        {{2}, 0, 0, "transparent", "true"},
        {{3}, 2501, 0.2f, "normal_reflectance", "0.200000"},
        {{3}, 1005, 1.5f, "ior", "1.0"},
        {{3}, 0, 0, "cauchy_b_coeff", "0.0"},
        {{3}, 2400, grey, "rgb_absorptivity", "0 0 0"},
        {{3}, 0, 0, "transparent", "false"},
        {{}, 2100, HostVector{1, 0, 0}, "colour", "0.800000 0.800000 0.800000"},
        {{0}, 2100, HostVector{1, 0, 0}, "colour", "1.000000 0.000000 0.000000"},
        {{9}, 3100, HostVector{0.1f, 0.2f, 0.3f}, "specular", "0.100000 0.200000 0.300000"},
        {{9}, 2100, HostVector{1, 0, 0}, "diffuse", "0.800000 0.800000 0.800000"},
        {{9}, 3101, 0.5f, "exponent", "5000.000000"},
        {{9}, 0, 0, "exponent", "5000.000000"},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.element);
        document_ = host::createDocument();
        context_.document = document_.get();
        scene_->Clear();
        HostNode* material = Material("M", c.on);
        if (c.param) material->params.set(c.param, c.value);
        EXPECT_EQ(ChildText(Form(), c.element), c.text);
    }
}

TEST_F(MaterialExportTest, NkDataNamesTheChosenCatalogueEntryInsteadOfTheColours) {
    OneEntryCatalogue();
    HostNode* material = Material("Metal", {9});
    HostNode* object = host::makeObject(*document_, TYPE_NULL, "Holder");
    HostNode* tag = HelperTag(*object, *material);
    struct Case {
        int32_t choice;
        const char* children;
    } cases[] = {
        {5012, "nk_data exponent"},
        {5013, "diffuse specular exponent"},
        {5011, "diffuse specular exponent"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choice);
        scene_->Clear();
        tag->params.setInt(LMAT_NK_DATA, c.choice);
        const TiXmlElement* form = Form();
        EXPECT_EQ(ChildNames(form), c.children);
        if (c.choice == 5012) {
            EXPECT_EQ(ChildText(form, "nk_data"), "nk/gold.nk");
        }
    }
}

TEST_F(MaterialExportTest, TexturesTakeGainsExponentsAndPathsFromTheHelperTag) {
    fs::create_directories(Temp("doc/tex"));
    std::ofstream(Temp("doc/tex/wood.png")) << "png";
    host::setDocumentSetting(*document_, DOCUMENT_PATH, Temp("doc").string());
    HostNode* material = Material("Wood", {0, 6});
    host::channel(*material, 0).data.setString(CHANNEL_TEXTURE_NAME, "wood.png");
    host::channel(*material, 6).data.setString(CHANNEL_TEXTURE_NAME, "missing.png");

    const TiXmlElement* form = Form();
    EXPECT_EQ(ChildNames(form), "colour albedo_texture bump_map");
    const TiXmlElement* albedo = form->FirstChildElement("albedo_texture");
    EXPECT_EQ(ChildNames(albedo), "path uv_set gain exponent");
    EXPECT_EQ(ChildText(albedo, "path"), "wood.png");
    EXPECT_EQ(ChildText(albedo, "uv_set"), "albedo");
    EXPECT_EQ(ChildText(albedo, "gain"), "1.000000");
    EXPECT_EQ(ChildText(albedo, "exponent"), "2.300000");

    HostNode* tag = HelperTag(*host::makeObject(*document_, TYPE_NULL, "Holder"), *material);
    tag->params.setBool(LMAT_RESOLVE_TEXTURE_PATHS, true);
    tag->params.setReal(LMAT_ALBEDO_GAIN, 0.5f);
    tag->params.setReal(LMAT_BUMP_EXPONENT, 1.0f);
    scene_->Clear();
    form = Form();
    EXPECT_EQ(ChildText(form->FirstChildElement("albedo_texture"), "path"), Temp("doc/tex/wood.png").string());
    EXPECT_EQ(ChildText(form->FirstChildElement("albedo_texture"), "gain"), "0.500000");
    // Nothing found: the name as the material gives it.
    EXPECT_EQ(ChildText(form->FirstChildElement("bump_map"), "path"), "missing.png");
    EXPECT_EQ(ChildText(form->FirstChildElement("bump_map"), "exponent"), "1.000000");

    // A channel that is off or names no file writes no texture.
    host::channel(*material, 6).enabled = false;
    host::channel(*material, 0).data.setString(CHANNEL_TEXTURE_NAME, "");
    scene_->Clear();
    EXPECT_EQ(ChildNames(Form()), "colour");
}

TEST_F(MaterialExportTest, EachMaterialTakesTheFirstHelperTagInWalkOrderThatDescribesIt) {
    HostNode* material = Material("Glass", {0, 6});
    host::channel(*material, 0).data.setString(CHANNEL_TEXTURE_NAME, "a.png");
    // A renamed copy compares equal; a changed one does not.
    HostNode* copy = Material("Glass copy", {0, 6});
    host::channel(*copy, 0).data.setString(CHANNEL_TEXTURE_NAME, "a.png");
    HostNode* other = Material("Other", {0, 6});
    host::channel(*other, 0).data.setString(CHANNEL_TEXTURE_NAME, "b.png");

    HostNode* parent = host::makeObject(*document_, TYPE_NULL, "Parent");
    HostNode* child = host::makeObject(*document_, TYPE_NULL, "Child", parent);
    HostNode* sibling = host::makeObject(*document_, TYPE_NULL, "Sibling");
    HelperTag(*sibling, *material)->params.setReal(LMAT_ALBEDO_GAIN, 3.0f);
    HelperTag(*child, *copy)->params.setReal(LMAT_ALBEDO_GAIN, 2.0f);

    WriteMaterialList(context_, scene_, document_.get());
    std::vector<std::string> gains;
    for (const TiXmlElement* m = scene_->FirstChildElement("material"); m; m = m->NextSiblingElement("material"))
        gains.push_back(ChildText(m->FirstChildElement("diffuse")->FirstChildElement("albedo_texture"), "gain"));
    // The child's tag comes before the parent's next sibling's, and the copy equals the original.
    EXPECT_EQ(gains, (std::vector<std::string>{"2.000000", "2.000000", "1.000000"}));
    EXPECT_EQ(context_.helperTags.entries, nullptr) << "the index is given back with the list";
}

TEST_F(MaterialExportTest, LongNamesAreCutAtACharacterBoundaryAlikeOnBothSides) {
    std::string name;
    while (name.size() < 300) name += "\xC3\xA9"; // é, two bytes each
    HostNode* material = Material(name, {0});
    HostNode* triangle = host::makeObject(*document_, TYPE_POLYGON_OBJECT, "T");
    triangle->points = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}};
    triangle->polygons = {{0, 1, 2, 2}};
    host::makeTextureTag(*triangle, *material);
    SaverHandle saver(session());
    ASSERT_EQ(saver.Save(document_.get(), Temp("long.xml")), FILE_RESULT_OK);
    auto xml = LoadScene(Temp("long.xml"));
    ASSERT_NE(xml, nullptr);
    const std::string written = ChildText(SceneOf(*xml)->FirstChildElement("material"), "name");
    EXPECT_EQ(written, name.substr(0, 254)) << "byte 255 would split the 128th é";
    EXPECT_EQ(ChildText(SceneOf(*xml)->FirstChildElement("model"), "material_name"), written);
}

} // namespace
} // namespace lumeno_test
