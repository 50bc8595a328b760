// The object tag as the host makes it.
#include "frame/plugin_ids.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/plugins/plugin_tags.h"
#include "module_fixture.h"
#include "tags/lumeno_generic_obj_tag_ids.h"

namespace lumeno_test {
namespace {

class GenericObjTagTest : public ModuleTest {};

TEST_F(GenericObjTagTest, FreshTagNeitherExcludesNorUnsmooths) {
    StartModule();
    host::NodePtr document = host::createDocument();
    HostNode* cube = host::makeObject(*document, TYPE_CUBE, "Cube");
    HostNode* tag = host::addPluginTag(session().registry(), *cube, kLumenoGenericObjTagId);
    ASSERT_EQ(tag->type(), kLumenoGenericObjTagId);
    ASSERT_TRUE(tag->params.has(LOBJ_NO_NORMAL_SMOOTHING));
    ASSERT_TRUE(tag->params.has(LOBJ_EXCLUDE));
    EXPECT_FALSE(tag->params.getBool(LOBJ_NO_NORMAL_SMOOTHING, true));
    EXPECT_FALSE(tag->params.getBool(LOBJ_EXCLUDE, true));
    EXPECT_EQ(tag->params.size(), 2u);
    EXPECT_EQ(host::executeTag(*tag, document.get(), cube, 0, 0), 0);
    EXPECT_TRUE(host::tagParameterEnabled(*tag, LOBJ_EXCLUDE));
}

} // namespace
} // namespace lumeno_test
