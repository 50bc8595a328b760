// lumeno-host export of examples/merged.json, whose render-settings tag turns the merged strategy
// on: the scene refers to the smooth, unsmoothed and mesh-light files, and the faces read back
// with assimp carry the "Mat_%d" names under which the scene writes the materials.
#include <algorithm>
#include <map>
#include <set>

#include <tinyxml.h>

#include "e2e_fixture.h"
#include "mesh_file_reader.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

std::string text(const TiXmlElement* parent, const char* name) {
    const TiXmlElement* child = parent ? parent->FirstChildElement(name) : nullptr;
    return child && child->GetText() ? child->GetText() : "";
}

std::vector<const TiXmlElement*> elements(const TiXmlElement* scene, const char* name) {
    std::vector<const TiXmlElement*> found;
    for (const TiXmlElement* e = scene->FirstChildElement(name); e; e = e->NextSiblingElement(name)) found.push_back(e);
    return found;
}

class MergedExportTest : public HostCommandTest {};

TEST_P(MergedExportTest, ExampleExportsThreeMeshFilesWhoseFacesNameTheScenesMaterials) {
    const fs::path output = folder / "m.xml";
    RunResult result = run({"export", (fs::path(LUMENO_EXAMPLES_DIR) / "merged.json").string(), "-o", output.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    TiXmlDocument xml;
    const std::string content = readFile(output);
    xml.Parse(content.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    ASSERT_FALSE(xml.Error()) << xml.ErrorDesc();
    const TiXmlElement* scene = xml.RootElement();
    ASSERT_NE(scene, nullptr);

    // Mesh light first (the merge walk), then the two merged meshes.
    std::map<std::string, std::string> files;
    for (const TiXmlElement* mesh : elements(scene, "mesh"))
        files[text(mesh, "name")] = text(mesh->FirstChildElement("external"), "path");
    EXPECT_EQ(files, (std::map<std::string, std::string>{
                         {"light0", "m.xml.light0.3DS"}, {"smoothmesh", "m.xml.smooth.3DS"}, {"nosmoothmesh", "m.xml.nosmooth.3DS"}}));

    std::set<std::string> materials;
    for (const TiXmlElement* m : elements(scene, "material")) materials.insert(text(m, "name"));
    EXPECT_EQ(materials, (std::set<std::string>{"Mat_0", "Mat_1", "Mat_2", "lumeno_default_material"}));

    // Stone (Mat_0) reaches the pedestal from the studio null; Wood (Mat_2) is the box and its
    // instance; the vase (Red, Mat_1) is unsmoothed.
    std::map<std::string, std::set<std::string>> faceMaterials;
    for (const char* name : {"smoothmesh", "nosmoothmesh", "light0"}) {
        meshfile::MeshFile file = meshfile::readMeshFile(folder / files[name]);
        ASSERT_TRUE(file.read) << files[name] << ": " << file.error;
        EXPECT_GT(file.faces(), 0u) << name;
        if (std::string(name) == "light0") continue;
        for (const meshfile::Mesh& mesh : file.meshes) {
            faceMaterials[name].insert(mesh.material);
            EXPECT_EQ(materials.count(mesh.material), 1u) << mesh.material << " is not a material of the scene";
        }
    }
    EXPECT_EQ(faceMaterials["smoothmesh"], (std::set<std::string>{"Mat_0", "Mat_2"}));
    EXPECT_EQ(faceMaterials["nosmoothmesh"], (std::set<std::string>{"Mat_1"}));
    // The instanced box: two cubes of 12 triangles, beside the pedestal's 12.
    EXPECT_EQ(meshfile::readMeshFile(folder / files["smoothmesh"]).faces(), 36u);

    auto models = elements(scene, "model");
    ASSERT_EQ(models.size(), 2u);
    EXPECT_EQ(text(models[0], "mesh_name"), "smoothmesh");
    EXPECT_EQ(text(models[1], "normal_smoothing"), "false");
    EXPECT_EQ(elements(scene, "meshlight").size(), 1u);
    EXPECT_EQ(elements(scene, "rectanglelight").size(), 1u);
    EXPECT_EQ(elements(scene, "plane").size(), 1u);
    auto spheres = elements(scene, "sphere");
    ASSERT_EQ(spheres.size(), 1u);
    EXPECT_EQ(text(spheres[0], "material_name"), "Mat_1");

    // The settings before the camera.
    std::vector<std::string> order;
    for (const TiXmlElement* e = scene->FirstChildElement(); e; e = e->NextSiblingElement()) order.push_back(e->Value());
    ASSERT_GE(order.size(), 2u);
    EXPECT_EQ(order[0], "renderer_settings");
    EXPECT_NE(std::find(order.begin(), order.end(), "camera"), order.end());
}

INSTANTIATE_TEST_SUITE_P(BothReleases, MergedExportTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
