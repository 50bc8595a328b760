// Mapping coordinates in the 3DS save: a UVW tag's corners become one coordinate per point,
// points split where their corners differ, read back with assimp.
#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <filesystem>
#include <map>
#include <set>
#include <tuple>
#include <unistd.h>

#include "host/files/three_ds_scene.h"
#include "host/files/three_ds_writer.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host_constants.h"

namespace fs = std::filesystem;

namespace {

using Uv = std::array<float, 2>;

/// Two quads side by side in the x-y plane, sharing the edge of points 1 and 4.
HostNode& twoQuads(HostNode& document, bool seamOnSharedEdge)
{
    HostNode* object = host::makeObject(document, TYPE_POLYGON_OBJECT, "Strip");
    object->points = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}};
    object->polygons = {{0, 1, 4, 3}, {1, 2, 5, 4}};
    // Left quad u 0 to 0.5; right quad u 0.5 to 1 (continuous) or 0 to 0.5 again (a seam).
    const float r0 = seamOnSharedEdge ? 0.0f : 0.5f;
    const float r1 = seamOnSharedEdge ? 0.5f : 1.0f;
    host::makeUvwTag(*object, {{{0, 1, 0}, {0.5f, 1, 0}, {0.5f, 0, 0}, {0, 0, 0}},
                               {{r0, 1, 0}, {r1, 1, 0}, {r1, 0, 0}, {r0, 0, 0}}});
    return *object;
}

TEST(ThreeDsMapping, SharedCornersStayOnePointAndSeamsSplit)
{
    struct Case {
        bool seam;
        std::size_t points;
    };
    for (const Case& c : {Case{false, 6}, Case{true, 8}}) {
        auto doc = host::createDocument();
        twoQuads(*doc, c.seam);
        const host::ThreeDsScene scene = host::collectThreeDsScene(*doc);
        ASSERT_EQ(scene.meshes.size(), 1u);
        const host::ThreeDsMesh& mesh = scene.meshes[0];
        EXPECT_EQ(mesh.points.size(), c.points) << "seam " << c.seam;
        ASSERT_EQ(mesh.uvs.size(), mesh.points.size());
        EXPECT_EQ(mesh.faces.size(), 4u);
        // Every face corner carries its polygon's coordinates, with v turned up (1 - v).
        std::map<std::pair<float, float>, std::set<std::pair<float, float>>> uvsAt; // (x, z) -> uvs
        for (std::size_t p = 0; p < mesh.points.size(); ++p)
            uvsAt[{mesh.points[p].x, mesh.points[p].z}].insert({mesh.uvs[p][0], mesh.uvs[p][1]});
        const std::set<std::pair<float, float>> topLeft{{0.0f, 1.0f}};
        EXPECT_EQ(uvsAt[std::make_pair(0.0f, 1.0f)], topLeft) << "top left: v 0 becomes 1";
        EXPECT_EQ(uvsAt[std::make_pair(1.0f, 0.0f)].size(), c.seam ? 2u : 1u) << "the shared bottom point";
    }
    auto plain = host::createDocument();
    HostNode* object = host::makeObject(*plain, TYPE_POLYGON_OBJECT, "Plain");
    object->points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    object->polygons = {{0, 1, 2, 2}};
    EXPECT_TRUE(host::collectThreeDsScene(*plain).meshes[0].uvs.empty()) << "no UVW tag, no coordinates";
}

TEST(ThreeDsMapping, SplitPointsCountAgainstThePointLimit)
{
    // A strip of triangles (i, i+1, i+2), each with coordinates of its own, so every point
    // becomes up to three: 3 x 30000 points in all, more than one mesh object can hold.
    constexpr int32_t points = 30000;
    auto doc = host::createDocument();
    HostNode* object = host::makeObject(*doc, TYPE_POLYGON_OBJECT, "Strip");
    std::vector<host::UvwPolygon> uvws;
    for (int32_t i = 0; i < points; ++i)
        object->points.push_back({float(i), float(i % 2), 0});
    for (int32_t i = 0; i + 2 < points; ++i) {
        object->polygons.push_back({i, i + 1, i + 2, i + 2});
        const float u = float(i) / points;
        uvws.push_back({{u, 0, 0}, {u, 0.5f, 0}, {u, 1, 0}, {u, 1, 0}});
    }
    host::makeUvwTag(*object, uvws);
    const host::ThreeDsScene scene = host::collectThreeDsScene(*doc);
    ASSERT_GE(scene.meshes.size(), 2u);
    std::size_t faces = 0;
    for (const host::ThreeDsMesh& mesh : scene.meshes) {
        EXPECT_LE(mesh.points.size(), host::THREE_DS_MAX_POINTS);
        EXPECT_EQ(mesh.uvs.size(), mesh.points.size());
        for (const auto& f : mesh.faces)
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(mesh.uvs[f[0]][0], mesh.uvs[f[k]][0]) << "a face's corners keep its own u";
        faces += mesh.faces.size();
    }
    EXPECT_EQ(faces, std::size_t(points - 2));
}

TEST(ThreeDsMapping, AssimpReadsTheCoordinatesBack)
{
    auto doc = host::createDocument();
    twoQuads(*doc, true);
    const fs::path file = fs::temp_directory_path() / ("lumeno-uv-" + std::to_string(::getpid()) + ".3ds");
    host::saveThreeDs(*doc, file);
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(file.string(), 0);
    fs::remove(file);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    ASSERT_EQ(scene->mNumMeshes, 1u);
    const aiMesh* mesh = scene->mMeshes[0];
    ASSERT_TRUE(mesh->HasTextureCoords(0));
    // Each corner: its place (x, z in the file's axes) and its coordinates.
    std::set<std::tuple<float, float, float, float>> corners;
    for (unsigned v = 0; v < mesh->mNumVertices; ++v)
        corners.insert({mesh->mVertices[v].x, mesh->mVertices[v].z, mesh->mTextureCoords[0][v].x,
                        mesh->mTextureCoords[0][v].y});
    const std::set<std::tuple<float, float, float, float>> expected = {
        {0, 0, 0, 0},    {1, 0, 0.5f, 0}, {1, 1, 0.5f, 1}, {0, 1, 0, 1}, // left quad
        {1, 0, 0, 0},    {2, 0, 0.5f, 0}, {2, 1, 0.5f, 1}, {1, 1, 0, 1}}; // right quad
    EXPECT_EQ(corners, expected);
}

} // namespace
