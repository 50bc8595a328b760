// What the mesh files of an export hold, read back with assimp: which geometry lands in which
// file, and where. The host writes points in the renderer's axes: host (x, y, z) is (x, z, y).
#include "export/polygonize.h"
#include "frame/host_api.h"
#include "geometry_fixture.h"
#include "host/table/handle_counts.h"

namespace lumeno_test {
namespace {

class MeshContentTest : public GeometryTest {
protected:
    meshfile::MeshFile Read(int n) {
        meshfile::MeshFile file = meshfile::readMeshFile(MeshFile(n));
        EXPECT_TRUE(file.read) << MeshFile(n) << ": " << file.error;
        return file;
    }
};

TEST_F(MeshContentTest, ChildWithItsOwnMeshIsOnlyInItsOwnFile) {
    HostNode* parent = Triangle("Parent");
    host::makeTextureTag(*parent, *red_);
    host::makeTextureTag(*Quad("Child", parent, {0, 0, 500}), *blue_);
    ASSERT_EQ(Save(SceneFile()), FILE_RESULT_OK);

    meshfile::MeshFile parentFile = Read(0);
    EXPECT_EQ(parentFile.faces(), 1u);
    EXPECT_EQ(parentFile.bounds().max.y, 0.0f); // host z: the child at z 500 is not here
    meshfile::MeshFile childFile = Read(1);
    EXPECT_EQ(childFile.faces(), 2u);
    EXPECT_EQ(childFile.bounds().min.y, 500.0f);
    ASSERT_EQ(childFile.meshes.size(), 1u);
    EXPECT_EQ(childFile.meshes[0].material, "Blue");
}

TEST_F(MeshContentTest, ChildWithoutAnExportOfItsOwnStaysInItsParentsFileAtItsPlace) {
    // The parent sits below a moved group, so its children must move with it into world space.
    HostNode* group = host::makeObject(*document_, TYPE_NULL, "Group");
    group->local.off = {1000, 0, 0};
    HostNode* parent = Triangle("Parent", group);
    host::makeTextureTag(*parent, *red_);
    Triangle("Plain child", parent, {0, 0, 500});
    ASSERT_EQ(Save(SceneFile()), FILE_RESULT_OK);

    meshfile::MeshFile file = Read(0);
    EXPECT_EQ(file.faces(), 2u);
    // The child's corner (0, 0, 0) is at host (1000, 0, 500), renderer (1000, 500, 0).
    EXPECT_TRUE(file.hasPoint({1000, 500, 0}));
    EXPECT_TRUE(file.hasPoint({1100, 500, 0}));
    // It takes the parent's material.
    for (const auto& mesh : file.meshes) EXPECT_EQ(mesh.material, "Red");
    EXPECT_FALSE(fs::exists(MeshFile(1)));
}

TEST_F(MeshContentTest, ExcludedChildLeavesItsParentsFileButItsPlainChildStays) {
    HostNode* parent = Triangle("Parent");
    host::makeTextureTag(*parent, *red_);
    HostNode* hidden = Quad("Hidden", parent, {0, 0, 500});
    ObjectTag(*hidden, false, true);
    Triangle("Below hidden", hidden, {0, 200, 0});
    ASSERT_EQ(Save(SceneFile()), FILE_RESULT_OK);

    meshfile::MeshFile file = Read(0);
    // The parent's triangle and the grandchild's, not the hidden quad's two.
    EXPECT_EQ(file.faces(), 2u);
    EXPECT_FALSE(file.hasPoint({100, 500, 100})); // the quad's corner (100, 100, 0)
    // The grandchild's corner (0, 0, 0) stays at host (0, 200, 500).
    EXPECT_TRUE(file.hasPoint({0, 500, 200}));
    EXPECT_TRUE(file.hasPoint({0, 500, 300}));
}

TEST_F(MeshContentTest, ShapesWrittenAsSpheresAndPlanesLeaveTheirParentsFile) {
    HostNode* parent = Triangle("Parent");
    host::makeTextureTag(*parent, *red_);
    HostNode* ball = host::makeObject(*document_, TYPE_SPHERE, "Ball", parent);
    host::makeObject(*document_, TYPE_PLANE, "Floor", parent);
    HostNode* copy = host::makeObject(*document_, TYPE_INSTANCE, "Ball copy", parent);
    copy->params.setLink(INSTANCE_LINK, ball);
    // A plain child of the sphere keeps its place in the parent's file.
    Triangle("On the ball", ball, {0, 0, 700});
    ASSERT_EQ(Save(SceneFile()), FILE_RESULT_OK);

    meshfile::MeshFile file = Read(0);
    EXPECT_EQ(file.faces(), 2u);
    EXPECT_TRUE(file.hasPoint({0, 700, 0}));
    EXPECT_FALSE(fs::exists(MeshFile(1)));
}

TEST_F(MeshContentTest, DeepHierarchyIsWalkedAndSplitBetweenItsMeshes) {
    // 20000 levels: the top and the bottom have materials, the levels between do not.
    HostNode* top = Triangle("Top");
    host::makeTextureTag(*top, *red_);
    HostNode* parent = top;
    for (int level = 1; level < 20000; ++level)
        parent = host::makeObject(*document_, TYPE_NULL, "Level", parent);
    HostNode* bottom = Quad("Bottom", parent, {0, 0, 500});
    host::makeTextureTag(*bottom, *blue_);
    ASSERT_EQ(Save(SceneFile()), FILE_RESULT_OK);

    EXPECT_EQ(Read(0).faces(), 1u);
    meshfile::MeshFile bottomFile = Read(1);
    EXPECT_EQ(bottomFile.faces(), 2u);
    EXPECT_EQ(bottomFile.bounds().min.y, 500.0f);
}

TEST_F(MeshContentTest, CountTrianglesCountsQuadsTwiceAndOnlyPolygonObjects) {
    HostNode* quad = Quad("Quad");
    quad->polygons.push_back({0, 1, 2, 2});
    Triangle("Child", quad);
    HostNode* group = host::makeObject(*document_, TYPE_NULL, "Group");
    Quad("Grandchild", Triangle("Child", group));
    host::makeObject(*document_, TYPE_CUBE, "Cube");

    // 2 + 1, 1, 1 + 2; the cube is not a polygon object until it is polygonized.
    EXPECT_EQ(CountTriangles(host::firstObject(*document_)), 7);
    EXPECT_EQ(CountTriangles(group), 3);
    EXPECT_EQ(CountTriangles(nullptr), 0);
}

TEST_F(MeshContentTest, PolygonizeReplacesTopLevelObjectsByPolygonObjectsInANewDocument) {
    host::makeObject(*document_, TYPE_CUBE, "Cube");
    host::makeObject(*document_, TYPE_SPHERE, "Ball", host::makeObject(*document_, TYPE_NULL, "Group"));
    const long documents = host::handleCounts().documents;

    HostDocument* result = Polygonize(document_.get(), false);
    ASSERT_NE(result, nullptr);
    HostObject* cube = DocumentFirstObject(result);
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(NodeType(cube), TYPE_POLYGON_OBJECT);
    EXPECT_EQ(cube->name, "Cube");
    EXPECT_EQ(ObjectPolygonCount(cube), 6);
    HostObject* group = NodeNext(cube);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(NodeType(group), TYPE_NULL);
    EXPECT_EQ(NodeType(NodeFirstChild(group)), TYPE_POLYGON_OBJECT);
    EXPECT_EQ(NodeNext(group), nullptr);
    // The user's document keeps its primitives.
    EXPECT_EQ(host::firstObject(*document_)->type(), TYPE_CUBE);
    DocumentFree(result);
    EXPECT_EQ(host::handleCounts().documents, documents);
}

} // namespace
} // namespace lumeno_test
