// Saving a document as a document file loads back to the same values.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "document_fixture.h"
#include "host/documents/document_error.h"
#include "host/documents/document_writer.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/model/links.h"
#include "host/model/placement.h"
#include "host_constants.h"

namespace testing_documents {
namespace {

/// Every value form, plug-in tag defaults changed and removed, links of each kind, a sub-container,
/// names that need escaping in paths, an editor view and document settings.
constexpr const char* richDocument = R"({
  "document": {"path": "/scenes", "name": "studio.c4d"},
  "view": {"editor": {"matrix": {"offset": [10, 20, 30], "v1": [0, 0, -1], "v3": [1, 0, 0]},
                      "params": {"CAMERA_FIELD_OF_VIEW": 0.5}}},
  "materials": [
    {"name": "Tiles", "channels": {"0": {"on": true, "texture": "tiles.png"}, "6": {"on": false, "data": {"1003": 2.5}}},
     "params": {"2100": [0.1, 0.2, 0.3], "3101": 0.01}},
    {"name": "Plain"}
  ],
  "objects": [
    {"type": "null", "name": "Group/A", "position": [1, 2, 3], "rotation": [30, 0, 0], "params": {"42": "note"},
     "tags": [{"type": "Test Settings", "name": "Mine",
               "params": {"LCFG_WIDTH": 1920, "LCFG_HALT_TIME": null, "LCFG_LOGGING": false,
                          "LCFG_POS_SIZE_MULTIPLIER": 0.001, "LCFG_SUN_OBJECT": {"object": ["Group/A", "Sun"]},
                          "LCFG_ENV_MAP_PATH": {"file": "sky.exr"}, "LCFG_BACKGROUND_RADIANCE": [0, 0.2, 0.2]}}],
     "children": [
       {"type": "light", "name": "Sun", "params": {"LIGHT_KIND": 8}},
       {"type": "polygon", "name": "Mesh", "points": [[0, 0, 0], [1, 0, 0], [1, 1, 0], [0, 1, 0]],
        "polygons": [[0, 1, 2], [0, 2, 3, 1]], "uvs": [[[0, 1], [1, 1], [1, 0]], [[0, 1], [1, 0], [0, 0, 0.5], [0.25, 0.75]]],
        "tags": [{"type": "texture", "material": "Tiles"}]}
     ]},
    {"type": "camera", "name": "Cam", "params": {"CAMERA_FILM_WIDTH": 24.0},
     "tags": [{"type": "camera-target", "target": ["Group/A", "Mesh"]}, {"type": "camera-target"}]},
    {"type": "instance", "name": "Copy", "params": {"INSTANCE_LINK": {"object": ["Group/A", "Mesh"]}, "77": {"material": "Plain"},
                                                    "78": {"container": {"1": [1, 2, 3], "2": {"file": "x"}}}}},
    {"type": 9999, "name": "Odd type"}
  ]
})";

using RoundTripTest = DocumentTest;

TEST_F(RoundTripTest, SavedDocumentLoadsToTheSameValues) {
    host::NodePtr original = load(richDocument);
    const std::string saved = host::documentToJson(*original, registry);
    host::NodePtr reloaded = load(saved);
    // Saving the reloaded document gives the same text: nothing was lost or changed on the way.
    EXPECT_EQ(host::documentToJson(*reloaded, registry), saved);

    // And the values are those of the original document, not merely stable ones.
    HostNode* group = host::firstObject(*reloaded);
    const HostNode* uvwTag = host::findUvwTag(*group->children().first()->next());
    ASSERT_NE(uvwTag, nullptr);
    ASSERT_EQ(uvwTag->uvws.size(), 2u);
    EXPECT_EQ(uvwTag->uvws[0].d, (HostVector{1, 0, 0})) << "a triangle's fourth corner repeats its third";
    EXPECT_EQ(uvwTag->uvws[1].c, (HostVector{0, 0, 0.5f}));
    EXPECT_EQ(uvwTag->uvws[1].d, (HostVector{0.25f, 0.75f, 0}));
    EXPECT_EQ(group->name, "Group/A");
    HostMatrix m = host::localMatrix(*group);
    HostMatrix o = host::localMatrix(*host::firstObject(*original));
    EXPECT_EQ(m.off, o.off);
    EXPECT_EQ(m.v1, o.v1);
    EXPECT_EQ(m.v3, o.v3);
    HostNode* tag = group->tags().first();
    EXPECT_EQ(tag->name, "Mine");
    EXPECT_EQ(tag->params.getInt(1009), 1920);
    EXPECT_FALSE(tag->params.has(2502));
    EXPECT_FALSE(tag->params.getBool(1017, true));
    EXPECT_EQ(tag->params.getReal(1005), 0.001f);
    HostNode* sun = group->children().first();
    HostNode* mesh = sun->next();
    EXPECT_EQ(host::resolveLink(tag->params.getLinkToken(1001), reloaded.get(), LINK_FILTER_OBJECT), sun);
    EXPECT_EQ(tag->params.getFilename(2100), "sky.exr");
    ASSERT_EQ(mesh->polygons.size(), 2u);
    EXPECT_EQ(mesh->polygons[0].d, 2);
    EXPECT_EQ(mesh->polygons[1].d, 1);
    HostNode* tiles = host::firstMaterial(*reloaded);
    EXPECT_EQ(host::resolveLink(mesh->tags().first()->params.getLinkToken(TEXTURE_TAG_MATERIAL), reloaded.get(),
                                LINK_FILTER_ANY),
              tiles);
    EXPECT_EQ(host::findChannel(*tiles, 0)->data.getString(1002), "tiles.png");
    EXPECT_FLOAT_EQ(host::findChannel(*tiles, 6)->data.getReal(1003), 2.5f);
    EXPECT_EQ(tiles->params.getReal(3101), 0.01f);
    HostNode* cam = group->next();
    EXPECT_EQ(host::resolveLink(cam->tags().first()->params.getLinkToken(CAMERA_TARGET_LINK), reloaded.get(),
                                LINK_FILTER_ANY),
              mesh);
    HostNode* copy = cam->next();
    EXPECT_EQ(host::resolveLink(copy->params.getLinkToken(INSTANCE_LINK), reloaded.get(), LINK_FILTER_ANY), mesh);
    EXPECT_EQ(host::resolveLink(copy->params.getLinkToken(77), reloaded.get(), LINK_FILTER_ANY), tiles->next());
    ASSERT_NE(copy->params.getContainer(78), nullptr);
    EXPECT_EQ(copy->params.getContainer(78)->getFilename(2), "x");
    EXPECT_EQ(copy->next()->type(), 9999);
    HostNode* editor = host::viewEditorCamera(*host::activeView(*reloaded));
    EXPECT_EQ(host::localMatrix(*editor).off, (HostVector{10, 20, 30}));
    EXPECT_EQ(editor->params.getReal(CAMERA_FIELD_OF_VIEW), 0.5f);
    EXPECT_EQ(host::documentSetting(*reloaded, DOCUMENT_FILE_NAME), "studio.c4d");
}

TEST_F(RoundTripTest, DefaultsAreLeftOutAndRealsStayShort) {
    host::NodePtr document = load(R"({"objects": [{"type": "sphere", "name": "Ball", "params": {"SPHERE_RADIUS": 0.1},
                                                   "tags": [{"type": "Test Settings"}]},
                                                  {"type": "null", "position": [1, 2, 3], "tags": [{"type": "Test Settings",
                                                   "params": {"LCFG_TONEMAPPING_TYPE": 1021, "LCFG_WHITE_BALANCE": 3013}}]}]})");
    const std::string saved = host::documentToJson(*document, registry);
    EXPECT_NE(saved.find("\"position\": [1.0, 2.0, 3.0]"), std::string::npos) << saved;  // axes are the identity's
    EXPECT_NE(saved.find("\"LCFG_TONEMAPPING_TYPE\": \"LCFG_TONEMAPPING_REINHARD\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("\"LCFG_WHITE_BALANCE\": 3013"), std::string::npos) << saved; // no choice of that code
    EXPECT_NE(saved.find("\"SPHERE_RADIUS\": 0.1\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\"type\": \"Test Settings\"\n"), std::string::npos) << saved; // no params: all defaults
    EXPECT_EQ(saved.find("\"view\""), std::string::npos) << saved;   // a new document's view
    EXPECT_EQ(saved.find("\"matrix\""), std::string::npos) << saved;
}

TEST_F(RoundTripTest, ViewLookingThroughAnObjectOrNothing) {
    host::NodePtr document = load(R"({"objects": [{"type": "camera", "name": "Cam"}], "view": {"camera": "Cam"}})");
    host::NodePtr reloaded = load(host::documentToJson(*document, registry));
    EXPECT_EQ(host::viewSceneCamera(*host::activeView(*reloaded), *reloaded), host::firstObject(*reloaded));
    host::NodePtr none = load(R"({"view": null})");
    EXPECT_EQ(host::activeView(*load(host::documentToJson(*none, registry))), nullptr);
}

TEST_F(RoundTripTest, WhatAFileCannotExpressIsRefused) {
    host::NodePtr document = load(R"({"objects": [{"type": "null", "name": "Twin"}, {"type": "null", "name": "Twin"},
                                                  {"type": "instance", "name": "I"}]})");
    HostNode* first = host::firstObject(*document);
    HostNode* instance = first->next()->next();
    instance->params.setLink(INSTANCE_LINK, first);
    try {
        host::documentToJson(*document, registry, "out.json");
        FAIL() << "saved an ambiguous link";
    } catch (const host::DocumentError& error) {
        EXPECT_EQ(error.jsonPath(), "objects[2].params.INSTANCE_LINK");
        EXPECT_NE(std::string(error.what()).find("2 objects have that path"), std::string::npos) << error.what();
    }
    HostNode* tag = host::makeTag(*first, TYPE_TEXTURE_TAG);
    instance->params.setLink(INSTANCE_LINK, tag);
    EXPECT_THROW(host::documentToJson(*document, registry), host::DocumentError);
}

TEST_F(RoundTripTest, SavedFileIsWrittenAsItIsMadeAndAFaultOnTheWayLeavesTheOldFile) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("lumeno_round_trip_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path file = folder / "saved.json";
    auto contents = [&] {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    // An object of many points, so that much of the text has gone into the file before the last
    // object, whose link no file can express, is reached.
    host::NodePtr document = load(R"({"objects": [{"type": "null", "name": "Twin"}, {"type": "null", "name": "Twin"},
                                                  {"type": "instance", "name": "I"}]})");
    HostNode* big = host::makeObject(*document, TYPE_POLYGON_OBJECT, "Big");
    for (int i = 0; i < 20000; ++i) big->points.push_back({float(i) * 0.25f, 1.5f, -float(i)});
    big->polygons = {{0, 1, 2, 2}};
    document->children().first()->next()->next()->params.setLink(INSTANCE_LINK, big);
    const std::string whole = host::documentToJson(*document, registry);
    host::saveDocumentFile(*document, registry, file);
    EXPECT_EQ(contents(), whole);

    HostNode* first = host::firstObject(*document);
    HostNode* twin = host::makeObject(*document, TYPE_INSTANCE, "Last");
    twin->params.setLink(INSTANCE_LINK, first);
    try {
        host::saveDocumentFile(*document, registry, file);
        FAIL() << "saved an ambiguous link";
    } catch (const host::DocumentError& error) {
        EXPECT_EQ(error.jsonPath(), "objects[4].params.INSTANCE_LINK");
    }
    EXPECT_EQ(contents(), whole) << "the file of the save before is kept";
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "no temporary file stays";
    fs::remove_all(folder);
}

} // namespace
} // namespace testing_documents
