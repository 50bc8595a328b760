// Current state to object, directly and through the function table's modelling command, and the
// polygonize sequence a module runs with it (new document, copy, convert each top-level object).
#include <gtest/gtest.h>

#include "host/geometry/current_state.h"
#include "host/geometry/matrix.h"
#include "host/geometry/primitive_params.h"
#include "host/model/build.h"
#include "host/model/copy.h"
#include "host/model/document.h"
#include "host/model/links.h"
#include "host/model/placement.h"
#include "host/table/handle_counts.h"
#include "host/table/host_table_impl.h"
#include "host_constants.h"
#include "tests/host/mesh_checks.h"

namespace {

HostMatrix translation(float x, float y, float z)
{
    HostMatrix m = host::identityMatrix();
    m.off = {x, y, z};
    return m;
}

/// A document: Group (null, at x 10) > Ball (sphere, 8 segments, textured Red, at y 5) > Box
/// (polygon triangle); and a top-level Lamp (light).
struct Scene {
    host::NodePtr doc = host::createDocument();
    HostNode* red = host::makeMaterial(*doc, "Red");
    HostNode* group = host::makeObject(*doc, TYPE_NULL, "Group");
    HostNode* ball = host::makeObject(*doc, TYPE_SPHERE, "Ball", group);
    HostNode* box = host::makeObject(*doc, TYPE_POLYGON_OBJECT, "Box", ball);
    HostNode* lamp = host::makeObject(*doc, TYPE_LIGHT, "Lamp");

    Scene()
    {
        group->local = translation(10, 0, 0);
        ball->local = translation(0, 5, 0);
        ball->params.setInt(host::SPHERE_SEGMENTS, 8);
        host::makeTextureTag(*ball, *red);
        box->points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        box->polygons = {{0, 1, 2, 2}};
    }
};

TEST(CurrentState, PrimitiveBecomesPolygonObjectWithItsNameMatrixAndTags)
{
    Scene s;
    host::NodePtr result = host::currentStateToObject(*s.ball, false);
    EXPECT_EQ(result->type(), TYPE_POLYGON_OBJECT);
    EXPECT_EQ(result->name, "Ball");
    EXPECT_EQ(result->local.off, (HostVector{0, 5, 0}));
    // 8 segments, 4 rings: 2 + 3 * 8 points, 4 * 8 polygons.
    EXPECT_EQ(result->points.size(), 26u);
    EXPECT_EQ(result->polygons.size(), 32u);
    EXPECT_TRUE(meshcheck::closed(meshcheck::triangles(result->polygons)));
    ASSERT_NE(result->tags().first(), nullptr);
    EXPECT_EQ(result->tags().first()->type(), TYPE_TEXTURE_TAG);
    // The tag still names the document's material.
    EXPECT_EQ(result->tags().first()->params.getLinkToken(TEXTURE_TAG_MATERIAL), s.red->token());
    // And it gained the sphere's texture coordinates, one record per polygon.
    const HostNode* uvwTag = host::findUvwTag(*result);
    ASSERT_NE(uvwTag, nullptr);
    EXPECT_EQ(uvwTag->uvws.size(), result->polygons.size());
    // The child came along, converted (a polygon object stays one, with its own points).
    HostNode* child = result->children().first();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->name, "Box");
    EXPECT_EQ(child->type(), TYPE_POLYGON_OBJECT);
    EXPECT_EQ(child->points.size(), 3u);
    EXPECT_EQ(child->parent(), result.get());
    // The original is untouched.
    EXPECT_EQ(s.ball->type(), TYPE_SPHERE);
    EXPECT_EQ(s.ball->children().first(), s.box);
}

TEST(CurrentState, NullStaysNullAndChildrenAreConverted)
{
    Scene s;
    host::NodePtr result = host::currentStateToObject(*s.group, false);
    EXPECT_EQ(result->type(), TYPE_NULL);
    EXPECT_TRUE(result->points.empty());
    HostNode* ball = result->children().first();
    ASSERT_NE(ball, nullptr);
    EXPECT_EQ(ball->type(), TYPE_POLYGON_OBJECT);
    EXPECT_EQ(ball->name, "Ball");
    ASSERT_NE(ball->children().first(), nullptr);
    EXPECT_EQ(ball->children().first()->name, "Box");

    host::NodePtr lamp = host::currentStateToObject(*s.lamp, false);
    EXPECT_EQ(lamp->type(), TYPE_LIGHT);
}

TEST(CurrentState, LinksInsideTheTreeFollowTheStandIn)
{
    Scene s;
    // The box aims at the ball; after the conversion it must aim at the ball's polygon object.
    host::makeCameraTargetTag(*s.box, *s.ball);
    host::NodePtr result = host::currentStateToObject(*s.group, false);
    HostNode* ball = result->children().first();
    HostNode* target = ball->children().first()->tags().first();
    EXPECT_EQ(host::resolveLink(target->params.getLinkToken(CAMERA_TARGET_LINK), nullptr, LINK_FILTER_OBJECT), ball);
}

TEST(CurrentState, InheritCarriesTheGlobalMatrix)
{
    Scene s;
    EXPECT_EQ(host::currentStateToObject(*s.ball, true)->local.off, (HostVector{10, 5, 0}));
    EXPECT_EQ(host::currentStateToObject(*s.ball, false)->local.off, (HostVector{0, 5, 0}));
}

TEST(ModelingCommand, AnswersTheConvertedObjectOrNothing)
{
    Scene s;
    const HostDocumentOps& ops = host::documentOps();
    HostContainer options;
    options.setBool(MODELING_OPTION_INHERIT, false);

    host::NodePtr result(ops.modeling_command(MODELING_CURRENT_STATE_TO_OBJECT, s.doc.get(), s.ball,
                                              MODELING_MODE_POLYGONS, &options));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->type(), TYPE_POLYGON_OBJECT);
    EXPECT_FALSE(result->inList());

    options.setBool(MODELING_OPTION_INHERIT, true);
    result.reset(ops.modeling_command(MODELING_CURRENT_STATE_TO_OBJECT, s.doc.get(), s.ball,
                                      MODELING_MODE_POLYGONS, &options));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->local.off, (HostVector{10, 5, 0}));

    // An unknown command, an object of another document, no object: nothing.
    auto other = host::createDocument();
    EXPECT_EQ(ops.modeling_command(999, s.doc.get(), s.ball, MODELING_MODE_POLYGONS, nullptr), nullptr);
    EXPECT_EQ(ops.modeling_command(MODELING_CURRENT_STATE_TO_OBJECT, other.get(), s.ball, 1, nullptr), nullptr);
    EXPECT_EQ(ops.modeling_command(MODELING_CURRENT_STATE_TO_OBJECT, s.doc.get(), nullptr, 1, nullptr), nullptr);
}

TEST(ModelingCommand, PolygonizeThroughTheTableFreesEveryDocumentAndLeavesTheOriginal)
{
    Scene s;
    const HostTable table = host::makeHostTable(HOST_INTERFACE_VERSION);
    const long documentsBefore = host::handleCounts().documents;

    // As a module polygonizes: a new document, the whole document copied into it, each top-level
    // object replaced by its current state.
    HostDocument* fresh = table.document->create();
    HostDocument* copy = table.node->copy(s.doc.get(), COPY_FLAGS_DEFAULT);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(host::handleCounts().documents, documentsBefore + 2);
    HostContainer options;
    options.setBool(MODELING_OPTION_INHERIT, false);
    for (HostObject* o = table.document->first_object(copy); o;) {
        HostObject* next = table.node->next(o);
        HostObject* state = table.document->modeling_command(MODELING_CURRENT_STATE_TO_OBJECT, copy, o,
                                                             MODELING_MODE_POLYGONS, &options);
        ASSERT_NE(state, nullptr);
        table.document->insert_object(copy, state, nullptr, o, 0);
        table.node->free(o);
        o = next;
    }
    HostObject* group = table.document->first_object(copy);
    ASSERT_NE(group, nullptr);
    HostObject* ball = table.node->first_child(group);
    EXPECT_EQ(table.node->type(ball), TYPE_POLYGON_OBJECT);
    EXPECT_EQ(table.object->polygon_count(ball), 32);
    // The copied texture tag names the copy's material.
    HostMaterial* material = table.material->texture_material(table.object->first_tag(ball));
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material, table.document->first_material(copy));

    table.document->free(fresh);
    table.node->free(copy);
    EXPECT_EQ(host::handleCounts().documents, documentsBefore);
    EXPECT_EQ(s.ball->type(), TYPE_SPHERE);
    EXPECT_EQ(s.group->children().first(), s.ball);
}

} // namespace
