// Materials through lumeno-host: every model of every example names a material of its own file,
// a helper tag edits its material as the application's panel does, and materials that share a
// name are told about.
#include <set>
#include <string>

#include <tinyxml.h>

#include "e2e_fixture.h"

namespace e2e {
namespace {

std::string childText(const TiXmlElement* element, const char* name) {
    const TiXmlElement* child = element ? element->FirstChildElement(name) : nullptr;
    return child && child->GetText() ? child->GetText() : "";
}

class MaterialExportTest : public HostCommandTest {
protected:
    /// Exports a document; answers the parsed scene element (the test fails without one).
    const TiXmlElement* exportScene(const std::filesystem::path& document, const std::string& name) {
        const std::filesystem::path out = folder / (name + ".xml");
        RunResult result = run({"export", document.string(), "-o", out.string()});
        EXPECT_EQ(result.status, 0) << result.err;
        lastErr = result.err;
        xml = TiXmlDocument();
        xml.Parse(readFile(out).c_str(), nullptr, TIXML_ENCODING_LEGACY);
        return xml.RootElement();
    }
    TiXmlDocument xml;
    std::string lastErr;
};

TEST_P(MaterialExportTest, EveryMaterialNameOfEveryExampleNamesAMaterialOfItsFile) {
    int exported = 0;
    for (const auto& entry : std::filesystem::directory_iterator(LUMENO_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".json") continue;
        SCOPED_TRACE(entry.path().filename().string());
        const TiXmlElement* scene = exportScene(entry.path(), entry.path().stem().string());
        ASSERT_NE(scene, nullptr);
        std::set<std::string> materials;
        for (const TiXmlElement* m = scene->FirstChildElement("material"); m; m = m->NextSiblingElement("material"))
            materials.insert(childText(m, "name"));
        int named = 0;
        for (const TiXmlElement* e = scene->FirstChildElement(); e; e = e->NextSiblingElement()) {
            if (!e->FirstChildElement("material_name")) continue;
            ++named;
            EXPECT_EQ(materials.count(childText(e, "material_name")), 1u)
                << e->Value() << " names \"" << childText(e, "material_name") << "\"";
        }
        if (entry.path().filename() == "materials.json") {
            EXPECT_EQ(materials.size(), 7u) << "six of the document's and the default";
            EXPECT_GT(named, 0);
        }
        ++exported;
    }
    EXPECT_GE(exported, 4);
}

constexpr const char* helperDocument = R"({
  "materials": [ {"name": "Paint", "channels": {"0": {"on": true}, "2": {"on": true}}} ],
  "objects": [ {"type": "sphere", "name": "Ball", "tags": [
      {"type": "texture", "material": "Paint"},
      {"type": "Lumeno Material Helper", "params": {"LMAT_MATERIAL": {"material": "Paint"}}} ]} ]
})";

TEST_P(MaterialExportTest, DescribeShowsTheMaterialsKindAndSavesTheWrittenBackMaterial) {
    auto input = writeFile("helper.json", helperDocument);
    RunResult shown = run({"describe", input.string(), "--object", "Ball", "--tag", "Tlumenomaterialhelpertag"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("Specular (1003)"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("LMAT_IOR"), std::string::npos) << shown.out;
    EXPECT_EQ(shown.out.find("LMAT_PHONG_EXPONENT"), std::string::npos) << shown.out;

    auto saved = folder / "saved.json";
    RunResult edited = run({"describe", input.string(), "--object", "Ball", "--tag", "10008", "--set",
                            "LMAT_KIND=LMAT_KIND_PHONG", "--set", "LMAT_PHONG_EXPONENT=5000", "--set", "LMAT_NK_DATA=5013",
                            "-o", saved.string()});
    ASSERT_EQ(edited.status, 0) << edited.err;
    EXPECT_NE(edited.out.find("Phong (1002)"), std::string::npos) << edited.out;
    EXPECT_NE(edited.out.find("Silver (5013)"), std::string::npos) << "the catalogue's labels are choices";

    const TiXmlElement* scene = exportScene(saved, "saved");
    ASSERT_NE(scene, nullptr);
    const TiXmlElement* phong = scene->FirstChildElement("material")->FirstChildElement("phong");
    ASSERT_NE(phong, nullptr) << "the written-back material is phong";
    EXPECT_EQ(childText(phong, "nk_data"), "nkdata/Ag.nk");
    EXPECT_EQ(childText(phong, "exponent"), "5000.000000");
}

TEST_P(MaterialExportTest, MaterialsSharingANameAreWrittenWithAWarning) {
    auto input = writeFile("same.json", R"({"materials": [{"name": "Same"}, {"name": "Same"}, {"name": "Other"}]})");
    const TiXmlElement* scene = exportScene(input, "same");
    ASSERT_NE(scene, nullptr);
    EXPECT_NE(lastErr.find("2 materials share the name \"Same\""), std::string::npos) << lastErr;
    EXPECT_EQ(lastErr.find("Other"), std::string::npos) << lastErr;
}

INSTANTIATE_TEST_SUITE_P(BothReleases, MaterialExportTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
