// Joining a mesh's vertices into points gives what assimp's own joining step gives: the places
// must be equal, the other attributes close; vertices no face names are left out.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include <assimp/mesh.h>

#include "host/import/vertex_join.h"

namespace {

/// A mesh of one triangle per three vertices, owning its arrays (aiMesh frees them).
aiMesh* mesh(const std::vector<aiVector3D>& places, const std::vector<aiVector3D>& normals, unsigned triangles) {
    auto* m = new aiMesh;
    m->mNumVertices = static_cast<unsigned>(places.size());
    m->mVertices = new aiVector3D[places.size()];
    std::copy(places.begin(), places.end(), m->mVertices);
    if (!normals.empty()) {
        m->mNormals = new aiVector3D[normals.size()];
        std::copy(normals.begin(), normals.end(), m->mNormals);
    }
    m->mNumFaces = triangles;
    m->mFaces = new aiFace[triangles];
    for (unsigned f = 0; f < triangles; ++f) {
        m->mFaces[f].mNumIndices = 3;
        m->mFaces[f].mIndices = new unsigned[3]{3 * f, 3 * f + 1, 3 * f + 2};
    }
    return m;
}

TEST(VertexJoin, VerticesAtOnePlaceWithCloseAttributesAreOnePoint) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const aiVector3D up(0, 0, 1), o(0, 0, 0), x(1, 0, 0), y(0, 1, 0);
    struct Case {
        const char* what;
        std::vector<aiVector3D> places, normals;
        std::vector<unsigned> pointOf;
    } cases[] = {
        {"same places", {o, x, y, y, x, aiVector3D(1, 1, 0)}, {}, {0, 1, 2, 2, 1, 3}},
        {"-0 is 0", {o, x, y, aiVector3D(-0.0f, 0, -0.0f), x, y}, {}, {0, 1, 2, 0, 1, 2}},
        {"a place a little apart is another point",
         {o, x, y, aiVector3D(1e-6f, 0, 0), x, y}, {}, {0, 1, 2, 3, 1, 2}},
        {"normals within the tolerance", {o, x, y, o, x, y},
         {up, up, up, aiVector3D(0, 5e-6f, 1), up, aiVector3D(0, 0, 1.00002f)}, {0, 1, 2, 0, 1, 3}},
        {"a normal that is not a number differs from nothing", {o, x, y, o, x, y},
         {up, up, aiVector3D(nan, nan, nan), up, up, up}, {0, 1, 2, 0, 1, 2}},
    };
    for (const Case& c : cases) {
        aiMesh* m = mesh(c.places, c.normals, 2);
        const host::import::JoinedVertices joined = host::import::joinVertices(*m);
        EXPECT_EQ(joined.pointOf, c.pointOf) << c.what;
        // Points are numbered in the order their first vertex comes.
        for (unsigned point = 0; point < joined.firstVertex.size(); ++point)
            EXPECT_EQ(joined.pointOf[joined.firstVertex[point]], point) << c.what;
        delete m;
    }
}

TEST(VertexJoin, VerticesNoFaceNamesAreLeftOut) {
    aiMesh* m = mesh({aiVector3D(5, 5, 5), aiVector3D(0, 0, 0), aiVector3D(1, 0, 0), aiVector3D(0, 1, 0)}, {}, 1);
    m->mFaces[0].mIndices[0] = 1;
    m->mFaces[0].mIndices[1] = 2;
    m->mFaces[0].mIndices[2] = 3;
    const host::import::JoinedVertices joined = host::import::joinVertices(*m);
    EXPECT_EQ(joined.firstVertex, (std::vector<unsigned>{1, 2, 3}));
    EXPECT_EQ(joined.pointOf[0], ~0u);
    delete m;
}

} // namespace
