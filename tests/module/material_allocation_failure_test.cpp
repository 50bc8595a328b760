// Materials with the host's allocator failing at each allocation in turn: a save answers -7 or
// writes everything, the helper tag's Describe and Draw never crash, and nothing leaks.
#include <string>

#include "frame/plugin_ids.h"
#include "host/memory/allocator.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/plugins/plugin_tags.h"
#include "host/plugins/tag_draw.h"
#include "module_fixture.h"
#include "tags/lumeno_material_helper_tag_ids.h"

namespace lumeno_test {
namespace {

class MaterialAllocationFailureTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        StartModule();
        document_ = host::createDocument();
    }
    void TearDown() override {
        document_.reset();
        ModuleTest::TearDown();
    }
    host::NodePtr document_;
};

TEST_F(MaterialAllocationFailureTest, ASaveWithMaterialsAnswersMinus7OrWritesThemAll) {
    // More helper tags than the index's first block holds, so that it grows during the save.
    HostNode* holder = host::makeObject(*document_, TYPE_NULL, "Holder");
    for (int i = 0; i < 20; ++i) {
        HostNode* material = host::makeMaterial(*document_, "M" + std::to_string(i));
        host::channel(*material, i % 2 ? 9 : 0).enabled = true;
        host::channel(*material, 0).data.setString(CHANNEL_TEXTURE_NAME, "t.png");
        HostNode* tag = host::addPluginTag(session().registry(), *holder, kLumenoMaterialHelperTagId);
        tag->params.setLink(LMAT_MATERIAL, material);
        tag->params.setInt(LMAT_NK_DATA, 5012);
        tag->params.setBool(LMAT_RESOLVE_TEXTURE_PATHS, true);
    }
    const FailingSaves sweep = SweepFailingSaves(*document_, "run", 1000);
    EXPECT_GE(sweep.runs, 5u) << "the saver, the XML, the catalogue and the growing index all allocate";
    auto xml = LoadScene(sweep.completed);
    ASSERT_NE(xml, nullptr);
    int phong = 0;
    for (const TiXmlElement* m = SceneOf(*xml)->FirstChildElement("material"); m; m = m->NextSiblingElement("material"))
        if (const TiXmlElement* form = m->FirstChildElement("phong")) phong += form->FirstChildElement("nk_data") ? 1 : 0;
    EXPECT_EQ(phong, 10);
}

TEST_F(MaterialAllocationFailureTest, DescribeAndDrawOfTheHelperTagNeverCrashNorLeak) {
    HostNode* holder = host::makeObject(*document_, TYPE_NULL, "Holder");
    HostNode* material = host::makeMaterial(*document_, "Paint");
    host::channel(*material, 9).enabled = true;
    host::Allocator& allocator = session().allocator();
    bool completed = false;
    uint64_t n = 1;
    for (; n <= 200 && !completed; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " fails");
        const size_t blocks = allocator.liveBlocks();
        const long handles = session().liveHandles();
        {
            host::NodePtr tag = host::createPluginTag(session().registry(), kLumenoMaterialHelperTagId);
            HostNode* placed = host::appendTag(*holder, std::move(tag));
            placed->params.setLink(LMAT_MATERIAL, material);
            allocator.failAllocation(n);
            HostSurface noSurface;
            host::drawTag(*placed, noSurface);
            host::DescribeResult described = host::describeTag(*placed);
            completed = !allocator.failureHappened();
            allocator.failAllocation(0);
            if (completed) {
                EXPECT_TRUE(described.answered);
            }
            host::freeNode(placed);
        }
        EXPECT_EQ(allocator.liveBlocks(), blocks);
        EXPECT_EQ(session().liveHandles(), handles);
        EXPECT_EQ(allocator.badFrees(), 0u);
    }
    EXPECT_TRUE(completed);
    EXPECT_GT(n, 2u) << "the catalogue and the tag's reads allocate";
}

} // namespace
} // namespace lumeno_test
