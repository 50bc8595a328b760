// lumeno-host export of shapes and emitters, with the real module of each release: the example
// documents write their spheres, planes, rectangle lights and mesh lights, every mesh a mesh
// light names reads back with assimp, and each release sizes a rectangle light by its own rule.
#include <map>
#include <utility>

#include <tinyxml.h>

#include "e2e_fixture.h"
#include "mesh_file_reader.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

std::string childText(const TiXmlElement* element, const char* name) {
    const TiXmlElement* child = element ? element->FirstChildElement(name) : nullptr;
    return child && child->GetText() ? child->GetText() : "<missing>";
}

/// The text of the comment in front of an element's children.
std::string nameComment(const TiXmlElement* element) {
    const TiXmlNode* first = element ? element->FirstChild() : nullptr;
    return first && first->ToComment() ? first->Value() : "<none>";
}

class PrimitivesExportTest : public HostCommandTest {
protected:
    /// Exports `input` to <folder>/NAME.xml and answers the parsed `scene`, or none.
    const TiXmlElement* exportScene(const fs::path& input, const std::string& name) {
        output = folder / (name + ".xml");
        RunResult result = run({"export", input.string(), "-o", output.string(), "--quiet"});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        xml = TiXmlDocument();
        xml.Parse(readFile(output).c_str(), nullptr, TIXML_ENCODING_LEGACY);
        EXPECT_FALSE(xml.Error()) << xml.ErrorDesc();
        return xml.RootElement();
    }
    /// "element:name" of the scene's shapes and emitters, in order.
    static std::vector<std::string> shapes(const TiXmlElement* scene) {
        std::vector<std::string> found;
        for (const TiXmlElement* e = scene ? scene->FirstChildElement() : nullptr; e; e = e->NextSiblingElement()) {
            const std::string kind = e->Value();
            if (kind == "sphere" || kind == "plane" || kind == "rectanglelight" || kind == "meshlight")
                found.push_back(kind + ":" + nameComment(e));
        }
        return found;
    }

    TiXmlDocument xml;
    fs::path output;
};

TEST_P(PrimitivesExportTest, ExampleDocumentsWriteEveryShapeAndEmitter) {
    // The lights example last: its values are checked below.
    const std::vector<std::pair<std::string, std::vector<std::string>>> expected{
        {"scene", {"plane:Floor", "sphere:Ball"}},
        {"lights",
         {"plane:Floor", "sphere:Ball", "sphere:Small ball", "rectanglelight:Key light", "meshlight:Glowing panel"}},
    };
    for (const auto& [name, wanted] : expected) {
        SCOPED_TRACE(name);
        const TiXmlElement* scene = exportScene(fs::path(LUMENO_EXAMPLES_DIR) / (name + ".json"), name);
        ASSERT_NE(scene, nullptr);
        EXPECT_EQ(shapes(scene), wanted);
        // Every mesh file reads back, and each mesh light names one of them.
        std::map<std::string, std::string> files;
        for (const TiXmlElement* mesh = scene->FirstChildElement("mesh"); mesh; mesh = mesh->NextSiblingElement("mesh"))
            files[childText(mesh, "name")] = childText(mesh->FirstChildElement("external"), "path");
        for (const auto& [meshName, path] : files) {
            meshfile::MeshFile file = meshfile::readMeshFile(folder / path);
            EXPECT_TRUE(file.read) << path << ": " << file.error;
            EXPECT_GT(file.faces(), 0u) << path;
        }
        for (const TiXmlElement* light = scene->FirstChildElement("meshlight"); light;
             light = light->NextSiblingElement("meshlight")) {
            EXPECT_EQ(files.count(childText(light, "mesh_name")), 1u);
            EXPECT_EQ(light->FirstChildElement("material_name"), nullptr);
            EXPECT_EQ(std::string(light->LastChild()->Value()), "spectrum");
        }
    }
    const TiXmlElement* scene = xml.RootElement();
    const TiXmlElement* key = scene ? scene->FirstChildElement("rectanglelight") : nullptr;
    ASSERT_NE(key, nullptr);
    ASSERT_NE(scene->FirstChildElement("meshlight"), nullptr);
    EXPECT_EQ(childText(key, "pos"), "0.000000 0.000000 6.000000");
    EXPECT_EQ(childText(key->FirstChildElement("spectrum")->FirstChildElement("blackbody"), "temperature"),
              "5200.000000");
    EXPECT_EQ(childText(scene->FirstChildElement("meshlight")->FirstChildElement("spectrum")->FirstChildElement("rgb"),
                        "rgb"),
              "1.000000 0.600000 0.300000");
}

TEST_P(PrimitivesExportTest, RectangleLightSizeFollowsTheRelease) {
    // The tag says 1.5 by 0.5; the light itself is 300 by 100 host units.
    auto input = writeFile("doc.json", R"({"objects": [
      {"type": "light", "name": "Panel", "params": {"LIGHT_KIND": 8, "LIGHT_AREA_WIDTH": 300.0, "LIGHT_AREA_HEIGHT": 100.0},
       "tags": [{"type": "Lumeno Light", "params": {"LLIGHT_WIDTH": 1.5, "LLIGHT_HEIGHT": 0.5}}]},
      {"type": "light", "name": "Spot", "params": {"LIGHT_KIND": 3},
       "tags": [{"type": "Lumeno Light"}]},
      {"type": "plane", "name": "Stretched", "position": [0, 100, 0], "scale": [1, 2, 1]}]})");
    const TiXmlElement* scene = exportScene(input, "sizes");
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(shapes(scene), (std::vector<std::string>{"rectanglelight:Panel", "plane:Stretched"}));
    const TiXmlElement* light = scene->FirstChildElement("rectanglelight");
    const bool from95 = release() == "9.5";
    EXPECT_EQ(childText(light, "width"), from95 ? "3.000000" : "1.500000");
    EXPECT_EQ(childText(light, "height"), from95 ? "1.000000" : "0.500000");
    // A plane scaled along its normal stays where it stands.
    EXPECT_EQ(childText(scene->FirstChildElement("plane"), "dist"), "1.000000");
}

INSTANTIATE_TEST_SUITE_P(BothReleases, PrimitivesExportTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
