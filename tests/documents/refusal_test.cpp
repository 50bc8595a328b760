// Documents that are refused: each names the file and the JSON path of the fault, and nothing
// of the document survives (its plug-in tags included).
#include <vector>

#include "document_fixture.h"
#include "host/documents/document_error.h"
#include "host/documents/document_parser.h"

namespace testing_documents {
namespace {

struct Refusal {
    const char* json;
    const char* path;    // the JSON path the message must name
    const char* problem; // a part of the message
};

class RefusalTest : public DocumentTest {
protected:
    /// Each document is refused with a message naming the file, the JSON path and the problem.
    void expect(const std::vector<Refusal>& cases) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.json);
            std::string message;
            EXPECT_EQ(refusalPath(c.json, &message), c.path);
            EXPECT_NE(message.find(std::string("test.json: ") + c.path + ": "), std::string::npos) << message;
            EXPECT_NE(message.find(c.problem), std::string::npos) << message;
        }
    }
};

TEST_F(RefusalTest, SyntaxErrorNamesLineAndColumn) {
    const struct {
        std::string text;
        int line, column;
        const char* problem;
    } cases[] = {
        {"{\n  \"objects\": [\n    {\"type\": \"null\",}\n  ]\n}\n", 3, 21, "syntax error"}, // a key was due
        // A number too large for any real, in our words rather than the library's.
        {"{\n  \"objects\": [{\"type\": \"null\", \"position\": [1e999, 0, 0]}]\n}\n", 2, 49,
         "syntax error while parsing value - the number 1e999 is too large; expected a number of at most"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            host::parseDocumentText(c.text, "test.json");
            ADD_FAILURE() << "accepted";
        } catch (const host::DocumentError& error) {
            EXPECT_EQ(error.line(), c.line);
            EXPECT_EQ(error.column(), c.column);
            const std::string prefix = "test.json:" + std::to_string(c.line) + ":" + std::to_string(c.column) + ": ";
            EXPECT_EQ(std::string(error.what()).rfind(prefix + c.problem, 0), 0u) << error.what();
            EXPECT_EQ(std::string(error.what()).find("json.exception"), std::string::npos) << error.what();
        }
    }
}

TEST_F(RefusalTest, UnknownTypes) {
    expect({
        {R"({"objects": [{"type": "null"}, {"type": "sphre"}]})", "objects[1].type", "unknown object type \"sphre\""},
        {R"({"objects": [{"name": "no type"}]})", "objects[0]", "needs a type"},
        {R"({"objects": [{"type": "null", "tags": [{"type": "Test Setings"}]}]})", "objects[0].tags[0].type",
         "unknown tag type \"Test Setings\""},
        {R"({"objects": [{"type": "null", "tags": [{"type": 10005}]}]})", "objects[0].tags[0].type",
         "unknown tag type 10005"},
        {R"({"view": {"camera": "A", "editor": {}}})", "view", "either"},
    });
}

TEST_F(RefusalTest, UnknownKeysAndNames) {
    expect({
        {R"({"objcts": []})", "objcts", "unknown key"},
        {R"({"objects": [{"type": "null", "children": [{"type": "cube", "nmae": "x"}]}]})",
         "objects[0].children[0].nmae", "unknown key"},
        {R"({"objects": [{"type": "null", "tags": [{"type": "Test Settings", "params": {"LCFG_WDTH": 640}}]}]})",
         "objects[0].tags[0].params.LCFG_WDTH", "did you mean LCFG_WIDTH?"},
        {R"({"objects": [{"type": "sphere", "params": {"SPHERE_RADIUSS": 2.0}}]})", "objects[0].params.SPHERE_RADIUSS",
         "unknown parameter name"},
        {R"({"objects": [{"type": "null", "params": {"RADIUS": 2.0}}]})", "objects[0].params.RADIUS",
         "use a numeric ID"},
        {R"({"objects": [{"type": "null", "tags": [{"type": "Test Settings", "params": {"LCFG_WHITE_BALANCE": "D50"}}]}]})",
         "objects[0].tags[0].params.LCFG_WHITE_BALANCE", "unknown choice \"D50\""},
        {R"({"materials": [{"name": "M", "params": {"COLOR": [1, 1, 1]}}]})", "materials[0].params.COLOR",
         "unknown parameter name"},
    });
}

TEST_F(RefusalTest, DanglingAndAmbiguousLinks) {
    expect({
        {R"({"objects": [{"type": "null", "name": "A", "tags": [{"type": "Test Settings", "params": {"LCFG_SUN_OBJECT": {"object": "A/Sun"}}}]}]})",
         "objects[0].tags[0].params.LCFG_SUN_OBJECT.object", "dangling link: there is no object at \"A/Sun\""},
        {R"({"objects": [{"type": "cube", "tags": [{"type": "texture", "material": "Wood"}]}]})",
         "objects[0].tags[0].material", "no material named \"Wood\""},
        {R"({"objects": [{"type": "camera", "name": "Cam", "tags": [{"type": "camera-target", "target": "Ball"}]}]})",
         "objects[0].tags[0].target", "no object at \"Ball\""},
        {R"({"view": {"camera": "Camera"}})", "view.camera", "dangling link"},
        {R"({"objects": [{"type": "null", "name": "Twin"}, {"type": "null", "name": "Twin"},
             {"type": "instance", "params": {"INSTANCE_LINK": {"object": "Twin"}}}]})",
         "objects[2].params.INSTANCE_LINK.object", "ambiguous link: 2 objects"},
    });
}

TEST_F(RefusalTest, ValuesOfTheWrongType) {
    const std::string tag = R"({"objects": [{"type": "null", "tags": [{"type": "Test Settings", "params": )";
    const std::string end = "}]}]}";
    const std::vector<std::string> texts = {
        tag + R"({"LCFG_WIDTH": 640.0})" + end,
        tag + R"({"LCFG_LOGGING": 1})" + end,
        tag + R"({"LCFG_ENV_MAP_PATH": "sky.exr"})" + end,
        tag + R"({"LCFG_BACKGROUND_RADIANCE": [0, 0.2]})" + end,
        tag + R"({"LCFG_SUN_OBJECT": "Sun"})" + end,
        tag + R"({"LCFG_TURBIDITY": "2"})" + end,
    };
    expect({
        {texts[0].c_str(), "objects[0].tags[0].params.LCFG_WIDTH", "expected an integer"},
        {texts[1].c_str(), "objects[0].tags[0].params.LCFG_LOGGING", "expected true or false"},
        {texts[2].c_str(), "objects[0].tags[0].params.LCFG_ENV_MAP_PATH", "expected a file name"},
        {texts[3].c_str(), "objects[0].tags[0].params.LCFG_BACKGROUND_RADIANCE", "expected [x, y, z]"},
        {texts[4].c_str(), "objects[0].tags[0].params.LCFG_SUN_OBJECT", "expected a link"},
        {texts[5].c_str(), "objects[0].tags[0].params.LCFG_TURBIDITY", "expected a number"},
        {R"({"objects": [{"type": "null", "params": {"1000": 2147483648}}]})", "objects[0].params.1000", "out of range"},
        {R"({"objects": [{"type": "null", "params": {"1000": {"colour": 1}}}]})", "objects[0].params.1000.colour",
         "unknown value form"},
        {R"({"objects": [{"type": "polygon", "points": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "polygons": [[0, 1, 3]]}]})",
         "objects[0].polygons[0][2]", "point index 3 out of range"},
        {R"({"objects": [{"type": "sphere", "points": [[0, 0, 0]]}]})", "objects[0].points", "only a polygon object"},
        {R"({"objects": [{"type": "null", "matrix": {}, "position": [0, 0, 0]}]})", "objects[0].matrix", "not both"},
        {R"({"materials": [{"name": "M", "channels": {"colour": {"on": true}}}]})", "materials[0].channels.colour",
         "by its number"},
        {R"({"objects": {"type": "null"}})", "objects", "expected a list"},
    });
}

TEST_F(RefusalTest, TextureCoordinatesThatDoNotFitThePolygons) {
    const std::string mesh = R"({"objects": [{"type": "polygon", "points": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "polygons": [[0, 1, 2]], "uvs": )";
    const std::vector<std::string> texts = {
        mesh + "[]}]}",
        mesh + "[[[0, 0], [1, 0], [0, 1], [1, 1]]]}]}",
        mesh + "[[[0, 0], [1, 0], [0]]]}]}",
        mesh + R"([[[0, 0], [1, 0], [0, "1"]]]}]})",
    };
    expect({
        {texts[0].c_str(), "objects[0].uvs", "one entry per polygon (the object has 1 polygons, uvs has 0 entries)"},
        {texts[1].c_str(), "objects[0].uvs[0]", "expected 3 corners [u, v] for the triangle"},
        {texts[2].c_str(), "objects[0].uvs[0][2]", "expected [u, v] or [u, v, w]"},
        {texts[3].c_str(), "objects[0].uvs[0][2][1]", "expected a number"},
        {R"({"objects": [{"type": "sphere", "uvs": []}]})", "objects[0].uvs", "only a polygon object"},
    });
}

TEST_F(RefusalTest, ThingsGivenTwice) {
    expect({
        {R"({"objects": [{"type": "null", "name": "A", "name": "B"}]})", "objects[0].name", "key given twice"},
        {R"({"objects": [{"type": "null", "tags": [{"type": "Test Settings", "params": {"LCFG_WIDTH": 1, "1009": 2}}]}]})",
         "objects[0].tags[0].params.1009", "given twice"},
        {R"({"objects": [{"type": "null", "tags": [{"type": "texture", "material": "M", "params": {"TEXTURE_TAG_MATERIAL": null}}]}],
            "materials": [{"name": "M"}]})",
         "objects[0].tags[0].params.TEXTURE_TAG_MATERIAL", "given twice"},
    });
}

// lumeno-host builds each object as soon as it is read; a document with several faults is still
// refused for the one a whole read meets first: syntax, then the shape of every part in the order
// objects, materials, view, then what only the build finds (materials before objects), then links.
TEST_F(RefusalTest, OfSeveralFaultsTheWholeReadsFirstIsNamed) {
    const std::string unknownParam = R"({"type": "null", "tags": [{"type": "Test Settings", "params": {"LCFG_WDTH": 1}}]})";
    const std::string badType = R"({"type": "sphre"})";
    expect({
        {("{\"objects\": [" + badType + "], \"objects\": []}").c_str(), "objects", "key given twice"},
        {("{\"objects\": [" + badType + "], \"mystery\": 1}").c_str(), "mystery", "unknown key"},
        {("{\"objects\": [7, " + badType + "]}").c_str(), "objects[0]", "must be an object"},
        {("{\"objects\": [" + unknownParam + ", " + badType + "]}").c_str(), "objects[1].type", "unknown object type"},
        {("{\"objects\": [" + unknownParam + "], \"materials\": [{\"name\": 5}]}").c_str(), "materials[0].name",
         "expected a string"},
        {("{\"objects\": [" + unknownParam + "], \"materials\": [{\"name\": \"M\", \"params\": {\"1\": {\"material\": \"X\"}, \"1\": 2}}]}").c_str(),
         "materials[0].params.1", "key given twice"},
        {("{\"objects\": [" + unknownParam + "], \"materials\": [{\"name\": \"M\", \"params\": {\"LCFG_X\": 1}}]}").c_str(),
         "materials[0].params.LCFG_X", "a material has no named parameters"},
        {R"({"objects": [{"type": "null", "tags": [{"type": "texture", "material": "Nope"}]}],
            "materials": [{"name": "M", "params": {"7": {"material": "Gone"}}}]})", "materials[0].params.7.material",
         "dangling link: there is no material named \"Gone\""},
        // Text the quick reader leaves to the library (it starts with a byte order mark) is read again.
        {("\xEF\xBB\xBF{\"objects\": [{\"type\": \"null\"}, " + unknownParam + "]}").c_str(),
         "objects[1].tags[0].params.LCFG_WDTH", "unknown parameter name"},
    });
    // The quick reader gives up on a number part way, after objects were built: the library's
    // syntax error is the refusal, with its place.
    std::string message;
    refusalPath(R"({"objects": [{"type": "null"}, {"type": "null", "position": [1e400, 0, 0]}]})", &message);
    EXPECT_EQ(message.rfind("test.json:1:", 0), 0u) << message;
}

// Each object is read and built once its text ends, after its children; the fault named is still
// the one a whole read meets first: an object's own before its children's, an earlier child's
// before a later one's, every shape fault before what only the build finds, links in file order.
TEST_F(RefusalTest, OfSeveralFaultsInAHierarchyTheWholeReadsFirstIsNamed) {
    const std::string badChild = R"({"type": "sphre"})";
    const std::string badTag = R"({"type": "null", "tags": [{"type": "Nope"}]})";
    const std::string top = R"({"objects": [{"type": "null", "children": [)";
    expect({
        {(top + badChild + R"(], "name": 5}]})").c_str(), "objects[0].name", "expected a string"},
        {(top + badChild + R"(, {"type": "null", "name": 5}]}]})").c_str(), "objects[0].children[0].type", "unknown object type"},
        {(top + R"({"type": "null"}, null, )" + badChild + "]}]}").c_str(), "objects[0].children[1]", "must be an object"},
        {(top + R"({"type": "null"}, 7]}]})").c_str(), "objects[0].children[1]", "must be an object"},
        {(top + R"({"type": "null", "children": [)" + badChild + "]}, " + badChild + "]}]}").c_str(),
         "objects[0].children[0].children[0].type", "unknown object type"},
        {(top + badTag + R"(], "tags": [{"type": "Nope"}]}]})").c_str(), "objects[0].tags[0].type", "unknown tag type"},
        {(top + badTag + R"(]}, )" + badChild + "]}").c_str(), "objects[1].type", "unknown object type"},
        {(top + badTag + R"(, )" + badChild + "]}]}").c_str(), "objects[0].children[1].type", "unknown object type"},
        {(top + R"({"type": "null", "tags": [{"type": "texture", "material": "Gone"}]}],
            "tags": [{"type": "texture", "material": "Lost"}]}]})").c_str(), "objects[0].tags[0].material",
         "no material named \"Lost\""},
    });
}

TEST_F(RefusalTest, ARefusedDocumentFreesItsPluginTags) {
    const int before = liveTestTags();
    refusalPath(R"({"objects": [{"type": "null", "tags": [{"type": "Test Settings"}, {"type": "Test Settings"}]},
                                {"type": "instance", "params": {"INSTANCE_LINK": {"object": "Missing"}}}]})");
    EXPECT_EQ(liveTestTags(), before);
    // Children built before their parent is refused, and before a later sibling is.
    refusalPath(R"({"objects": [{"type": "null", "children": [{"type": "null", "tags": [{"type": "Test Settings"}]},
                                {"type": "null", "children": [{"type": "null", "tags": [{"type": "Test Settings"}]}],
                                 "tags": [{"type": "Nope"}]}]}]})");
    EXPECT_EQ(liveTestTags(), before);
}

TEST_F(RefusalTest, NestingTooDeepIsRefusedNotOverflowed) {
    std::string text = R"({"objects": [)";
    for (int i = 0; i < 3000; ++i) text += R"({"type": "null", "children": [)";
    for (int i = 0; i < 3000; ++i) text += "]}";
    text += "]}";
    std::string message;
    refusalPath(text, &message);
    EXPECT_NE(message.find("nest deeper than"), std::string::npos) << message.substr(0, 200);
}

TEST_F(RefusalTest, MissingFileIsNamed) {
    try {
        host::readDocumentFile("/nonexistent/scene.json");
        FAIL() << "accepted";
    } catch (const host::DocumentError& error) {
        EXPECT_EQ(std::string(error.what()), "/nonexistent/scene.json: cannot open the file: No such file or directory");
    }
}

} // namespace
} // namespace testing_documents
