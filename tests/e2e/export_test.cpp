// lumeno-host export, with the real module of each release: the scene file it writes, and the
// failures it reports without writing anything.
#include <tinyxml.h>

#include "e2e_fixture.h"

namespace e2e {
namespace {

/// The text of a child element, or "" when it is missing.
std::string childText(const TiXmlElement* element, const char* name) {
    const TiXmlElement* child = element ? element->FirstChildElement(name) : nullptr;
    return child && child->GetText() ? child->GetText() : "";
}

class ExportTest : public HostCommandTest {
protected:
    /// Parses a written scene file; the test fails when it is not XML with a `scene` element.
    const TiXmlElement* parseScene(const std::filesystem::path& file) {
        std::string text = readFile(file);
        xml.Parse(text.c_str(), nullptr, TIXML_ENCODING_LEGACY);
        EXPECT_FALSE(xml.Error()) << xml.ErrorDesc() << "\n" << text;
        const TiXmlElement* scene = xml.RootElement();
        EXPECT_NE(scene, nullptr);
        if (scene) {
            EXPECT_EQ(std::string(scene->Value()), "scene");
        }
        return scene;
    }

    TiXmlDocument xml;
};

constexpr const char* smallScene = R"({
  "materials": [{"name": "Red", "channels": {"0": {"on": true}}, "params": {"2100": [0.9, 0.1, 0.1]}}],
  "objects": [
    {"type": "null", "name": "Group", "children": [
      {"type": "sphere", "name": "Ball", "position": [0, 100, 0], "tags": [{"type": "texture", "material": "Red"}]}]},
    {"type": "camera", "name": "Camera", "position": [0, 0, -500]}
  ],
  "view": {"camera": "Camera"}
})";

TEST_P(ExportTest, WritesASceneWithTheDefaultBackgroundFirstAndTheDefaultMaterial) {
    // A document of 2 MB or more makes the host start once more for the allocator's large pages:
    // the command must go on with every argument it was given.
    const std::string largeScene = R"({"comment": ")" + std::string(2 << 20, 'x') + "\", " + (smallScene + 1);
    for (const std::string& document : {std::string("{}"), std::string(smallScene), largeScene}) {
        SCOPED_TRACE(document.substr(0, 80));
        auto input = writeFile("scene.json", document);
        auto output = folder / "scene.xml";
        RunResult result = run({"export", input.string(), "-o", output.string(), "--quiet"});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(readFile(output).rfind("<?xml version=\"1.0\"", 0), 0u);
        const TiXmlElement* scene = parseScene(output);
        ASSERT_NE(scene, nullptr);
        // Without a render-settings tag the default background is the very first child.
        const TiXmlElement* first = scene->FirstChildElement();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(std::string(first->Value()), "background");
        EXPECT_EQ(childText(first, "radiance"), "0.0 0.2 0.2");
        int defaults = 0;
        for (const TiXmlElement* m = scene->FirstChildElement("material"); m; m = m->NextSiblingElement("material")) {
            if (childText(m, "name") != "lumeno_default_material") continue;
            ++defaults;
            EXPECT_EQ(childText(m->FirstChildElement("diffuse"), "colour"), "0.8 0.8 0.8");
        }
        EXPECT_EQ(defaults, 1);
    }
}

TEST_P(ExportTest, RefusedDocumentWritesNothingAndNamesThePath) {
    auto input = writeFile("broken.json", R"({"objects": [{"type": "null", "name": "A"},
        {"type": "instance", "params": {"INSTANCE_LINK": {"object": "A/Missing"}}}]})");
    auto fresh = folder / "fresh.xml";
    auto existing = writeFile("existing.xml", "old contents");
    for (const auto& output : {fresh, existing}) {
        RunResult result = run({"export", input.string(), "-o", output.string()});
        EXPECT_NE(result.status, 0);
        EXPECT_NE(result.err.find(input.string() + ": objects[1].params.INSTANCE_LINK.object: dangling link"),
                  std::string::npos)
            << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_EQ(readFile(existing), "old contents");

    auto syntax = writeFile("syntax.json", "{\n  \"objects\": [\n    {\"type\": \"null\"\n  ]\n}\n");
    RunResult result = run({"export", syntax.string(), "-o", fresh.string()});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find(syntax.string() + ":4:"), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(fresh));
}

TEST_P(ExportTest, UnwritableOutputIsNamedWithTheReason) {
    auto input = writeFile("scene.json", "{}");
    struct Case {
        std::string output;
        std::string reason;
    };
    // A path the system accepts but longer than the exporter's 255 characters.
    const auto deepFolder = folder / std::string(120, 'a') / std::string(120, 'b');
    std::filesystem::create_directories(deepFolder);
    const auto longPath = deepFolder / "scene.xml";
    const std::vector<Case> cases{
        {(folder / "no-such-folder" / "out.xml").string(), "does not exist"},
        {"/dev/full", "writing failed"},
        {longPath.string(), "at most 255"},
    };
    for (const auto& c : cases) {
        RunResult result = run({"export", input.string(), "-o", c.output});
        EXPECT_NE(result.status, 0) << c.output;
        EXPECT_NE(result.err.find("cannot write " + c.output + ": "), std::string::npos) << result.err;
        EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(longPath));
}

TEST_P(ExportTest, MissingDocumentIsNamed) {
    const std::string missing = (folder / "missing.json").string();
    RunResult result = run({"export", missing, "-o", (folder / "out.xml").string()});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find(missing + ": cannot open the file"), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "out.xml"));
}

INSTANTIATE_TEST_SUITE_P(BothReleases, ExportTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
