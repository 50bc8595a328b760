// Materials of real models as their files mean them: names in Latin-1, textures that stay found
// when a document is imported into one folder and exported into another, and COLLADA materials
// that are opaque in the file.
#include <tinyxml.h>

#include "e2e_fixture.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

const fs::path models = "/usr/share/assimp/models";

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class ModelMaterialTest : public HostCommandTest {
protected:
    void SetUp() override {
        HostCommandTest::SetUp();
        if (!fs::is_directory(models)) GTEST_SKIP() << "assimp-testmodels is not installed";
    }
};

TEST_P(ModelMaterialTest, ALatinOneNameIsReadAsLatinOne) {
    // regr01.mtl names a material "newmtl Terraind\xE6k", a byte that is not UTF-8 on its own.
    const fs::path document = folder / "regr01.json";
    RunResult imported = run({"import", (models / "OBJ/regr01.obj").string(), "-o", document.string()});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_NE(readFile(document).find("Terraind\u00e6k"), std::string::npos);

    RunResult exported = run({"export", (models / "OBJ/regr01.obj").string(), "-o", (folder / "r.xml").string()});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_NE(readFile(folder / "r.xml").find("<name>Terraind\u00e6k</name>"), std::string::npos);
}

TEST_P(ModelMaterialTest, ImportedIntoOneFolderAndExportedIntoAnotherTheTexturesAreFound) {
    // spider.obj names five textures beside it; BoxTextured.glb embeds one.
    for (const char* model : {"OBJ/spider.obj", "glTF2/BoxTextured-glTF-Binary/BoxTextured.glb"}) {
        SCOPED_TRACE(model);
        fs::create_directories(folder / "documents");
        fs::create_directories(folder / "scenes");
        const fs::path document = folder / "documents" / "model.json";
        RunResult imported = run({"import", (models / model).string(), "-o", document.string()});
        ASSERT_EQ(imported.status, 0) << imported.err;
        RunResult fromDocument = run({"export", document.string(), "-o", (folder / "scenes" / "a.xml").string()});
        RunResult fromModel = run({"export", (models / model).string(), "-o", (folder / "scenes" / "b.xml").string()});
        ASSERT_EQ(fromDocument.status, 0) << fromDocument.err;
        ASSERT_EQ(fromModel.status, 0) << fromModel.err;
        EXPECT_EQ(count(fromDocument.err, "cannot be found"), count(fromModel.err, "cannot be found")) << fromDocument.err;
        EXPECT_EQ(count(fromDocument.err, "cannot be found"), 0u) << fromDocument.err;
        EXPECT_EQ(count(readFile(folder / "scenes" / "a.xml"), "<albedo_texture>"),
                  count(readFile(folder / "scenes" / "b.xml"), "<albedo_texture>"));
    }
}

TEST_P(ModelMaterialTest, OpaqueColladaMaterialsAreNotGlass) {
    // teapots.DAE: three phong materials with <transparent> 1 1 1 1 and <transparency>0</transparency>.
    RunResult result = run({"export", (models / "Collada/teapots.DAE").string(), "-o", (folder / "t.xml").string()});
    ASSERT_EQ(result.status, 0) << result.err;
    TiXmlDocument xml;
    xml.Parse(readFile(folder / "t.xml").c_str(), nullptr, TIXML_ENCODING_LEGACY);
    int materials = 0;
    for (const TiXmlElement* m = xml.RootElement()->FirstChildElement("material"); m; m = m->NextSiblingElement("material")) {
        ++materials;
        EXPECT_EQ(m->FirstChildElement("specular"), nullptr);
    }
    EXPECT_EQ(materials, 4); // the three teapots' and the default material
}

INSTANTIATE_TEST_SUITE_P(Releases, ModelMaterialTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
