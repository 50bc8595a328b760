#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/geometry/matrix.h"
#include "host/model/build.h"
#include "host/model/copy.h"
#include "host/model/document.h"
#include "host/model/links.h"
#include "host/model/object_params.h"
#include "host/model/placement.h"
#include "host_constants.h"

namespace {

HostMatrix translation(float x, float y, float z)
{
    HostMatrix m = host::identityMatrix();
    m.off = {x, y, z};
    return m;
}

void expectVector(const HostVector& actual, const HostVector& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
    EXPECT_NEAR(actual.z, expected.z, 1e-4f);
}

TEST(Tree, KeepsOrderAndAnswersNeighbours)
{
    auto doc = host::createDocument();
    HostNode* a = host::makeObject(*doc, TYPE_NULL, "A");
    HostNode* b = host::makeObject(*doc, TYPE_CUBE, "B");
    HostNode* child = host::makeObject(*doc, TYPE_SPHERE, "C", a);
    HostNode* first = host::insertObject(*doc, host::newObject(TYPE_PLANE, "First"));

    EXPECT_EQ(host::firstObject(*doc), first);
    EXPECT_EQ(first->next(), a);
    EXPECT_EQ(a->next(), b);
    EXPECT_EQ(b->next(), nullptr);
    EXPECT_EQ(a->children().first(), child);
    EXPECT_EQ(child->parent(), a);
    EXPECT_EQ(a->parent(), nullptr);
    EXPECT_EQ(child->document(), doc.get());

    host::NodePtr taken = a->detach();
    EXPECT_EQ(first->next(), b);
    EXPECT_EQ(b->prev(), first);
    EXPECT_EQ(taken->document(), nullptr);
    EXPECT_EQ(child->document(), nullptr);
}

TEST(Links, ResolveOnlyLiveNodesOfTheDocumentThatPassTheFilter)
{
    auto doc = host::createDocument();
    auto other = host::createDocument();
    HostNode* cube = host::makeObject(*doc, TYPE_CUBE, "Cube");
    HostNode* red = host::makeMaterial(*doc, "Red");
    HostNode* stranger = host::makeObject(*other, TYPE_CUBE, "Elsewhere");

    HostContainer c;
    c.setLink(1, cube);
    c.setLink(2, red);
    c.setLink(3, stranger);
    c.setLink(4, nullptr);

    EXPECT_EQ(host::resolveLink(c.getLinkToken(1), doc.get(), LINK_FILTER_OBJECT), cube);
    EXPECT_EQ(host::resolveLink(c.getLinkToken(2), doc.get(), LINK_FILTER_ANY), red);
    EXPECT_EQ(host::resolveLink(c.getLinkToken(2), doc.get(), LINK_FILTER_OBJECT), nullptr);
    EXPECT_EQ(host::resolveLink(c.getLinkToken(2), doc.get(), TYPE_MATERIAL), red);
    EXPECT_EQ(host::resolveLink(c.getLinkToken(3), doc.get(), LINK_FILTER_ANY), nullptr);
    EXPECT_EQ(host::resolveLink(c.getLinkToken(3), other.get(), LINK_FILTER_ANY), stranger);
    EXPECT_EQ(host::resolveLink(c.getLinkToken(4), doc.get(), LINK_FILTER_ANY), nullptr);

    host::freeNode(cube);
    EXPECT_EQ(host::resolveLink(c.getLinkToken(1), doc.get(), LINK_FILTER_ANY), nullptr);
}

TEST(Copy, TakesChildrenTagsAndParametersWithNewTokens)
{
    auto doc = host::createDocument();
    HostNode* red = host::makeMaterial(*doc, "Red");
    HostNode* group = host::makeObject(*doc, TYPE_NULL, "Group");
    group->params.setReal(7, 1.5f);
    HostNode* ball = host::makeObject(*doc, TYPE_SPHERE, "Ball", group);
    HostNode* target = host::makeObject(*doc, TYPE_NULL, "Target", group);
    host::makeTextureTag(*ball, *red);
    host::makeCameraTargetTag(*ball, *target);

    host::NodePtr copy = host::copyNode(*group, COPY_FLAGS_DEFAULT);
    ASSERT_TRUE(copy);
    EXPECT_FALSE(copy->inList());
    EXPECT_EQ(copy->name, "Group");
    EXPECT_FLOAT_EQ(copy->params.getReal(7, 0), 1.5f);
    EXPECT_NE(copy->token(), group->token());

    HostNode* ballCopy = copy->children().first();
    ASSERT_NE(ballCopy, nullptr);
    EXPECT_EQ(ballCopy->name, "Ball");
    EXPECT_FLOAT_EQ(ballCopy->params.getReal(host::SPHERE_RADIUS, 0), host::DEFAULT_SPHERE_RADIUS);
    ASSERT_NE(ballCopy->next(), nullptr);
    EXPECT_EQ(ballCopy->next()->name, "Target");
    EXPECT_EQ(ballCopy->tags().count(), 2u);

    // A link to a node outside the copy stays; a link inside it moves to the copy.
    const HostNode* texture = ballCopy->tags().first();
    EXPECT_EQ(texture->params.getLinkToken(TEXTURE_TAG_MATERIAL), red->token());
    const HostNode* targetTag = texture->next();
    EXPECT_EQ(targetTag->params.getLinkToken(CAMERA_TARGET_LINK), ballCopy->next()->token());
    EXPECT_NE(targetTag->params.getLinkToken(CAMERA_TARGET_LINK), target->token());
}

TEST(Copy, GeometryIsSharedUntilEitherSideChangesIt)
{
    auto doc = host::createDocument();
    HostNode* quad = host::makeObject(*doc, TYPE_POLYGON_OBJECT, "Quad");
    quad->points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    quad->polygons = {{0, 1, 2, 3}};

    host::NodePtr copy = host::copyNode(*quad);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->points.data(), quad->points.data()); // nothing copied
    EXPECT_EQ(copy->polygons.data(), quad->polygons.data());

    // The copy's change is its own; an insert at a place in the shared array keeps its offset.
    copy->points.insert(copy->points.begin() + 1, {{5, 5, 5}});
    copy->polygons.clear();
    ASSERT_EQ(copy->points.size(), 5u);
    expectVector(copy->points[1], {5, 5, 5});
    expectVector(copy->points[2], {1, 0, 0});
    EXPECT_TRUE(copy->polygons.empty());
    ASSERT_EQ(quad->points.size(), 4u);
    expectVector(quad->points[1], {1, 0, 0});
    EXPECT_EQ(quad->polygons.size(), 1u);

    // And the original's change leaves a copy as it was made.
    host::NodePtr second = host::copyNode(*quad);
    quad->points.push_back({9, 9, 9});
    EXPECT_EQ(second->points.size(), 4u);
    EXPECT_EQ(quad->points.size(), 5u);
}

TEST(Copy, DocumentCopyMovesLinksViewAndMaterialsOver)
{
    auto doc = host::createDocument();
    HostNode* red = host::makeMaterial(*doc, "Red");
    HostNode* cam = host::makeObject(*doc, TYPE_CAMERA, "Cam");
    HostNode* ball = host::makeObject(*doc, TYPE_SPHERE, "Ball");
    HostNode* inst = host::makeObject(*doc, TYPE_INSTANCE, "Inst");
    inst->params.setLink(INSTANCE_LINK, ball);
    host::makeTextureTag(*ball, *red);
    host::lookThroughObject(*doc, *cam);
    host::setDocumentSetting(*doc, DOCUMENT_FILE_NAME, "scene.c4d");

    host::NodePtr copy = host::copyDocument(*doc);
    ASSERT_TRUE(copy);
    HostNode* ballCopy = host::findObjectByPath(*copy, "Ball");
    HostNode* instCopy = host::findObjectByPath(*copy, "Inst");
    ASSERT_NE(ballCopy, nullptr);
    ASSERT_NE(instCopy, nullptr);
    EXPECT_EQ(host::resolveLink(instCopy->params.getLinkToken(INSTANCE_LINK), copy.get(),
                                LINK_FILTER_OBJECT),
              ballCopy);
    EXPECT_EQ(host::resolveLink(ballCopy->tags().first()->params.getLinkToken(TEXTURE_TAG_MATERIAL),
                                copy.get(), TYPE_MATERIAL),
              host::findMaterial(*copy, "Red"));
    HostView* view = host::activeView(*copy);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(host::viewSceneCamera(*view, *copy), host::findObjectByPath(*copy, "Cam"));
    EXPECT_EQ(host::documentSetting(*copy, DOCUMENT_FILE_NAME), "scene.c4d");
}

TEST(View, NewDocumentLooksThroughTheDefaultEditorCamera)
{
    auto doc = host::createDocument();
    HostView* view = host::activeView(*doc);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(host::viewSceneCamera(*view, *doc), nullptr);
    const HostNode* editor = host::viewEditorCamera(*view);
    ASSERT_NE(editor, nullptr);
    expectVector(host::position(*editor), {0, 0, host::DEFAULT_EDITOR_CAMERA_Z});
    EXPECT_FLOAT_EQ(host::cameraFilmWidth(*editor), 36.0f);

    host::removeView(*doc);
    EXPECT_EQ(host::activeView(*doc), nullptr);
}

TEST(Placement, GlobalMatrixIsParentGlobalTimesLocal)
{
    auto doc = host::createDocument();
    HostNode* parent = host::makeObject(*doc, TYPE_NULL, "Parent");
    HostNode* child = host::makeObject(*doc, TYPE_NULL, "Child", parent);
    // Parent: moved by (10, 0, 0), axes scaled by 2 and turned a quarter about y (x -> -z).
    parent->local = {{10, 0, 0}, {0, 0, -2}, {0, 2, 0}, {2, 0, 0}};
    child->local = translation(1, 2, 3);

    const HostMatrix g = host::globalMatrix(*child);
    // Offset: 10 + v1*1 + v2*2 + v3*3 = (10 + 6, 4, -2).
    expectVector(g.off, {16, 4, -2});
    expectVector(g.v1, {0, 0, -2});
    expectVector(host::position(*child), {16, 4, -2});
    expectVector(host::scale(*parent), {2, 2, 2});
    expectVector(host::scale(*child), {1, 1, 1});
}

TEST(Placement, SetGlobalMatrixKeepsChildrenInPlaceOnlyWhenAsked)
{
    auto doc = host::createDocument();
    HostNode* parent = host::makeObject(*doc, TYPE_NULL, "Parent");
    HostNode* child = host::makeObject(*doc, TYPE_NULL, "Child", parent);
    HostNode* grandchild = host::makeObject(*doc, TYPE_NULL, "Grandchild", child);
    parent->local = translation(5, 0, 0);
    child->local = translation(0, 1, 0);

    host::setGlobalMatrix(*child, translation(0, 0, 7), true);
    expectVector(child->local.off, {-5, 0, 7});
    expectVector(host::globalMatrix(*grandchild).off, {5, 1, 0});

    host::setGlobalMatrix(*child, translation(0, 0, 9), false);
    expectVector(host::globalMatrix(*grandchild).off, {5, 1, 2});
}

TEST(Placement, BoundingBoxesFromPointsAndSizes)
{
    auto doc = host::createDocument();
    HostNode* mesh = host::makeObject(*doc, TYPE_POLYGON_OBJECT, "Mesh");
    mesh->points = {{-1, 0, 2}, {3, 4, 2}, {1, -2, 6}};
    mesh->polygons = {{0, 1, 2, 2}};
    expectVector(host::boundingBoxCenter(*mesh), {1, 1, 4});
    expectVector(host::boundingBoxRadius(*mesh), {2, 3, 2});

    HostNode* ball = host::makeObject(*doc, TYPE_SPHERE, "Ball");
    ball->params.setReal(host::SPHERE_RADIUS, 1);
    expectVector(host::boundingBoxRadius(*ball), {1, 1, 1});
    expectVector(host::boundingBoxCenter(*ball), {0, 0, 0});

    HostNode* plane = host::makeObject(*doc, TYPE_PLANE, "Floor");
    expectVector(host::boundingBoxRadius(*plane), {200, 0, 200});
    HostNode* empty = host::makeObject(*doc, TYPE_NULL, "Empty");
    expectVector(host::boundingBoxRadius(*empty), {0, 0, 0});
}

TEST(Placement, BoundingBoxesOfTheOtherShapesLightsAndInstances)
{
    auto doc = host::createDocument();
    struct Case {
        int32_t type;
        std::vector<std::pair<int32_t, float>> params;
        HostVector radius;
    };
    // Defaults where no parameter is given; the kind of a light is set below.
    const std::vector<Case> cases = {
        {TYPE_CYLINDER, {}, {50, 100, 50}},
        {TYPE_CONE, {{1230, 120}}, {120, 100, 120}},
        {TYPE_DISC, {{1241, 30}}, {30, 0, 30}},
        {TYPE_TORUS, {}, {120, 20, 120}},
        {TYPE_LIGHT, {{host::LIGHT_AREA_WIDTH, 80}, {host::LIGHT_AREA_HEIGHT, 40}}, {40, 20, 0}},
        {TYPE_CAMERA, {}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        HostNode* object = host::makeObject(*doc, c.type, "Shape");
        for (const auto& [id, value] : c.params)
            object->params.setReal(id, value);
        if (c.type == TYPE_LIGHT)
            object->params.setInt(host::LIGHT_KIND, host::LIGHT_KIND_AREA);
        expectVector(host::boundingBoxCenter(*object), {0, 0, 0});
        expectVector(host::boundingBoxRadius(*object), c.radius);
    }
    // A light of another kind is a point.
    expectVector(host::boundingBoxRadius(*host::makeObject(*doc, TYPE_LIGHT, "Spot")), {0, 0, 0});

    // An instance reports what it repeats, through instances of instances; an empty link or a
    // cycle has no box.
    HostNode* mesh = host::makeObject(*doc, TYPE_POLYGON_OBJECT, "Mesh");
    mesh->points = {{2, 0, 0}, {4, 2, 2}};
    HostNode* first = host::makeObject(*doc, TYPE_INSTANCE, "First");
    first->params.setLink(INSTANCE_LINK, mesh);
    HostNode* second = host::makeObject(*doc, TYPE_INSTANCE, "Second");
    second->params.setLink(INSTANCE_LINK, first);
    expectVector(host::boundingBoxCenter(*second), {3, 1, 1});
    expectVector(host::boundingBoxRadius(*second), {1, 1, 1});
    expectVector(host::boundingBoxRadius(*host::makeObject(*doc, TYPE_INSTANCE, "Empty")), {0, 0, 0});
    first->params.setLink(INSTANCE_LINK, second);
    expectVector(host::boundingBoxRadius(*second), {0, 0, 0});
}

TEST(Placement, InverseUndoesAMatrix)
{
    const HostMatrix m = host::matrixFromPlacement({1, 2, 3}, {0.3f, -0.7f, 1.1f}, {2, 3, 0.5f});
    const HostMatrix id = host::multiply(host::inverse(m), m);
    expectVector(id.off, {0, 0, 0});
    expectVector(id.v1, {1, 0, 0});
    expectVector(id.v2, {0, 1, 0});
    expectVector(id.v3, {0, 0, 1});
}

TEST(Tree, LargeTreesAreWalkedAndFreedWithoutRecursion)
{
    auto doc = host::createDocument();
    constexpr int count = 200000;
    HostNode* deep = nullptr;
    for (int i = 0; i < count; ++i)
        host::makeObject(*doc, TYPE_NULL, "Flat");
    for (int i = 0; i < count; ++i)
        deep = host::makeObject(*doc, TYPE_NULL, "Deep", deep);
    std::size_t visited = 0;
    host::forEachObject(*doc, [&visited](const HostNode&) { ++visited; });
    EXPECT_EQ(visited, 2u * count);
    doc.reset(); // a recursive free would overflow the stack on the deep chain
}

} // namespace
