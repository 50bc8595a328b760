// The merged strategy (LCFG_MERGED_MESH_EXPORT on) through whole saves: what goes into the smooth
// and the unsmoothed mesh, the "Mat_%d" materials and the face materials of the files, mesh
// lights, analytic shapes, the order of the scene, failures, and very long or deep trees.
#include <functional>
#include <map>
#include <set>

#include "export/lumeno_saver_data.h"
#include "geometry_fixture.h"
#include "host/documents/document_writer.h"
#include "host/memory/allocator.h"
#include "host/model/object_params.h"
#include "host/table/handle_counts.h"
#include "tags/lumeno_config_ids.h"
#include "tags/lumeno_light_tag_ids.h"

namespace lumeno_test {
namespace {

constexpr int32_t kDiffuseColour = 2100;

class MergedExportTest : public GeometryTest {
protected:
    void SetUp() override {
        GeometryTest::SetUp();
        // Told apart by the host's comparison, which does not look at names.
        red_->params.setVector(kDiffuseColour, {1, 0, 0});
        blue_->params.setVector(kDiffuseColour, {0, 0, 1});
        HostNode* settings = host::makeObject(*document_, TYPE_NULL, "Settings");
        config_ = host::addPluginTag(session().registry(), *settings, kLumenoConfigId);
        config_->params.setBool(LCFG_MERGED_MESH_EXPORT, true);
    }
    HostNode* Make(int32_t type, const std::string& name, HostVector offset = {0, 0, 0}, HostNode* parent = nullptr) {
        HostNode* object = host::makeObject(*document_, type, name, parent);
        object->local.off = offset;
        return object;
    }
    HostNode* AreaLight(const std::string& name) {
        HostNode* light = Make(TYPE_LIGHT, name);
        light->params.setInt(host::LIGHT_KIND, host::LIGHT_KIND_AREA);
        return light;
    }
    HostNode* LightTag(HostNode& object) { return host::addPluginTag(session().registry(), object, kLumenoLightTagId); }
    fs::path Merged(const char* kind) const { return Temp(std::string("a.xml.") + kind + ".3DS"); }
    /// Saves and keeps the parsed scene in `xml_`; answers its `scene`.
    const TiXmlElement* Saved(int32_t expected = FILE_RESULT_OK) {
        xml_ = SaveAndLoad(expected);
        return xml_ ? SceneOf(*xml_) : nullptr;
    }
    /// "smooth", "nosmooth" or "none": the merged file that holds a point at (x, 0, 0).
    std::string FileWithPoint(float x) const {
        std::string found = "none";
        for (const char* kind : {"smooth", "nosmooth"})
            if (fs::exists(Merged(kind)) && meshfile::readMeshFile(Merged(kind)).hasPoint({x, 0, 0}))
                found = found == "none" ? kind : found + "+" + kind;
        return found;
    }

    HostNode* config_ = nullptr;
    std::unique_ptr<TiXmlDocument> xml_;
};

TEST_F(MergedExportTest, EachObjectGoesToTheMeshItsTagsAndAncestryChoose) {
    struct Case {
        const char* name;
        std::function<void(HostNode&)> tags;  // on a triangle of that name
        bool belowTexturedNull;               // the triangle two levels below a null with Blue
        const char* expected;
    };
    const std::vector<Case> cases{
        {"textured", [&](HostNode& o) { host::makeTextureTag(o, *red_); }, false, "smooth"},
        {"smoothing off", [&](HostNode& o) { host::makeTextureTag(o, *red_); ObjectTag(o, true, false); }, false,
         "nosmooth"},
        {"name_SKIP_inside", [&](HostNode& o) { host::makeTextureTag(o, *red_); }, false, "none"},
        {"excluded", [&](HostNode& o) { host::makeTextureTag(o, *red_); ObjectTag(o, false, true); }, false, "none"},
        {"no material anywhere", [](HostNode&) {}, false, "none"},
        {"untextured below a textured null", [](HostNode&) {}, true, "smooth"},
        {"smoothing off below a textured null", [&](HostNode& o) { ObjectTag(o, true, false); }, true, "nosmooth"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        HostNode* parent = nullptr;
        if (cases[i].belowTexturedNull) {
            HostNode* group = Make(TYPE_NULL, "Group");
            host::makeTextureTag(*group, *blue_);
            parent = Make(TYPE_NULL, "Between", {0, 0, 0}, group);
        }
        cases[i].tags(*Triangle(cases[i].name, parent, {1000.0f * i, 0, 0}));
    }
    ASSERT_NE(Saved(), nullptr);
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(FileWithPoint(1000.0f * i), cases[i].expected);
    }
}

TEST_F(MergedExportTest, TwoMeshesWithTheirModelsAndMaterialsNamedMatInTheHostsOrder) {
    host::makeTextureTag(*Triangle("Smooth red"), *red_);
    host::makeTextureTag(*Triangle("Smooth blue", nullptr, {1000, 0, 0}), *blue_);
    HostNode* flat = Triangle("Flat blue", nullptr, {2000, 0, 0});
    host::makeTextureTag(*flat, *blue_);
    ObjectTag(*flat, true, false);
    const TiXmlElement* scene = Saved();
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(GeometryOrder(scene), "mesh mesh | model model");

    auto meshes = Elements(scene, "mesh");
    ASSERT_EQ(meshes.size(), 2u);
    EXPECT_EQ(ChildText(meshes[0], "name"), "smoothmesh");
    EXPECT_EQ(ChildText(meshes[0]->FirstChildElement("external"), "path"), "a.xml.smooth.3DS");
    EXPECT_EQ(ChildText(meshes[1], "name"), "nosmoothmesh");
    EXPECT_EQ(ChildText(meshes[1]->FirstChildElement("external"), "path"), "a.xml.nosmooth.3DS");

    // No material and no name comment: the faces carry their materials.
    auto models = Elements(scene, "model");
    ASSERT_EQ(models.size(), 2u);
    EXPECT_EQ(ChildNames(models[0]), "pos scale mesh_name");
    EXPECT_EQ(ChildText(models[0], "mesh_name"), "smoothmesh");
    EXPECT_EQ(ChildNames(models[1]), "normal_smoothing pos scale mesh_name");
    EXPECT_EQ(ChildText(models[1], "normal_smoothing"), "false");
    EXPECT_EQ(ChildText(models[1], "pos"), "0 0 0");
    EXPECT_EQ(ChildText(models[1], "scale"), "0.010000");
    EXPECT_EQ(ChildText(models[1], "mesh_name"), "nosmoothmesh");
    EXPECT_EQ(NameComment(models[0]), "<none>");

    // Materials inserted with no predecessor stand first: the host lists Mat_1, Mat_0.
    std::vector<std::string> names;
    for (const TiXmlElement* material : Elements(scene, "material")) names.push_back(ChildText(material, "name"));
    EXPECT_EQ(names, (std::vector<std::string>{"Mat_1", "Mat_0", "lumeno_default_material"}));

    // Red is the document's first material, Blue its second.
    std::map<std::string, std::set<std::string>> faceMaterials;
    for (const char* kind : {"smooth", "nosmooth"}) {
        meshfile::MeshFile file = meshfile::readMeshFile(Merged(kind));
        ASSERT_TRUE(file.read) << file.error;
        for (const meshfile::Mesh& mesh : file.meshes) faceMaterials[kind].insert(mesh.material);
    }
    EXPECT_EQ(faceMaterials["smooth"], (std::set<std::string>{"Mat_0", "Mat_1"}));
    EXPECT_EQ(faceMaterials["nosmooth"], (std::set<std::string>{"Mat_1"}));
    EXPECT_EQ(FileWithPoint(0), "smooth");
    EXPECT_EQ(FileWithPoint(2000), "nosmooth");
}

TEST_F(MergedExportTest, WithoutPolygonObjectsOnlyMaterialsAndShapesAreWritten) {
    host::makeTextureTag(*Make(TYPE_SPHERE, "Ball"), *red_);
    Triangle("Untextured");
    const TiXmlElement* scene = Saved();
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(GeometryOrder(scene), "|");
    EXPECT_EQ(Elements(scene, "material").size(), 3u);
    EXPECT_EQ(Elements(scene, "sphere").size(), 1u);
    EXPECT_FALSE(fs::exists(Merged("smooth")));
    EXPECT_FALSE(fs::exists(Merged("nosmooth")));
}

TEST_F(MergedExportTest, ShapesStayAnalyticNamedByTheWritingPassAndTakeTheirMatMaterial) {
    host::makeTextureTag(*Triangle("Ground"), *red_);
    host::makeTextureTag(*Make(TYPE_SPHERE, "Red ball", {5000, 0, 0}), *blue_);
    Make(TYPE_SPHERE, "Plain ball", {6000, 0, 0});
    AreaLight("Panel");
    AreaLight("Other panel");
    const TiXmlElement* scene = Saved();
    ASSERT_NE(scene, nullptr);
    auto spheres = Elements(scene, "sphere");
    ASSERT_EQ(spheres.size(), 2u);
    // The marking pass gave 0 and 1; the writing pass numbers on.
    EXPECT_EQ(NameComment(spheres[0]), "_SKIP_2");
    EXPECT_EQ(NameComment(spheres[1]), "_SKIP_3");
    // Blue's copy in the smooth target is Mat_1.
    EXPECT_EQ(ChildText(spheres[0], "material_name"), "Mat_1");
    EXPECT_EQ(ChildText(spheres[1], "material_name"), "lumeno_default_material");
    // Absent from the meshes: only the ground's triangle is there.
    meshfile::MeshFile smooth = meshfile::readMeshFile(Merged("smooth"));
    ASSERT_TRUE(smooth.read) << smooth.error;
    EXPECT_EQ(smooth.faces(), 1u);
    EXPECT_EQ(FileWithPoint(0), "smooth");
    // Each rectangle light once.
    auto lights = Elements(scene, "rectanglelight");
    ASSERT_EQ(lights.size(), 2u);
    EXPECT_EQ(NameComment(lights[0]), "Panel");
    EXPECT_EQ(NameComment(lights[1]), "Other panel");
    EXPECT_EQ(ChildText(lights[0], "material_name"), "<missing>");
}

TEST_F(MergedExportTest, EmittersBecomeMeshLightsOfTheirOwnNumberedFromZero) {
    for (float x : {0.0f, 1000.0f}) {
        HostNode* glow = Triangle("Glow", nullptr, {x, 0, 0});
        host::makeTextureTag(*glow, *red_);
        LightTag(*glow)->params.setInt(LLIGHT_SPECTRUM_TYPE, LLIGHT_SPECTRUM_BLACKBODY);
    }
    const TiXmlElement* scene = Saved();
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(GeometryOrder(scene), "mesh meshlight mesh meshlight |");
    auto meshes = Elements(scene, "mesh");
    auto lights = Elements(scene, "meshlight");
    ASSERT_EQ(meshes.size(), 2u);
    ASSERT_EQ(lights.size(), 2u);
    for (int n = 0; n < 2; ++n) {
        const std::string name = "light" + std::to_string(n);
        EXPECT_EQ(ChildText(meshes[n], "name"), name);
        EXPECT_EQ(ChildText(meshes[n]->FirstChildElement("external"), "path"), "a.xml." + name + ".3DS");
        EXPECT_EQ(ChildNames(lights[n]), "pos scale mesh_name spectrum");
        EXPECT_EQ(ChildText(lights[n], "mesh_name"), name);
        EXPECT_NE(lights[n]->FirstChildElement("spectrum")->FirstChildElement("blackbody"), nullptr);
        EXPECT_TRUE(meshfile::readMeshFile(Temp("a.xml." + name + ".3DS")).hasPoint({1000.0f * n, 0, 0}));
    }
    EXPECT_FALSE(fs::exists(Merged("smooth")));
}

TEST_F(MergedExportTest, InstancesAreMergedAtTheirPlaceAndInstancedShapesStayAnalytic) {
    HostNode* original = Triangle("Original");
    host::makeTextureTag(*original, *red_);
    HostNode* instance = Make(TYPE_INSTANCE, "Copy", {3000, 0, 0});
    instance->params.setLink(INSTANCE_LINK, original);
    host::makeTextureTag(*instance, *blue_);
    HostNode* ball = Make(TYPE_SPHERE, "Ball", {5000, 0, 0});
    Make(TYPE_INSTANCE, "Ball copy", {7000, 0, 0})->params.setLink(INSTANCE_LINK, ball);
    const TiXmlElement* scene = Saved();
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(FileWithPoint(0), "smooth");
    EXPECT_EQ(FileWithPoint(3000), "smooth");
    meshfile::MeshFile smooth = meshfile::readMeshFile(Merged("smooth"));
    EXPECT_EQ(smooth.faces(), 2u);
    std::set<std::string> materials;
    for (const meshfile::Mesh& mesh : smooth.meshes) materials.insert(mesh.material);
    EXPECT_EQ(materials, (std::set<std::string>{"Mat_0", "Mat_1"}));
    EXPECT_EQ(Elements(scene, "sphere").size(), 2u);
}

TEST_F(MergedExportTest, SettingsStandBeforeTheCamera) {
    config_->params.setBool(LCFG_RENDERER_SETTINGS, true);
    host::makeTextureTag(*Triangle("Only"), *red_);
    const TiXmlElement* scene = Saved();
    ASSERT_NE(scene, nullptr);
    // Every element of the render-settings tag stands before `camera`, and `camera` before the rest.
    const std::string names = " " + ChildNames(scene) + " ";
    const size_t camera = names.find(" camera ");
    ASSERT_NE(camera, std::string::npos);
    for (const char* settings : {" renderer_settings ", " background "}) {
        ASSERT_NE(names.find(settings), std::string::npos) << settings;
        EXPECT_LT(names.find(settings), camera) << names;
    }
    EXPECT_LT(camera, names.find(" mesh ")) << names;
}

TEST_F(MergedExportTest, UnwritableMeshFilesAreLeftOutTheRestWrittenAndTheSaveFails) {
    struct Case {
        const char* blocked;  // the file a folder stands in the way of
        const char* order;    // the geometry then written
    };
    // The mesh light's `mesh` and `meshlight` come from the merge walk, before the two meshes.
    const std::vector<Case> cases{
        {"a.xml.smooth.3DS", "mesh meshlight mesh | model"},
        {"a.xml.nosmooth.3DS", "mesh meshlight mesh | model"},
        {"a.xml.light0.3DS", "mesh mesh | model model"},
    };
    host::makeTextureTag(*Triangle("Smooth"), *red_);
    HostNode* flat = Triangle("Flat", nullptr, {1000, 0, 0});
    host::makeTextureTag(*flat, *red_);
    ObjectTag(*flat, true, false);
    LightTag(*Triangle("Glow", nullptr, {2000, 0, 0}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blocked);
        for (const char* kind : {"smooth", "nosmooth", "light0"}) fs::remove_all(Temp(std::string("a.xml.") + kind + ".3DS"));
        fs::create_directories(Temp(c.blocked) / "occupied");
        SaverHandle saver(session());
        ASSERT_EQ(saver.Save(document_.get(), SceneFile()), FILE_RESULT_OPEN_FAILED);
        EXPECT_EQ(std::string(saver->failedMeshFile), Temp(c.blocked).string());
        auto xml = LoadScene(SceneFile());
        ASSERT_NE(xml, nullptr);
        const TiXmlElement* scene = SceneOf(*xml);
        EXPECT_EQ(GeometryOrder(scene), c.order);
        for (const TiXmlElement* mesh : Elements(scene, "mesh"))
            EXPECT_NE(ChildText(mesh->FirstChildElement("external"), "path"), c.blocked);
        bool named = false;
        for (const std::string& line : session().diagnostics())
            named = named || line.find(Temp(c.blocked).string()) != std::string::npos;
        EXPECT_TRUE(named) << "the host's diagnostics do not name " << c.blocked;
    }
}

TEST_F(MergedExportTest, LongAndDeepTreesAreMergedWithoutExhaustingTheStack) {
    struct Case {
        const char* shape;
        int count;
        bool deep;  // each object the child of the one before, else all siblings
    };
    for (const Case& c : {Case{"siblings", 50000, false}, Case{"depth", 20000, true}}) {
        SCOPED_TRACE(c.shape);
        document_ = host::createDocument();
        red_ = host::makeMaterial(*document_, "Red");
        host::addPluginTag(session().registry(), *host::makeObject(*document_, TYPE_NULL, "Settings"), kLumenoConfigId)
            ->params.setBool(LCFG_MERGED_MESH_EXPORT, true);
        HostNode* parent = nullptr;
        for (int i = 0; i < c.count; ++i) {
            const float x = c.deep ? (i ? 1.0f : 0.0f) : static_cast<float>(i);
            HostNode* object = Triangle("T", c.deep ? parent : nullptr, {x, 0, 0});
            // Only the top of a deep chain has a material: the rest find it far up.
            if (!c.deep || i == 0) host::makeTextureTag(*object, *red_);
            parent = object;
        }
        const TiXmlElement* scene = Saved();
        ASSERT_NE(scene, nullptr);
        EXPECT_EQ(GeometryOrder(scene), "mesh | model");
        meshfile::MeshFile smooth = meshfile::readMeshFile(Merged("smooth"));
        ASSERT_TRUE(smooth.read) << smooth.error;
        EXPECT_EQ(smooth.faces(), static_cast<size_t>(c.count));
        // The last of the chain stands at x = count - 1.
        EXPECT_TRUE(smooth.hasPoint({static_cast<float>(c.count - 1), 0, 0}));
    }
}

TEST_F(MergedExportTest, UsersDocumentStaysAsItWasAndEveryDocumentMadeIsFreed) {
    HostNode* group = Make(TYPE_NULL, "Group", {10, 20, 30});
    host::makeTextureTag(*group, *red_);
    Quad("Child", group);
    HostNode* flat = Triangle("Flat", group);
    ObjectTag(*flat, true, false);
    host::makeTextureTag(*Make(TYPE_SPHERE, "Ball", {0, 0, 0}, group), *blue_);
    Make(TYPE_PLANE, "Floor");
    HostNode* cube = Make(TYPE_CUBE, "Cube");
    host::makeTextureTag(*cube, *blue_);
    LightTag(*Triangle("Glow"));
    AreaLight("Panel");
    Make(TYPE_INSTANCE, "Cube copy")->params.setLink(INSTANCE_LINK, cube);

    const std::string before = host::documentToJson(*document_, session().registry());
    const long documents = host::handleCounts().documents;
    const long handles = session().liveHandles();
    const size_t blocks = session().allocator().liveBlocks();
    ASSERT_NE(Saved(), nullptr);
    EXPECT_EQ(host::documentToJson(*document_, session().registry()), before);
    EXPECT_EQ(host::handleCounts().documents, documents);
    EXPECT_EQ(session().liveHandles(), handles);
    EXPECT_EQ(session().allocator().liveBlocks(), blocks);
    EXPECT_EQ(GeometryOrder(SceneOf(*xml_)), "mesh meshlight mesh mesh | model model");
}

}  // namespace
}  // namespace lumeno_test
