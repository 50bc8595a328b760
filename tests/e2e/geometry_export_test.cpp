// lumeno-host export of documents with geometry: every mesh file the scene refers to is read back
// with assimp, an independent 3DS reader, and its geometry is where the document put it, in the
// renderer's axes (host (x, y, z) is renderer (x, z, y)), with its fronts outside.
#include <set>

#include <tinyxml.h>

#include "e2e_fixture.h"
#include "mesh_file_reader.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

class GeometryExportTest : public HostCommandTest {
protected:
    /// Exports `input` to `output`; the test fails unless lumeno-host succeeds.
    void exportScene(const fs::path& input, const fs::path& output) {
        RunResult result = run({"export", input.string(), "-o", output.string(), "--quiet"});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
    }

    /// The `path` texts of the scene's `mesh` elements, in order.
    std::vector<std::string> meshPaths(const fs::path& scene) {
        std::vector<std::string> paths;
        TiXmlDocument xml;
        std::string text = readFile(scene);
        xml.Parse(text.c_str(), nullptr, TIXML_ENCODING_LEGACY);
        EXPECT_FALSE(xml.Error()) << xml.ErrorDesc();
        const TiXmlElement* root = xml.RootElement();
        for (const TiXmlElement* mesh = root ? root->FirstChildElement("mesh") : nullptr; mesh;
             mesh = mesh->NextSiblingElement("mesh")) {
            const TiXmlElement* external = mesh->FirstChildElement("external");
            const TiXmlElement* path = external ? external->FirstChildElement("path") : nullptr;
            paths.push_back(path && path->GetText() ? path->GetText() : "");
        }
        return paths;
    }

    /// The names of the 3DS files in the test's folder.
    std::set<std::string> meshFilesInFolder() {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".3DS") names.insert(entry.path().filename().string());
        return names;
    }

    meshfile::MeshFile readBack(const std::string& name) {
        meshfile::MeshFile file = meshfile::readMeshFile(folder / name);
        EXPECT_TRUE(file.read) << name << ": " << file.error;
        return file;
    }
};

TEST_P(GeometryExportTest, EveryMeshFileOfTheExampleDocumentsReadsBack) {
    for (const auto& entry : fs::directory_iterator(LUMENO_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".json") continue;
        SCOPED_TRACE(entry.path().filename().string());
        for (const auto& old : meshFilesInFolder()) fs::remove(folder / old);
        const fs::path output = folder / (entry.path().stem().string() + ".xml");
        exportScene(entry.path(), output);
        // Exactly the files the scene refers to, each readable with its geometry.
        std::vector<std::string> paths = meshPaths(output);
        EXPECT_EQ(std::set<std::string>(paths.begin(), paths.end()), meshFilesInFolder());
        for (size_t n = 0; n < paths.size(); ++n) {
            // The merged strategy names its files by kind (merged_export_test.cpp checks them).
            if (entry.path().stem() != "merged") {
                EXPECT_EQ(paths[n], output.filename().string() + "." + std::to_string(n) + ".3DS");
            }
            meshfile::MeshFile file = readBack(paths[n]);
            EXPECT_GT(file.faces(), 0u) << paths[n];
        }
    }
}

TEST_P(GeometryExportTest, TriangleExampleLandsInRendererAxesFacingUp) {
    exportScene(fs::path(LUMENO_EXAMPLES_DIR) / "triangle.json", folder / "t.xml");
    ASSERT_EQ(meshPaths(folder / "t.xml"), std::vector<std::string>{"t.xml.0.3DS"});
    meshfile::MeshFile file = readBack("t.xml.0.3DS");
    ASSERT_EQ(file.meshes.size(), 1u);
    EXPECT_EQ(file.faces(), 1u);
    EXPECT_EQ(file.points(), 3u);
    EXPECT_EQ(file.meshes[0].material, "Grey");
    // Host (0, 0, 0), (100, 0, 0), (0, 100, 0) facing +z.
    EXPECT_TRUE(file.hasPoint({0, 0, 0}));
    EXPECT_TRUE(file.hasPoint({100, 0, 0}));
    EXPECT_TRUE(file.hasPoint({0, 0, 100}));
    EXPECT_GT(meshfile::faceNormal(file.meshes[0], file.meshes[0].triangles[0]).y, 0);
}

constexpr const char* placedScene = R"({
  "materials": [{"name": "Red"}, {"name": "Blue"}],
  "objects": [
    {"type": "polygon", "name": "Marker", "points": [[1, 2, 3], [101, 2, 3], [1, 102, 3]],
     "polygons": [[0, 1, 2]], "tags": [{"type": "texture", "material": "Red"}]},
    {"type": "null", "name": "Group", "position": [0, 0, 5000], "children": [
      {"type": "cube", "name": "Box", "position": [1000, 2000, 3000],
       "tags": [{"type": "texture", "material": "Blue"}]},
      {"type": "cylinder", "name": "Post", "position": [-1000, 0, 0], "scale": 2,
       "tags": [{"type": "texture", "material": "Red"},
                {"type": "Lumeno Object", "params": {"LOBJ_NO_NORMAL_SMOOTHING": true}}]}
    ]}
  ]
})";

TEST_P(GeometryExportTest, MeshFilesHoldTheGeometryWhereTheDocumentPutsIt) {
    exportScene(writeFile("placed.json", placedScene), folder / "p.xml");
    ASSERT_EQ(meshPaths(folder / "p.xml"), (std::vector<std::string>{"p.xml.0.3DS", "p.xml.1.3DS", "p.xml.2.3DS"}));

    // Host point (1, 2, 3) lands at (1, 3, 2).
    meshfile::MeshFile marker = readBack("p.xml.0.3DS");
    EXPECT_EQ(marker.faces(), 1u);
    EXPECT_EQ(marker.points(), 3u);
    EXPECT_TRUE(marker.hasPoint({1, 3, 2}));
    EXPECT_TRUE(marker.hasPoint({101, 3, 2}));
    EXPECT_TRUE(marker.hasPoint({1, 3, 102}));

    // The default cube: 200 units, six quads, centred at host (1000, 2000, 8000).
    meshfile::MeshFile box = readBack("p.xml.1.3DS");
    EXPECT_EQ(box.faces(), 12u);
    EXPECT_EQ(box.points(), 8u);
    meshfile::Box bounds = box.bounds();
    EXPECT_FLOAT_EQ(bounds.min.x, 900);
    EXPECT_FLOAT_EQ(bounds.max.x, 1100);
    EXPECT_FLOAT_EQ(bounds.min.y, 7900);
    EXPECT_FLOAT_EQ(bounds.max.y, 8100);
    EXPECT_FLOAT_EQ(bounds.min.z, 1900);
    EXPECT_FLOAT_EQ(bounds.max.z, 2100);
    EXPECT_EQ(meshfile::inwardFaces(box, {1000, 8000, 2000}), 0);
    ASSERT_EQ(box.meshes.size(), 1u);
    EXPECT_EQ(box.meshes[0].material, "Blue");

    // The cylinder, 200 high along y and scaled by 2, stands around host (-1000, 0, 5000).
    meshfile::MeshFile post = readBack("p.xml.2.3DS");
    EXPECT_GT(post.faces(), 0u);
    EXPECT_FLOAT_EQ(post.bounds().min.z, -200);
    EXPECT_FLOAT_EQ(post.bounds().max.z, 200);
    EXPECT_EQ(meshfile::inwardFaces(post, {-1000, 5000, 0}), 0);
}

TEST_P(GeometryExportTest, MeshFileThatCannotBeWrittenFailsTheExportAndIsNamed) {
    auto input = writeFile("placed.json", placedScene);
    const fs::path blocked = folder / "p.xml.1.3DS";
    fs::create_directories(blocked / "occupied");
    RunResult result = run({"export", input.string(), "-o", (folder / "p.xml").string()});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("cannot write every mesh file of " + (folder / "p.xml").string()), std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("cannot write " + blocked.string() + ": "), std::string::npos) << result.err;
    // What could be written is there, and the scene refers to nothing that is missing.
    EXPECT_EQ(meshPaths(folder / "p.xml"), (std::vector<std::string>{"p.xml.0.3DS", "p.xml.2.3DS"}));
    EXPECT_TRUE(fs::is_regular_file(folder / "p.xml.2.3DS"));
}

INSTANTIATE_TEST_SUITE_P(BothReleases, GeometryExportTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
