// An export with the host's allocator failing at each allocation in turn: every run answers as
// the saver promises and gives back everything it took.
#include <string>

#include "frame/plugin_ids.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/plugins/plugin_tags.h"
#include "module_fixture.h"
#include "tags/lumeno_config_ids.h"
#include "tags/lumeno_generic_obj_tag_ids.h"
#include "tags/lumeno_light_tag_ids.h"

namespace lumeno_test {
namespace {

class AllocationFailureTest : public ModuleTest {
protected:
    /// The element names of the scene that the save without a failure wrote, after every save
    /// before it failed cleanly.
    std::string SweepFailingSaves(HostNode& document, const std::string& stem, uint64_t limit) {
        const fs::path completed = ModuleTest::SweepFailingSaves(document, stem, limit).completed;
        if (completed.empty()) return "no save completed";
        auto xml = LoadScene(completed);
        return xml ? ChildNames(SceneOf(*xml)) : "the scene file cannot be read";
    }
};

TEST_F(AllocationFailureTest, EveryFailingAllocationAnswersMinus7AndNothingLeaks) {
    StartModule();
    host::NodePtr document = host::createDocument();
    HostNode* top = host::makeObject(*document, TYPE_NULL, "Top");
    HostNode* cube = host::makeObject(*document, TYPE_CUBE, "Cube", top);
    host::addPluginTag(session().registry(), *cube, kLumenoGenericObjTagId);
    host::addPluginTag(session().registry(), *cube, kLumenoConfigId)
        ->params.setReal(LCFG_POS_SIZE_MULTIPLIER, 0.5f);
    host::makeMaterial(*document, "Red");

    EXPECT_EQ(SweepFailingSaves(*document, "run", 1000), "camera background material material");
}

TEST_F(AllocationFailureTest, StudioWithShapesAndEmittersNeverCrashesOrLeaks) {
    StartModule();
    host::NodePtr document = host::createDocument();
    HostNode* red = host::makeMaterial(*document, "Red");
    host::makeTextureTag(*host::makeObject(*document, TYPE_PLANE, "Floor"), *red);
    HostNode* ball = host::makeObject(*document, TYPE_SPHERE, "Ball");
    host::makeTextureTag(*ball, *red);
    host::makeObject(*document, TYPE_INSTANCE, "Ball copy")->params.setLink(INSTANCE_LINK, ball);
    HostNode* area = host::makeObject(*document, TYPE_LIGHT, "Area");
    area->params.setInt(90002, 8);
    host::addPluginTag(session().registry(), *area, kLumenoLightTagId)
        ->params.setInt(LLIGHT_SPECTRUM_TYPE, LLIGHT_SPECTRUM_BLACKBODY);
    HostNode* panel = host::makeObject(*document, TYPE_CUBE, "Glowing panel");
    host::addPluginTag(session().registry(), *panel, kLumenoLightTagId);

    EXPECT_EQ(SweepFailingSaves(*document, "studio", 1000),
              "background camera mesh material material plane sphere sphere rectanglelight meshlight");
}

TEST_F(AllocationFailureTest, MergedExportNeverCrashesOrLeaks) {
    StartModule();
    host::NodePtr document = host::createDocument();
    HostNode* red = host::makeMaterial(*document, "Red");
    HostNode* blue = host::makeMaterial(*document, "Blue");
    blue->params.setVector(2100, {0, 0, 1});
    HostNode* studio = host::makeObject(*document, TYPE_NULL, "Studio");
    host::addPluginTag(session().registry(), *studio, kLumenoConfigId)->params.setBool(LCFG_MERGED_MESH_EXPORT, true);
    host::makeTextureTag(*studio, *red);
    HostNode* box = host::makeObject(*document, TYPE_CUBE, "Box", studio);
    HostNode* vase = host::makeObject(*document, TYPE_CYLINDER, "Vase", studio);
    host::makeTextureTag(*vase, *blue);
    host::addPluginTag(session().registry(), *vase, kLumenoGenericObjTagId)->params.setBool(LOBJ_NO_NORMAL_SMOOTHING, true);
    HostNode* ball = host::makeObject(*document, TYPE_SPHERE, "Ball", studio);
    host::makeTextureTag(*ball, *blue);
    host::makeObject(*document, TYPE_INSTANCE, "Box copy")->params.setLink(INSTANCE_LINK, box);
    HostNode* area = host::makeObject(*document, TYPE_LIGHT, "Area");
    area->params.setInt(90002, 8);
    host::addPluginTag(session().registry(), *host::makeObject(*document, TYPE_CUBE, "Glowing panel"), kLumenoLightTagId);

    const std::string names = SweepFailingSaves(*document, "merged", 2000);
    EXPECT_NE(names.find("mesh meshlight mesh mesh material material material model model sphere rectanglelight"),
              std::string::npos)
        << names;
}

} // namespace
} // namespace lumeno_test
