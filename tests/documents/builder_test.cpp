// What a document file builds: values typed by their JSON form, plug-in tags made by their
// allocator and initialise and then overwritten, links, placements, the view and settings.
#include <cmath>
#include <filesystem>
#include <fstream>

#include "document_fixture.h"
#include "host/documents/document_loader.h"
#include "host/documents/document_parser.h"
#include "host/documents/placement.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/model/links.h"
#include "host/model/object_params.h"
#include "host/model/placement.h"
#include "host/plugins/plugin_tags.h"
#include "host_constants.h"

namespace testing_documents {
namespace {

void expectVector(const HostVector& actual, float x, float y, float z) {
    EXPECT_NEAR(actual.x, x, 1e-6f);
    EXPECT_NEAR(actual.y, y, 1e-6f);
    EXPECT_NEAR(actual.z, z, 1e-6f);
}

HostNode* linked(const HostContainer& params, int32_t id, const HostNode& document) {
    return host::resolveLink(params.getLinkToken(id), &document, LINK_FILTER_ANY);
}

using BuilderTest = DocumentTest;

TEST_F(BuilderTest, EmptyObjectIsAnEmptyDocumentWithTheDefaultView) {
    host::NodePtr document = load("{}");
    EXPECT_EQ(host::firstObject(*document), nullptr);
    EXPECT_EQ(host::firstMaterial(*document), nullptr);
    HostView* view = host::activeView(*document);
    ASSERT_NE(view, nullptr);
    HostNode* editor = host::viewEditorCamera(*view);
    ASSERT_NE(editor, nullptr);
    expectVector(host::globalMatrix(*editor).off, 0, 0, host::DEFAULT_EDITOR_CAMERA_Z);
    EXPECT_EQ(host::documentSetting(*document, DOCUMENT_PATH), "");
}

TEST_F(BuilderTest, ValuesAreTypedByTheirJsonForm) {
    host::NodePtr document = load(R"({"objects": [{"type": "null", "name": "N", "params": {
        "1": true, "2": 7, "3": 7.0, "4": 1e2, "5": [1, 2.5, -3], "6": "text", "7": {"file": "a/b.png"},
        "8": {"container": {"1": 4, "2": {"container": {"9": "deep"}}}}, "9": {"object": null}}}]})");
    const HostContainer& p = host::firstObject(*document)->params;
    EXPECT_EQ(host::valueType(*p.find(1)), HOST_VALUE_BOOL);
    EXPECT_TRUE(p.getBool(1));
    EXPECT_EQ(host::valueType(*p.find(2)), HOST_VALUE_INT);
    EXPECT_EQ(p.getInt(2), 7);
    EXPECT_EQ(host::valueType(*p.find(3)), HOST_VALUE_REAL);
    EXPECT_EQ(host::valueType(*p.find(4)), HOST_VALUE_REAL);
    EXPECT_FLOAT_EQ(p.getReal(4), 100.0f);
    expectVector(p.getVector(5), 1, 2.5f, -3);
    EXPECT_EQ(p.getString(6), "text");
    EXPECT_EQ(host::valueType(*p.find(7)), HOST_VALUE_FILENAME);
    EXPECT_EQ(p.getFilename(7), "a/b.png");
    ASSERT_NE(p.getContainer(8), nullptr);
    EXPECT_EQ(p.getContainer(8)->getInt(1), 4);
    EXPECT_EQ(p.getContainer(8)->getContainer(2)->getString(9), "deep");
    EXPECT_EQ(host::valueType(*p.find(9)), HOST_VALUE_LINK);
    EXPECT_EQ(p.getLinkToken(9), 0u);
}

TEST_F(BuilderTest, PluginTagKeepsItsDefaultsWhereTheDocumentIsSilent) {
    host::NodePtr document = load(R"({"objects": [{"type": "null", "tags": [
        {"type": "Test Settings", "params": {"LCFG_HEIGHT": 300, "LCFG_POS_SIZE_MULTIPLIER": 2,
                                             "LCFG_TONEMAPPING_TYPE": "LCFG_TONEMAPPING_REINHARD",
                                             "LCFG_WHITE_BALANCE": 3013, "LCFG_HALT_TIME": null}},
        {"type": 10000, "name": "Second"}]}]})");
    HostNode* tag = host::firstObject(*document)->tags().first();
    ASSERT_NE(tag, nullptr);
    ASSERT_NE(host::pluginTag(*tag), nullptr); // made by the plug-in's allocator
    EXPECT_EQ(tag->type(), settingsTagId);
    const HostContainer& p = tag->params;
    EXPECT_EQ(p.getInt(1009), initWidth);    // from the tag's initialise
    EXPECT_TRUE(p.getBool(1017));            // from the tag's initialise
    EXPECT_EQ(p.getInt(1010), 300);          // from the document
    EXPECT_EQ(host::valueType(*p.find(1005)), HOST_VALUE_REAL); // an integer for a real parameter
    EXPECT_FLOAT_EQ(p.getReal(1005), 2.0f);
    EXPECT_EQ(p.getInt(1022), 1021);         // a choice by its name
    EXPECT_EQ(p.getInt(3000), 3013);         // codes outside the list are kept
    EXPECT_FALSE(p.has(2502));               // null took the tag's -1 away
    ASSERT_NE(tag->next(), nullptr);
    EXPECT_EQ(tag->next()->name, "Second");
    EXPECT_EQ(tag->next()->params.getInt(1009), initWidth);
}

TEST_F(BuilderTest, LinksResolveByPathOfNamesAfterEveryObjectExists) {
    host::NodePtr document = load(R"({
      "materials": [{"name": "Wood"}, {"name": "Red"}],
      "objects": [
        {"type": "instance", "name": "Copy", "params": {"INSTANCE_LINK": {"object": ["Group", "Sub/Part"]}}},
        {"type": "camera", "name": "Cam", "tags": [{"type": "camera-target", "target": "Group"}]},
        {"type": "null", "name": "Group", "children": [
          {"type": "cube", "name": "Sub/Part", "tags": [{"type": "texture", "material": "Red"}]},
          {"type": "null", "name": "Holder", "tags": [{"type": "Test Settings", "params": {
             "LCFG_SUN_OBJECT": {"object": "Cam"}}}]}]}],
      "view": {"camera": "Cam"}})");
    HostNode* copy = host::firstObject(*document);
    HostNode* cam = copy->next();
    HostNode* group = cam->next();
    HostNode* part = group->children().first();
    HostNode* holder = part->next();
    EXPECT_EQ(linked(copy->params, INSTANCE_LINK, *document), part);
    EXPECT_EQ(linked(cam->tags().first()->params, CAMERA_TARGET_LINK, *document), group);
    EXPECT_EQ(linked(part->tags().first()->params, TEXTURE_TAG_MATERIAL, *document),
              host::firstMaterial(*document)->next());
    EXPECT_EQ(linked(holder->tags().first()->params, 1001, *document), cam);
    EXPECT_EQ(host::viewSceneCamera(*host::activeView(*document), *document), cam);
}

TEST_F(BuilderTest, DeepHierarchyKeepsEachLevelsSiblingsTagsGeometryAndLinks) {
    // Each level: a leaf before the next level and one after it, so that siblings are read and
    // built on both sides of a deep descent; the link names the bottom's last leaf by its path.
    constexpr int levels = 900;
    std::string text = R"({"materials": [{"name": "Red"}], "objects": [)";
    std::string bottomPath;
    for (int i = 0; i < levels; ++i) {
        text += R"({"type": "null", "name": "L)" + std::to_string(i) + R"(", "children": [{"type": "polygon", "name": "Before", )"
                R"("points": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "polygons": [[0, 1, 2]]}, )";
        bottomPath += "L" + std::to_string(i) + "/";
    }
    text += R"({"type": "cube", "name": "Bottom"})";
    for (int i = 0; i < levels; ++i) text += R"(, {"type": "cube", "name": "After", "tags": [{"type": "texture", "material": "Red"}]}]})";
    text += R"(, {"type": "instance", "name": "Copy", "params": {"INSTANCE_LINK": {"object": ")" + bottomPath + R"(After"}}}]})";
    host::NodePtr document = load(text);

    HostNode* level = host::firstObject(*document);
    HostNode* last = nullptr;
    for (int i = 0; i < levels; ++i) {
        ASSERT_EQ(level->name, "L" + std::to_string(i));
        HostNode* before = level->children().first();
        ASSERT_EQ(before->name, "Before");
        EXPECT_EQ(before->points.size(), 3u);
        EXPECT_EQ(before->polygons.size(), 1u);
        last = before->next()->next();
        ASSERT_EQ(last->name, "After");
        EXPECT_EQ(linked(last->tags().first()->params, TEXTURE_TAG_MATERIAL, *document), host::firstMaterial(*document));
        EXPECT_EQ(last->next(), nullptr);
        level = before->next();
    }
    EXPECT_EQ(level->name, "Bottom");
    HostNode* copy = host::firstObject(*document)->next();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(linked(copy->params, INSTANCE_LINK, *document), last);
}

TEST_F(BuilderTest, PlacementFromPositionRotationAndScale) {
    // Heading 90 turns z to +x; pitch 90 turns y to +z; bank 90 turns x to +y.
    host::NodePtr document = load(R"({"objects": [
        {"type": "null", "name": "H", "position": [1, 2, 3], "rotation": [90, 0, 0], "scale": 2},
        {"type": "null", "name": "P", "rotation": [0, 90, 0]},
        {"type": "null", "name": "B", "rotation": [0, 0, 90], "scale": [1, 3, 1]},
        {"type": "null", "name": "M", "matrix": {"offset": [5, 6, 7], "v2": [0, 0, 1], "v3": [0, -1, 0]},
         "children": [{"type": "null", "name": "Child", "position": [0, 10, 0]}]}]})");
    HostNode* h = host::firstObject(*document);
    HostMatrix m = host::localMatrix(*h);
    expectVector(m.off, 1, 2, 3);
    expectVector(m.v1, 0, 0, -2);
    expectVector(m.v2, 0, 2, 0);
    expectVector(m.v3, 2, 0, 0);
    m = host::localMatrix(*h->next());
    expectVector(m.v2, 0, 0, 1);
    expectVector(m.v3, 0, -1, 0);
    m = host::localMatrix(*h->next()->next());
    expectVector(m.v1, 0, 1, 0);
    expectVector(m.v2, -3, 0, 0);
    HostNode* matrixObject = h->next()->next()->next();
    m = host::localMatrix(*matrixObject);
    expectVector(m.v1, 1, 0, 0); // an axis not given stays the identity's
    // The child's position is relative to its parent: (0, 10, 0) lands at offset + 10 * v2.
    expectVector(host::globalMatrix(*matrixObject->children().first()).off, 5, 6, 17);
    EXPECT_EQ(host::placementMatrix({0, 0, 0}, {0, 0, 0}, {1, 1, 1}).v1.x, 1.0);
}

TEST_F(BuilderTest, PolygonObjectsAndMaterials) {
    host::NodePtr document = load(R"({
      "materials": [{"name": "Tiles", "channels": {"0": {"on": true, "texture": "tiles.png"},
                                                    "6": {"on": false, "data": {"1003": 2.5}}},
                     "params": {"2100": [0.5, 0.25, 1]}}],
      "objects": [{"type": "polygon", "name": "Quad and triangle",
                   "points": [[0, 0, 0], [1, 0, 0], [1, 1, 0], [0, 1, 0], [2, 0, 0]],
                   "polygons": [[0, 1, 2, 3], [1, 4, 2]]}]})");
    HostNode* object = host::firstObject(*document);
    ASSERT_EQ(object->points.size(), 5u);
    expectVector(object->points[4], 2, 0, 0);
    ASSERT_EQ(object->polygons.size(), 2u);
    EXPECT_EQ(object->polygons[0].d, 3);
    EXPECT_EQ(object->polygons[1].c, 2);
    EXPECT_EQ(object->polygons[1].d, 2); // a triangle repeats its third corner
    HostNode* material = host::firstMaterial(*document);
    EXPECT_EQ(material->name, "Tiles");
    const host::MaterialChannel* colour = host::findChannel(*material, 0);
    ASSERT_NE(colour, nullptr);
    EXPECT_TRUE(colour->enabled);
    EXPECT_EQ(colour->data.getString(1002), "tiles.png"); // the texture name is a text
    const host::MaterialChannel* bump = host::findChannel(*material, 6);
    ASSERT_NE(bump, nullptr);
    EXPECT_FALSE(bump->enabled);
    EXPECT_FLOAT_EQ(bump->data.getReal(1003), 2.5f);
    expectVector(material->params.getVector(2100), 0.5f, 0.25f, 1);
}

TEST_F(BuilderTest, ViewAndDocumentSettings) {
    host::NodePtr none = load(R"({"view": null})");
    EXPECT_EQ(host::activeView(*none), nullptr);

    host::NodePtr editor = load(R"({"view": {"editor": {"position": [100, 200, 300],
        "params": {"CAMERA_FILM_WIDTH": 24.0, "CAMERA_FOCUS_DISTANCE": 500}}},
        "document": {"path": "/scenes", "name": "studio.c4d"}})");
    HostNode* camera = host::viewEditorCamera(*host::activeView(*editor));
    ASSERT_NE(camera, nullptr);
    expectVector(host::globalMatrix(*camera).off, 100, 200, 300);
    EXPECT_FLOAT_EQ(host::cameraFilmWidth(*camera), 24.0f);
    EXPECT_FLOAT_EQ(host::cameraFocusDistance(*camera), 500.0f);
    EXPECT_FLOAT_EQ(camera->params.getReal(CAMERA_FIELD_OF_VIEW), host::DEFAULT_FIELD_OF_VIEW);
    EXPECT_EQ(host::documentSetting(*editor, DOCUMENT_PATH), "/scenes");
    EXPECT_EQ(host::documentSetting(*editor, DOCUMENT_FILE_NAME), "studio.c4d");
}

TEST_F(BuilderTest, AFileWithoutSettingsGetsItsOwnFolderAndName) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "documents_test_settings.json";
    {
        std::ofstream out(file);
        out << R"({"objects": [{"type": "null"}]})";
    }
    host::NodePtr document = host::loadDocumentFile(file, registry);
    EXPECT_EQ(host::documentSetting(*document, DOCUMENT_PATH), file.parent_path().string());
    EXPECT_EQ(host::documentSetting(*document, DOCUMENT_FILE_NAME), "documents_test_settings.json");
    std::filesystem::remove(file);
}

} // namespace
} // namespace testing_documents
