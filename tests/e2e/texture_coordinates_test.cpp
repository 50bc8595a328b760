// lumeno-host export of textured objects: the mesh files carry the texture coordinates of the
// document's uvs and of the primitives, and assimp, an independent reader, reads them back.
#include <set>

#include "e2e_fixture.h"
#include "mesh_file_reader.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

// A tile whose texture stands upright (v 0 at its top edge, +y), and a textured cylinder (a sphere would be exported as an analytic shape).
constexpr const char* texturedDocument = R"({
  "materials": [{"name": "Tiles", "channels": {"0": {"on": true, "texture": "tiles.png"}}}],
  "objects": [
    {"type": "polygon", "name": "Tile", "points": [[0, 0, 0], [100, 0, 0], [100, 100, 0], [0, 100, 0]],
     "polygons": [[0, 1, 2, 3]], "uvs": [[[0, 1], [1, 1], [1, 0], [0, 0]]],
     "tags": [{"type": "texture", "material": "Tiles"}]},
    {"type": "cylinder", "name": "Can", "position": [0, 0, 500], "params": {"CYLINDER_ROTATION_SEGMENTS": 8},
     "tags": [{"type": "texture", "material": "Tiles"}]}
  ]
})";

class TextureCoordinatesTest : public HostCommandTest {};

TEST_P(TextureCoordinatesTest, MeshFilesOfTexturedObjectsCarryTheirCoordinates) {
    auto input = writeFile("textured.json", texturedDocument);
    const fs::path output = folder / "scene.xml";
    RunResult result = run({"export", input.string(), "-o", output.string()});
    ASSERT_EQ(result.status, 0) << result.err;

    std::vector<meshfile::MeshFile> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".3DS") files.push_back(meshfile::readMeshFile(entry.path()));
    ASSERT_EQ(files.size(), 2u);
    bool sawTile = false, sawCan = false;
    for (const meshfile::MeshFile& file : files) {
        ASSERT_TRUE(file.read) << file.error;
        ASSERT_EQ(file.meshes.size(), 1u);
        const meshfile::Mesh& mesh = file.meshes[0];
        ASSERT_EQ(mesh.cornerUvs.size(), mesh.triangles.size()) << "every corner has coordinates";
        if (mesh.triangles.size() == 2) {
            sawTile = true;
            // In the file, v runs up: the tile's top edge (renderer z 100) has v 1.
            for (std::size_t t = 0; t < 2; ++t)
                for (int k = 0; k < 3; ++k) {
                    const meshfile::Point& p = mesh.points[mesh.triangles[t][k]];
                    EXPECT_FLOAT_EQ(mesh.cornerUvs[t][k][0], p.x / 100) << "u along x";
                    EXPECT_FLOAT_EQ(mesh.cornerUvs[t][k][1], p.z / 100) << "v up the tile";
                }
        } else {
            sawCan = true;
            // The cylinder's seam: a point of it carries u 0 in one polygon and 1 in its neighbour.
            std::set<float> us;
            for (const auto& corners : mesh.cornerUvs)
                for (const auto& uv : corners) {
                    EXPECT_TRUE(uv[0] >= 0 && uv[0] <= 1 && uv[1] >= 0 && uv[1] <= 1);
                    us.insert(uv[0]);
                }
            EXPECT_TRUE(us.count(0.0f) && us.count(1.0f));
        }
    }
    EXPECT_TRUE(sawTile && sawCan);
}

INSTANTIATE_TEST_SUITE_P(BothReleases, TextureCoordinatesTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
