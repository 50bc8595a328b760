// The per-object walk through a whole save: which objects become meshes, how they are numbered
// and named, and what their `mesh` and `model` elements hold.
#include <fstream>
#include <map>

#include "export/lumeno_saver_data.h"
#include "geometry_fixture.h"
#include "host/documents/document_writer.h"
#include "host/memory/allocator.h"
#include "host/table/handle_counts.h"

namespace lumeno_test {
namespace {

class ObjectWalkTest : public GeometryTest {};

TEST_F(ObjectWalkTest, MeshesAreNumberedInWalkOrderBesideTheSceneFile) {
    HostNode* parent = Triangle("Parent");
    host::makeTextureTag(*parent, *red_);
    host::makeTextureTag(*Quad("Child", parent), *blue_);
    host::makeTextureTag(*Triangle("Second"), *red_);

    fs::path folder = Temp("D");
    fs::create_directories(folder);
    ASSERT_EQ(Save(folder / "a.xml"), FILE_RESULT_OK);
    auto xml = LoadScene(folder / "a.xml");
    ASSERT_NE(xml, nullptr);
    const TiXmlElement* scene = SceneOf(*xml);
    // Meshes of the mesh pass, then the materials, then the elements of the element pass.
    EXPECT_EQ(GeometryOrder(scene), "mesh mesh mesh | model model model");

    const std::vector<std::string> objects{"Parent", "Child", "Second"};
    const std::vector<std::string> materials{"Red", "Blue", "Red"};
    auto meshes = Elements(scene, "mesh");
    auto models = Elements(scene, "model");
    ASSERT_EQ(meshes.size(), 3u);
    ASSERT_EQ(models.size(), 3u);
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE(objects[n]);
        const std::string number = std::to_string(n);
        EXPECT_EQ(ChildText(meshes[n], "name"), "meshName_" + number);
        EXPECT_EQ(ChildText(meshes[n]->FirstChildElement("external"), "path"), "a.xml." + number + ".3DS");
        EXPECT_TRUE(fs::is_regular_file(folder / ("a.xml." + number + ".3DS")));

        EXPECT_EQ(NameComment(models[n]), objects[n]);
        EXPECT_EQ(ChildNames(models[n]), "pos scale mesh_name material_name");
        EXPECT_EQ(ChildText(models[n], "pos"), "0 0 0");
        EXPECT_EQ(ChildText(models[n], "scale"), "0.010000");
        EXPECT_EQ(ChildText(models[n], "mesh_name"), "meshName_" + number);
        EXPECT_EQ(ChildText(models[n], "material_name"), materials[n]);
    }
    EXPECT_FALSE(fs::exists(folder / "a.xml.3.3DS"));
}

TEST_F(ObjectWalkTest, ObjectsWithoutAMaterialOfTheDocumentWriteNothingButTheirChildrenDo) {
    HostNode* plain = Triangle("Plain");
    host::makeTextureTag(*Triangle("Child of plain", plain), *red_);

    // A material of another document, and one in no document, are not the document's.
    host::NodePtr other = host::createDocument();
    HostNode* foreign = host::makeMaterial(*other, "Foreign");
    host::NodePtr loose = host::newMaterial("Loose");
    HostNode* elsewhere = Triangle("Elsewhere");
    host::makeTextureTag(*elsewhere, *foreign);
    host::makeTextureTag(*elsewhere, *loose);
    host::makeTag(*elsewhere, TYPE_TEXTURE_TAG); // no material at all
    host::makeTextureTag(*Triangle("Child of elsewhere", elsewhere), *blue_);

    auto xml = SaveAndLoad();
    ASSERT_NE(xml, nullptr);
    auto models = Elements(SceneOf(*xml), "model");
    ASSERT_EQ(models.size(), 2u);
    EXPECT_EQ(NameComment(models[0]), "Child of plain");
    EXPECT_EQ(ChildText(models[0], "mesh_name"), "meshName_0");
    EXPECT_EQ(NameComment(models[1]), "Child of elsewhere");
    EXPECT_EQ(ChildText(models[1], "mesh_name"), "meshName_1");
    EXPECT_EQ(Elements(SceneOf(*xml), "mesh").size(), 2u);
}

TEST_F(ObjectWalkTest, ObjectWithoutTrianglesWritesNothingAndDoesNotAdvanceTheCounter) {
    host::makeTextureTag(*host::makeObject(*document_, TYPE_NULL, "Empty null"), *red_);
    host::makeTextureTag(*host::makeObject(*document_, TYPE_POLYGON_OBJECT, "No polygons"), *red_);
    host::makeTextureTag(*Triangle("Triangle"), *red_);

    auto xml = SaveAndLoad();
    ASSERT_NE(xml, nullptr);
    auto models = Elements(SceneOf(*xml), "model");
    ASSERT_EQ(models.size(), 1u);
    EXPECT_EQ(NameComment(models[0]), "Triangle");
    EXPECT_EQ(ChildText(models[0], "mesh_name"), "meshName_0");
    EXPECT_TRUE(fs::exists(MeshFile(0)));
    EXPECT_FALSE(fs::exists(MeshFile(1)));
}

TEST_F(ObjectWalkTest, ExclusionHidesTheObjectItselfButNotItsChildren) {
    HostNode* excluded = Triangle("Excluded");
    host::makeTextureTag(*excluded, *red_);
    ObjectTag(*excluded, false, true);
    host::makeTextureTag(*Triangle("Child", excluded), *blue_);
    // Exclusion reads the first object tag only.
    HostNode* kept = Triangle("Kept");
    host::makeTextureTag(*kept, *red_);
    ObjectTag(*kept, false, false);
    ObjectTag(*kept, false, true);

    auto xml = SaveAndLoad();
    ASSERT_NE(xml, nullptr);
    auto models = Elements(SceneOf(*xml), "model");
    ASSERT_EQ(models.size(), 2u);
    EXPECT_EQ(NameComment(models[0]), "Child");
    EXPECT_EQ(ChildText(models[0], "material_name"), "Blue");
    EXPECT_EQ(NameComment(models[1]), "Kept");
}

TEST_F(ObjectWalkTest, SmoothingOffAddsNormalSmoothingFalseAfterTheMeshName) {
    host::makeTextureTag(*Triangle("Smooth"), *red_);
    HostNode* fresh = Triangle("Fresh tag");
    host::makeTextureTag(*fresh, *red_);
    host::addPluginTag(session().registry(), *fresh, kLumenoGenericObjTagId);
    HostNode* flat = Triangle("Flat");
    host::makeTextureTag(*flat, *red_);
    ObjectTag(*flat, true, false);
    // The mesh conversion reads every object tag in order: the last one counts.
    HostNode* lastCounts = Triangle("Last counts");
    host::makeTextureTag(*lastCounts, *red_);
    ObjectTag(*lastCounts, true, false);
    ObjectTag(*lastCounts, false, false);

    auto xml = SaveAndLoad();
    ASSERT_NE(xml, nullptr);
    auto models = Elements(SceneOf(*xml), "model");
    ASSERT_EQ(models.size(), 4u);
    EXPECT_EQ(ChildNames(models[0]), "pos scale mesh_name material_name");
    EXPECT_EQ(ChildNames(models[1]), "pos scale mesh_name material_name");
    EXPECT_EQ(ChildNames(models[2]), "pos scale mesh_name normal_smoothing material_name");
    EXPECT_EQ(ChildText(models[2], "normal_smoothing"), "false");
    EXPECT_EQ(ChildNames(models[3]), "pos scale mesh_name material_name");
}

TEST_F(ObjectWalkTest, InstanceOfAPolygonObjectWritesNothing) {
    HostNode* original = Triangle("Original");
    host::makeTextureTag(*original, *red_);
    HostNode* instance = host::makeObject(*document_, TYPE_INSTANCE, "Instance");
    instance->params.setLink(INSTANCE_LINK, original);
    host::makeTextureTag(*instance, *blue_);

    auto xml = SaveAndLoad();
    ASSERT_NE(xml, nullptr);
    auto models = Elements(SceneOf(*xml), "model");
    ASSERT_EQ(models.size(), 1u);
    EXPECT_EQ(NameComment(models[0]), "Original");
    EXPECT_FALSE(fs::exists(MeshFile(1)));
}

TEST_F(ObjectWalkTest, MaterialNameIsThatOfTheFirstTextureTagWithAMaterial) {
    HostNode* object = Triangle("Object");
    host::makeTag(*object, TYPE_TEXTURE_TAG);
    host::NodePtr loose = host::newMaterial("Loose");
    host::makeTextureTag(*object, *loose);
    host::makeTextureTag(*object, *blue_);
    host::makeTextureTag(*object, *red_);

    auto xml = SaveAndLoad();
    ASSERT_NE(xml, nullptr);
    auto models = Elements(SceneOf(*xml), "model");
    ASSERT_EQ(models.size(), 1u);
    EXPECT_EQ(ChildText(models[0], "material_name"), "Blue");
}

TEST_F(ObjectWalkTest, ObjectWithALightTagBecomesAMeshLightWithoutMaterial) {
    // Without a texture tag: the light tag alone makes the object a mesh.
    HostNode* lamp = Triangle("Lamp");
    host::makeTag(*lamp, kLumenoLightTagId);
    ObjectTag(*lamp, true, false);

    auto xml = SaveAndLoad();
    ASSERT_NE(xml, nullptr);
    const TiXmlElement* scene = SceneOf(*xml);
    EXPECT_EQ(GeometryOrder(scene), "mesh | meshlight");
    const TiXmlElement* light = scene->FirstChildElement("meshlight");
    EXPECT_EQ(NameComment(light), "Lamp");
    // A bare tag holds no spectrum type: the spectrum is empty, and last.
    EXPECT_EQ(ChildNames(light), "pos scale mesh_name normal_smoothing spectrum");
    EXPECT_EQ(light->FirstChildElement("spectrum")->FirstChild(), nullptr);
    EXPECT_EQ(ChildText(light, "mesh_name"), "meshName_0");
}

TEST_F(ObjectWalkTest, NameCommentKeepsTheFirst240Characters) {
    const std::string name = std::string(240, 'n') + std::string(60, 'x');
    host::makeTextureTag(*Triangle(name), *red_);
    auto xml = SaveAndLoad();
    ASSERT_NE(xml, nullptr);
    auto models = Elements(SceneOf(*xml), "model");
    ASSERT_EQ(models.size(), 1u);
    EXPECT_EQ(NameComment(models[0]), std::string(240, 'n'));
}

TEST_F(ObjectWalkTest, PositionAndScaleFollowTheRenderSettingsMultiplier) {
    host::makeTextureTag(*Triangle("Far", nullptr, {500, 600, 700}), *red_);
    host::addPluginTag(session().registry(), *host::makeObject(*document_, TYPE_NULL, "Settings"), kLumenoConfigId)
        ->params.setReal(1005, 0.5f);
    auto xml = SaveAndLoad();
    ASSERT_NE(xml, nullptr);
    const TiXmlElement* model = SceneOf(*xml)->FirstChildElement("model");
    // The placement is in the mesh file: the model stands at the origin.
    EXPECT_EQ(ChildText(model, "pos"), "0 0 0");
    EXPECT_EQ(ChildText(model, "scale"), "0.500000");
}

TEST_F(ObjectWalkTest, MeshFileThatCannotBeWrittenIsLeftOutAndTheSaveFails) {
    host::makeTextureTag(*Triangle("Blocked"), *red_);
    host::makeTextureTag(*Triangle("Written"), *blue_);
    // A folder where the first mesh file should go.
    fs::create_directories(MeshFile(0) / "occupied");

    auto xml = SaveAndLoad(FILE_RESULT_OPEN_FAILED);
    ASSERT_NE(xml, nullptr);
    const TiXmlElement* scene = SceneOf(*xml);
    // The rest of the scene is written, and nothing refers to the missing file.
    EXPECT_EQ(GeometryOrder(scene), "mesh | model");
    EXPECT_EQ(ChildText(scene->FirstChildElement("mesh"), "name"), "meshName_1");
    const TiXmlElement* model = scene->FirstChildElement("model");
    EXPECT_EQ(NameComment(model), "Written");
    EXPECT_EQ(ChildText(model, "mesh_name"), "meshName_1");
    EXPECT_TRUE(fs::is_regular_file(MeshFile(1)));

    bool named = false;
    for (const std::string& line : session().diagnostics())
        named = named || line.find(MeshFile(0).string()) != std::string::npos;
    EXPECT_TRUE(named) << "the host's diagnostics do not name " << MeshFile(0);
}

TEST_F(ObjectWalkTest, FailingAllocationsNeverLeaveAModelOnAnotherObjectsMeshAndNothingLeaks) {
    // Copies of the object tags are made by the module's allocator, so they fail in turn. Each
    // object stands at its own x, so a mesh file tells whose it is.
    const std::map<std::string, float> places{{"First", 0}, {"Second", 1000}, {"Third", 2000}};
    for (const auto& [name, x] : places) {
        HostNode* object = Triangle(name, nullptr, {x, 0, 0});
        host::makeTextureTag(*object, *red_);
        ObjectTag(*object, true, false);
    }
    host::Allocator& allocator = session().allocator();
    bool completed = false;
    for (uint64_t n = 1; n <= 200 && !completed; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " fails");
        fs::remove_all(dir_.path() / "run");
        fs::create_directories(dir_.path() / "run");
        const fs::path file = dir_.path() / "run" / "a.xml";
        const size_t blocks = allocator.liveBlocks();
        const long handles = session().liveHandles();
        allocator.failAllocation(n);
        const int32_t result = Save(file);
        completed = !allocator.failureHappened();
        allocator.failAllocation(0);
        EXPECT_EQ(allocator.liveBlocks(), blocks);
        EXPECT_EQ(session().liveHandles(), handles);
        EXPECT_EQ(result, completed ? FILE_RESULT_OK : FILE_RESULT_OUT_OF_MEMORY);

        TiXmlDocument xml(file.string());
        if (!xml.LoadFile()) continue; // no memory for the XML document itself: an empty file
        std::map<std::string, fs::path> meshFiles;
        for (const TiXmlElement* mesh : Elements(SceneOf(xml), "mesh"))
            meshFiles[ChildText(mesh, "name")] = file.parent_path() / ChildText(mesh->FirstChildElement("external"), "path");
        auto models = Elements(SceneOf(xml), "model");
        for (const TiXmlElement* model : models) {
            const std::string meshName = ChildText(model, "mesh_name");
            ASSERT_EQ(meshFiles.count(meshName), 1u) << meshName << " has no mesh";
            meshfile::MeshFile mesh = meshfile::readMeshFile(meshFiles[meshName]);
            EXPECT_TRUE(mesh.hasPoint({places.at(NameComment(model)), 0, 0}))
                << NameComment(model) << " placed on " << meshName;
        }
        if (completed) {
            EXPECT_EQ(models.size(), 3u);
        }
    }
    EXPECT_TRUE(completed);
}

TEST_F(ObjectWalkTest, SavingTwiceWithOneSaverNumbersFromZeroAgain) {
    host::makeTextureTag(*Triangle("Only"), *red_);
    SaverHandle saver(session());
    for (const char* name : {"first.xml", "second.xml"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(saver.Save(document_.get(), Temp(name)), FILE_RESULT_OK);
        auto xml = LoadScene(Temp(name));
        ASSERT_NE(xml, nullptr);
        EXPECT_EQ(ChildText(SceneOf(*xml)->FirstChildElement("mesh"), "name"), "meshName_0");
        EXPECT_EQ(ChildText(SceneOf(*xml)->FirstChildElement("model"), "mesh_name"), "meshName_0");
        EXPECT_TRUE(fs::exists(Temp(std::string(name) + ".0.3DS")));
    }
}

TEST_F(ObjectWalkTest, ExportLeavesTheDocumentAsItWasAndFreesEveryDocumentItMade) {
    HostNode* group = host::makeObject(*document_, TYPE_NULL, "Group");
    group->local.off = {10, 20, 30};
    HostNode* parent = Quad("Parent", group);
    host::makeTextureTag(*parent, *red_);
    ObjectTag(*parent, true, false);
    host::makeTextureTag(*Triangle("Own mesh", parent), *blue_);
    Triangle("Plain", parent);
    HostNode* hidden = Triangle("Hidden", parent);
    ObjectTag(*hidden, false, true);
    Triangle("Below hidden", hidden);
    host::makeObject(*document_, TYPE_SPHERE, "Ball", parent);
    HostNode* cube = host::makeObject(*document_, TYPE_CUBE, "Cube");
    host::makeTextureTag(*cube, *red_);

    const std::string before = host::documentToJson(*document_, session().registry());
    const long handles = session().liveHandles();
    const long documents = host::handleCounts().documents;
    const size_t blocks = session().allocator().liveBlocks();
    ASSERT_EQ(Save(SceneFile()), FILE_RESULT_OK);
    EXPECT_EQ(host::documentToJson(*document_, session().registry()), before);
    // Documents handed to the module count as handles until it frees them.
    EXPECT_EQ(host::handleCounts().documents, documents);
    EXPECT_EQ(session().liveHandles(), handles);
    EXPECT_EQ(session().allocator().liveBlocks(), blocks);
    EXPECT_TRUE(fs::exists(MeshFile(2)));
}

} // namespace
} // namespace lumeno_test
