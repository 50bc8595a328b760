// lumeno-host import, and export and command of model files, on real third-party models of
// Debian's assimp-testmodels package, with the real module of each release. assimp reads each
// model independently here; the exported mesh files must hold the same triangles per mesh, with
// the model's points where the frame rules put them: model (x, y, z) in its unit is host
// (x, y, -z) in centimetres, which the 3DS files keep as (x, z, y) of the host.
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>

#include <assimp/postprocess.h>
#include <tinyxml.h>

#include "e2e_fixture.h"
#include "mesh_file_reader.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

const fs::path models = "/usr/share/assimp/models";

/// The post-processing the import asks of assimp.
constexpr unsigned importSteps = aiProcess_Triangulate | aiProcess_JoinIdenticalVertices | aiProcess_ValidateDataStructure;

struct Model {
    const char* file;
    double scale; // host centimetres per model unit
    bool textured;
};

const Model realModels[] = {
    {"glTF2/BoxTextured-glTF/BoxTextured.gltf", 100, true},
    {"glTF2/BoxTextured-glTF-Binary/BoxTextured.glb", 100, true},
    {"OBJ/spider.obj", 1, true},
    {"FBX/box.fbx", 100, false},
    {"Collada/cube_UTF8BOM.dae", 100, false},
    {"3DS/fels.3ds", 1, false},
};

/// The model as assimp reads it: triangles per mesh in node order (parents first), and one
/// point in the world, from the first mesh with a triangle.
struct Expected {
    std::vector<size_t> triangles;
    aiVector3D point;
    const aiCamera* camera = nullptr;
    aiMatrix4x4 cameraNode;
};

void walk(const aiScene& scene, const aiNode& node, const aiMatrix4x4& parent, Expected& expected, bool& havePoint) {
    const aiMatrix4x4 world = parent * node.mTransformation;
    for (unsigned m = 0; m < node.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[node.mMeshes[m]];
        size_t count = 0;
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) count += mesh.mFaces[f].mNumIndices == 3;
        if (count == 0) continue;
        expected.triangles.push_back(count);
        if (!havePoint) expected.point = world * mesh.mVertices[mesh.mFaces[0].mIndices[0]];
        havePoint = true;
    }
    if (scene.mNumCameras > 0 && node.mName == scene.mCameras[0]->mName) expected.cameraNode = world;
    for (unsigned c = 0; c < node.mNumChildren; ++c) walk(scene, *node.mChildren[c], world, expected, havePoint);
}

std::string childText(const TiXmlElement* element, const char* name) {
    const TiXmlElement* child = element ? element->FirstChildElement(name) : nullptr;
    return child && child->GetText() ? child->GetText() : "";
}

std::vector<float> numbers(const std::string& text) {
    std::istringstream in(text);
    std::vector<float> result;
    for (float v; in >> v;) result.push_back(v);
    return result;
}

class ModelImportTest : public HostCommandTest {
protected:
    void SetUp() override {
        HostCommandTest::SetUp();
        if (!fs::is_directory(models)) GTEST_SKIP() << "assimp-testmodels is not installed (" << models << ")";
    }

    const TiXmlElement* parseScene(const fs::path& scene) {
        xml = TiXmlDocument();
        xml.Parse(readFile(scene).c_str(), nullptr, TIXML_ENCODING_LEGACY);
        EXPECT_FALSE(xml.Error()) << xml.ErrorDesc();
        return xml.RootElement();
    }

    /// The triangle counts of the scene's mesh files, in order.
    std::vector<size_t> exportedTriangles(const TiXmlElement* scene, std::vector<meshfile::MeshFile>& files) {
        std::vector<size_t> counts;
        for (const TiXmlElement* mesh = scene ? scene->FirstChildElement("mesh") : nullptr; mesh;
             mesh = mesh->NextSiblingElement("mesh")) {
            const TiXmlElement* external = mesh->FirstChildElement("external");
            files.push_back(meshfile::readMeshFile(folder / childText(external, "path")));
            EXPECT_TRUE(files.back().read) << files.back().error;
            counts.push_back(files.back().faces());
        }
        return counts;
    }

    TiXmlDocument xml;
    Assimp::Importer importer;
};

TEST_P(ModelImportTest, RealModelsExportWithTheirTrianglesPointsMaterialsAndCamera) {
    for (const Model& model : realModels) {
        SCOPED_TRACE(model.file);
        const aiScene* source = importer.ReadFile((models / model.file).string(), importSteps);
        ASSERT_NE(source, nullptr) << importer.GetErrorString();
        Expected expected;
        bool havePoint = false;
        walk(*source, *source->mRootNode, aiMatrix4x4(), expected, havePoint);

        const fs::path output = folder / (fs::path(model.file).filename().string() + ".xml");
        RunResult result = run({"export", (models / model.file).string(), "-o", output.string()});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_NE(result.err.find("note: imported " + (models / model.file).string()), std::string::npos) << result.err;
        const TiXmlElement* scene = parseScene(output);
        std::vector<meshfile::MeshFile> files;
        EXPECT_EQ(exportedTriangles(scene, files), expected.triangles);

        // Model (x, y, z) is host (x, y, -z) * scale, kept in the file as (x, z, y).
        const aiVector3D& p = expected.point;
        const meshfile::Point landed{float(p.x * model.scale), float(-p.z * model.scale), float(p.y * model.scale)};
        bool found = false;
        for (const auto& file : files) found = found || file.hasPoint(landed, 1e-2f * float(model.scale));
        EXPECT_TRUE(found) << landed.x << " " << landed.y << " " << landed.z;

        if (model.textured) {
            for (const auto& file : files) {
                EXPECT_EQ(file.meshes.at(0).cornerUvs.size(), file.meshes.at(0).triangles.size());
            }
        }

        std::set<std::string> materials;
        for (const TiXmlElement* m = scene->FirstChildElement("material"); m; m = m->NextSiblingElement("material"))
            materials.insert(childText(m, "name"));
        for (const TiXmlElement* m = scene->FirstChildElement("model"); m; m = m->NextSiblingElement("model"))
            EXPECT_EQ(materials.count(childText(m, "material_name")), 1u) << childText(m, "material_name");

        if (source->mNumCameras > 0) {
            // The file's first camera is the scene's: its place, in the renderer's units (0.01).
            const aiVector3D at = expected.cameraNode * source->mCameras[0]->mPosition;
            const std::vector<float> pos = numbers(childText(scene->FirstChildElement("camera"), "pos"));
            ASSERT_EQ(pos.size(), 3u);
            EXPECT_NEAR(pos[0], at.x * model.scale * 0.01, 1e-3);
            EXPECT_NEAR(pos[1], -at.z * model.scale * 0.01, 1e-3);
            EXPECT_NEAR(pos[2], at.y * model.scale * 0.01, 1e-3);
        }
    }
}

TEST_P(ModelImportTest, ImportWritesADocumentThatExportsLikeTheModel) {
    const fs::path model = models / "glTF2/BoxTextured-glTF-Binary/BoxTextured.glb";
    const fs::path document = folder / "box.json";
    RunResult imported = run({"import", model.string(), "-o", document.string()});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_NE(imported.out.find("1 polygon object, 12 triangles"), std::string::npos) << imported.out;
    // The embedded texture is a file beside the document, and the material names it.
    EXPECT_TRUE(fs::is_regular_file(folder / "box.json.texture0.png"));
    EXPECT_NE(readFile(document).find("\"texture\": \"box.json.texture0.png\""), std::string::npos);

    RunResult fromDocument = run({"export", document.string(), "-o", (folder / "a.xml").string()});
    RunResult fromModel = run({"export", model.string(), "-o", (folder / "b.xml").string()});
    ASSERT_EQ(fromDocument.status, 0) << fromDocument.err;
    ASSERT_EQ(fromModel.status, 0) << fromModel.err;
    EXPECT_EQ(meshfile::readMeshFile(folder / "a.xml.0.3DS").faces(), 12u);
    EXPECT_EQ(meshfile::readMeshFile(folder / "b.xml.0.3DS").faces(), 12u);
}

TEST_P(ModelImportTest, ConcavePolygonsAreTriangulatedWithoutFlipsOrOverlaps) {
    // Each polygon's area (Newell) must be covered exactly by its triangles, all facing its way.
    const fs::path model = models / "OBJ/concave_polygon.obj";
    std::ifstream in(model);
    std::vector<aiVector3D> points;
    double area = 0;
    aiVector3D normal;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "v") {
            aiVector3D v;
            words >> v.x >> v.y >> v.z;
            points.push_back(v);
        } else if (kind == "f") {
            std::vector<aiVector3D> corners;
            for (std::string corner; words >> corner;) corners.push_back(points.at(std::stoul(corner) - 1));
            aiVector3D n;
            for (size_t i = 0; i < corners.size(); ++i) n += corners[i] ^ corners[(i + 1) % corners.size()];
            area += 0.5 * n.Length();
            normal += n;
        }
    }
    ASSERT_GT(area, 0);
    RunResult result = run({"export", model.string(), "-o", (folder / "c.xml").string()});
    ASSERT_EQ(result.status, 0) << result.err;
    meshfile::MeshFile file = meshfile::readMeshFile(folder / "c.xml.0.3DS");
    ASSERT_TRUE(file.read) << file.error;
    double covered = 0;
    int flipped = 0;
    const meshfile::Point facing{normal.x, -normal.z, normal.y};
    for (const auto& mesh : file.meshes)
        for (const auto& t : mesh.triangles) {
            const meshfile::Point n = meshfile::faceNormal(mesh, t);
            covered += 0.5 * std::sqrt(double(n.x) * n.x + double(n.y) * n.y + double(n.z) * n.z);
            flipped += double(n.x) * facing.x + double(n.y) * facing.y + double(n.z) * facing.z < 0;
        }
    EXPECT_NEAR(covered, area, area * 1e-4);
    EXPECT_EQ(flipped, 0);
}

TEST_P(ModelImportTest, AnEmissiveMaterialMakesItsObjectsEmitters) {
    writeFile("glow.mtl", "newmtl Glow\nKd 1 1 1\nKe 1 0.5 0\n");
    const fs::path model = writeFile("glow.obj", "mtllib glow.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl Glow\nf 1 2 3\n");
    RunResult result = run({"export", model.string(), "-o", (folder / "glow.xml").string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const TiXmlElement* light = parseScene(folder / "glow.xml")->FirstChildElement("meshlight");
    ASSERT_NE(light, nullptr);
    const TiXmlElement* rgb = light->FirstChildElement("spectrum")->FirstChildElement("rgb");
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(childText(rgb, "rgb"), "1.000000 0.500000 0.000000");
}

TEST_P(ModelImportTest, ReportsWhatItLeftOut) {
    RunResult result = run({"import", (models / "glTF2/simple_skin/simple_skin.gltf").string(), "-o",
                            (folder / "skin.json").string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("left out: 1 animation"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("left out: 1 skin"), std::string::npos) << result.out;
}

TEST_P(ModelImportTest, TheMenuCommandExportsAModel) {
    // A stand-in renderer that does nothing.
    const fs::path renderer = folder / "renderer";
    fs::create_directories(renderer);
    std::ofstream(renderer / "lumeno.exe") << "#!/bin/sh\nexit 0\n";
    fs::permissions(renderer / "lumeno.exe", fs::perms::owner_all);
    ASSERT_EQ(run({"prefs", "--renderer-folder", renderer.string()}).status, 0);
    const fs::path scene = folder / "menu.xml";
    RunResult result = run({"command", "export", (models / "OBJ/spider.obj").string(), "--choose", scene.string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::is_regular_file(scene)) << result.err;
    EXPECT_TRUE(fs::is_regular_file(folder / "menu.xml.0.3DS"));
}

TEST_P(ModelImportTest, InvalidModelsAreRefusedWithoutOutput) {
    for (const auto& entry : fs::directory_iterator(models / "invalid")) {
        // assimp reads this one, standing its default material in for the missing one.
        if (entry.path().filename() == "malformed2.obj") continue;
        SCOPED_TRACE(entry.path().filename().string());
        for (const char* command : {"import", "export"}) {
            const fs::path output = folder / (std::string(command) == "import" ? "out.json" : "out.xml");
            RunResult result = run({command, entry.path().string(), "-o", output.string()});
            EXPECT_EQ(result.status, 1);
            EXPECT_EQ(result.err.rfind("lumeno-host: " + entry.path().string() + ": cannot import: ", 0), 0u) << result.err;
            EXPECT_FALSE(fs::exists(output));
        }
    }
    RunResult missing = run({"import", (folder / "none.obj").string(), "-o", (folder / "n.json").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.obj: cannot import: no such file"), std::string::npos) << missing.err;
}

INSTANTIATE_TEST_SUITE_P(Releases, ModelImportTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
