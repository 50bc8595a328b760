// The material helper tag: its fresh values, what it shows and enables, how Draw mirrors and
// refreshes its material, and how an edit is written back.
#include <set>
#include <string>
#include <vector>

#include "frame/plugin_ids.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/plugins/parameter_edit.h"
#include "host/plugins/plugin_tags.h"
#include "host/pictures/surface.h"
#include "host/plugins/tag_draw.h"
#include "host/table/host_events.h"
#include "module_fixture.h"
#include "tags/lumeno_material_helper_tag.h"
#include "tags/lumeno_material_helper_tag_ids.h"

namespace lumeno_test {
namespace {

class MaterialHelperTagTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        StartModule();
        document_ = host::createDocument();
        holder_ = host::makeObject(*document_, TYPE_NULL, "Holder");
        tag_ = host::addPluginTag(session().registry(), *holder_, kLumenoMaterialHelperTagId);
        host::resetHostEvents();
    }
    void TearDown() override {
        document_.reset();
        ModuleTest::TearDown();
    }
    HostNode* Material(const std::string& name, const std::vector<int32_t>& on) {
        HostNode* material = host::makeMaterial(*document_, name);
        for (int32_t channel : on) host::channel(*material, channel).enabled = true;
        return material;
    }
    void Link(const HostNode* material) { tag_->params.setLink(LMAT_MATERIAL, material); }
    /// The material parameters (4999 to 5010) the tag's description shows.
    std::set<int32_t> Shown() {
        host::DescribeResult result = host::describeTag(*tag_);
        EXPECT_TRUE(result.answered);
        std::set<int32_t> shown;
        for (int32_t id = LMAT_KIND; id <= LMAT_NK_DATA; ++id)
            if (result.description.entry(id) && !result.description.hidden(id)) shown.insert(id);
        return shown;
    }
    bool On(const HostNode* material, int32_t channel) {
        const host::MaterialChannel* found = host::findChannel(*material, channel);
        return found && found->enabled;
    }

    host::NodePtr document_;
    HostNode* holder_ = nullptr;
    HostNode* tag_ = nullptr;
    HostSurface noSurface_; // without pixels: nothing can be painted on it
};

TEST_F(MaterialHelperTagTest, AFreshTagHoldsItsDefaults) {
    const HostContainer& p = tag_->params;
    EXPECT_EQ(p.getInt(LMAT_KIND), LMAT_KIND_DIFFUSE);
    EXPECT_EQ(p.getVector(LMAT_COLOUR), (HostVector{1, 1, 1}));
    EXPECT_EQ(p.getInt(LMAT_NK_DATA), LMAT_NK_DATA_NONE);
    for (int32_t id : {LMAT_ALBEDO_GAIN, LMAT_BUMP_GAIN}) EXPECT_FLOAT_EQ(p.getReal(id, -1), 1.0f);
    for (int32_t id : {LMAT_ALBEDO_EXPONENT, LMAT_BUMP_EXPONENT}) EXPECT_FLOAT_EQ(p.getReal(id, -1), 2.3f);
    EXPECT_FALSE(p.getBool(LMAT_RESOLVE_TEXTURE_PATHS, false));
    EXPECT_EQ(p.getLinkToken(LMAT_MATERIAL), 0u);
}

TEST_F(MaterialHelperTagTest, TheIndexOfRefractionIsEnabledForATransparentSpecularKindOnly) {
    struct Case {
        int32_t kind;
        bool transparent;
        bool enabled;
    } cases[] = {{LMAT_KIND_SPECULAR, true, true}, {LMAT_KIND_SPECULAR, false, false}, {LMAT_KIND_PHONG, true, false}};
    for (const Case& c : cases) {
        tag_->params.setInt(LMAT_KIND, c.kind);
        tag_->params.setBool(LMAT_TRANSPARENT, c.transparent);
        EXPECT_EQ(host::tagParameterEnabled(*tag_, LMAT_IOR), c.enabled) << c.kind << " " << c.transparent;
        EXPECT_TRUE(host::tagParameterEnabled(*tag_, LMAT_COLOUR));
    }
}

TEST_F(MaterialHelperTagTest, DrawMirrorsTheMaterialAndTheDescriptionShowsItsKind) {
    const std::set<int32_t> phong{LMAT_KIND, LMAT_PHONG_SPECULAR, LMAT_PHONG_DIFFUSE, LMAT_PHONG_EXPONENT, LMAT_NK_DATA};
    const std::set<int32_t> specular{LMAT_KIND, LMAT_TRANSPARENT, LMAT_IOR, LMAT_CAUCHY_B_COEFF,
                                     LMAT_TRANSMISSION_COLOUR, LMAT_NORMAL_REFLECTANCE};
    struct Case {
        std::vector<int32_t> on;
        int32_t kind;
        std::set<int32_t> shown;
    } cases[] = {
        {{}, LMAT_KIND_DIFFUSE, {LMAT_KIND, LMAT_COLOUR}},
        {{9}, LMAT_KIND_PHONG, phong},
        {{9, 3}, LMAT_KIND_SPECULAR, phong}, // the kind reads specular, the panel shows phong
        {{2}, LMAT_KIND_SPECULAR, specular},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(row));
        HostNode* material = Material("M" + std::to_string(row++), c.on);
        material->params.setReal(MATERIAL_SPECULAR_WIDTH, 0.25f);
        material->params.setReal(MATERIAL_DISPERSION, 0.5f);
        Link(material);
        EXPECT_EQ(Shown(), std::set<int32_t>{}) << "nothing before the tag has drawn the material";
        EXPECT_FALSE(host::drawTag(*tag_, noSurface_).answered) << "no surface: no preview";
        EXPECT_EQ(tag_->params.getInt(LMAT_KIND), c.kind);
        EXPECT_FLOAT_EQ(tag_->params.getReal(LMAT_PHONG_EXPONENT), 2500.0f);
        EXPECT_FLOAT_EQ(tag_->params.getReal(LMAT_CAUCHY_B_COEFF), 0.5f);
        EXPECT_EQ(Shown(), c.shown);
        host::sendMessage(*tag_, NODE_MSG_DESCRIPTION_EDIT_BEGIN, nullptr);
        EXPECT_EQ(Shown(), std::set<int32_t>{}) << "an edit hides the material's parameters";
        host::sendMessage(*tag_, NODE_MSG_DESCRIPTION_CHANGED, nullptr);
    }
}

TEST_F(MaterialHelperTagTest, AnEditIsWrittenBackIntoTheDrawnMaterialOnly) {
    HostNode* material = Material("Paint", {2, 3, 0});
    Link(material);
    host::drawTag(*tag_, noSurface_);
    host::editParameter(*tag_, LMAT_KIND, int32_t{LMAT_KIND_PHONG});
    host::editParameter(*tag_, LMAT_PHONG_EXPONENT, 5000.0f);
    EXPECT_FLOAT_EQ(material->params.getReal(MATERIAL_SPECULAR_WIDTH), 0.5f);
    for (int32_t channel : {8, 9, 0}) EXPECT_TRUE(On(material, channel)) << channel;
    for (int32_t channel : {2, 3}) EXPECT_FALSE(On(material, channel)) << channel;

    host::editParameter(*tag_, LMAT_KIND, int32_t{LMAT_KIND_SPECULAR});
    host::editParameter(*tag_, LMAT_TRANSPARENT, true);
    host::editParameter(*tag_, LMAT_IOR, 1.5f);
    EXPECT_TRUE(On(material, 2));
    EXPECT_FALSE(On(material, 3));
    EXPECT_FALSE(On(material, 9));
    EXPECT_FLOAT_EQ(material->params.getReal(MATERIAL_REFRACTION), 1.5f);

    // Linked to a material it has not drawn: an edit changes nothing there.
    HostNode* other = Material("Other", {9});
    Link(other);
    host::editParameter(*tag_, LMAT_KIND, int32_t{LMAT_KIND_DIFFUSE});
    host::editParameter(*tag_, LMAT_COLOUR, HostVector{0, 1, 0});
    EXPECT_TRUE(On(other, 9));
    EXPECT_FALSE(other->params.has(MATERIAL_COLOUR));
}

TEST_F(MaterialHelperTagTest, DrawRefreshesTheMaterialOnceAfterEachWriteBack) {
    HostNode* material = Material("Paint", {0});
    Link(material);
    const auto counts = [] {
        const host::HostEvents& e = host::hostEvents();
        return std::vector<long>{e.changeNotifications, e.materialUpdates, e.channelMessages};
    };
    host::drawTag(*tag_, noSurface_);
    host::drawTag(*tag_, noSurface_);
    EXPECT_EQ(counts(), (std::vector<long>{1, 1, 1}));
    host::editParameter(*tag_, LMAT_COLOUR, HostVector{0, 1, 0});
    host::drawTag(*tag_, noSurface_);
    EXPECT_EQ(counts(), (std::vector<long>{2, 2, 2}));
    EXPECT_EQ(material->params.getVector(MATERIAL_COLOUR), (HostVector{0, 1, 0}));

    // No material: Draw forgets the one it showed.
    Link(nullptr);
    EXPECT_FALSE(host::drawTag(*tag_, noSurface_).answered);
    EXPECT_EQ(Shown(), std::set<int32_t>{});
}

TEST_F(MaterialHelperTagTest, DrawPaintsThePreviewWithAFrameInTheReleasesMode) {
    Link(Material("Paint", {0}));
    struct Case {
        int32_t width, height;
        int32_t shapes;
    } cases[] = {{20, 10, 1}, {2, 10, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        HostSurface surface = host::makeSurface(c.width, c.height);
        EXPECT_TRUE(host::drawTag(*tag_, surface).answered);
        EXPECT_EQ(surface.imagesDrawn, 1);
        EXPECT_EQ(surface.shapesDrawn, c.shapes) << "a frame only on surfaces wider than 2";
        EXPECT_EQ(surface.lastImageMode, LUMENO_HOST_RELEASE >= 95 ? 0 : 128);
        if (c.shapes) {
            const size_t at = (1 * size_t(c.width) + 1) * 3; // (1, 1): on the frame
            EXPECT_EQ(std::vector<uint8_t>(surface.picture.rgb.begin() + long(at), surface.picture.rgb.begin() + long(at) + 3),
                      (std::vector<uint8_t>{244, 255, 108}));
        }
    }
}

TEST_F(MaterialHelperTagTest, TheNkDataChoicesCarryTheCatalogueLabels) {
    host::DescribeResult result = host::describeTag(*tag_);
    ASSERT_TRUE(result.answered);
    EXPECT_EQ(result.flags & DESCFLAGS_DESC_LOADED, DESCFLAGS_DESC_LOADED);
    const HostContainer* choices = result.description.entry(LMAT_NK_DATA)->getContainer(DESC_PROPERTY_CYCLE);
    ASSERT_NE(choices, nullptr);
    // The sample catalogue's entries follow the resource's own "None".
    EXPECT_EQ(choices->getString(LMAT_NK_DATA_NONE), "None");
    EXPECT_EQ(choices->getString(kNkDataFirstEntry), "Gold");
    EXPECT_EQ(choices->getString(kNkDataFirstEntry + 1), "Silver");
}

TEST_F(MaterialHelperTagTest, MessageForgetLastExportMakesTheSaverForgetItsFile) {
    LumenoSaverData keeper;
    keeper.commandOwned = true;
    keeper.StoreLastExportFile("/scenes/last.xml");
    char file[64];
    ASSERT_STREQ(keeper.ReadLastExportFile(file, sizeof file), "/scenes/last.xml");
    host::sendMessage(*tag_, kMessageForgetLastExport, nullptr);
    EXPECT_STREQ(keeper.ReadLastExportFile(file, sizeof file), "");
}

} // namespace
} // namespace lumeno_test
