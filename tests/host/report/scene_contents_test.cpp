// The scene file read back for the report: what the summary counts and names must not depend on
// which of the two readers took the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "host/plugins/host_error.h"
#include "host/report/scene_contents.h"
#include "host/report/scene_scan.h"

namespace host {
namespace {

std::filesystem::path writeScene(const std::string& name, const std::string& text) {
    const std::filesystem::path path = std::filesystem::path(testing::TempDir()) / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

const char* const header = "<?xml version=\"1.0\" encoding=\"utf-16\" ?>\n";

TEST(SceneContentsTest, ReadsCountsNamesTexturesAndSunWhateverReaderTakesTheFile) {
    struct Case {
        const char* label;
        std::string body; // inside <scene>
        std::string comment, material, texture;
    };
    const Case cases[] = {
        {"plain", "<model><!--Cube--><mesh_name>m</mesh_name></model>", "Cube", "", ""},
        {"bytes of a name kept, spaces condensed",
         "<model><!--W\xC3\xBCrfel 1--></model><material><name>  a   b </name></material>", "W\xC3\xBCrfel 1",
         "a b", ""},
        {"texture before the name, nested",
         "<material><diffuse><albedo_texture><path> t.png </path></albedo_texture></diffuse><name>M</name>"
         "</material>",
         "", "M", "t.png"},
        // A strict parser refuses a reference to a control character; the lenient one reads it.
        {"control character", "<model><!--C--></model><material><name>a&#x1;b</name></material>", "C",
         "a\x01" "b", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string sky = "<skylight><sundir>0 0 0</sundir></skylight><sphere><name>s</name></sphere>";
        SceneContents read = readSceneContents(writeScene("contents.xml", header + std::string("<scene>\n    ") +
                                                                              c.body + sky + "</scene>\n"));
        EXPECT_EQ(read.elements["skylight"], 1);
        EXPECT_EQ(read.elements["sphere"], 1);
        EXPECT_TRUE(read.sunWithoutDirection);
        // A sphere whose first child is an element names nothing.
        EXPECT_EQ(read.namedObjects.size(), c.comment.empty() ? 0u : 1u);
        if (!c.comment.empty()) {
            EXPECT_EQ(*read.namedObjects.begin(), c.comment);
        }
        if (!c.texture.empty()) {
            ASSERT_EQ(read.textures.size(), 1u);
            EXPECT_EQ(read.textures[0].material, c.material);
            EXPECT_EQ(read.textures[0].path, c.texture);
        }
    }
}

TEST(SceneContentsTest, RefusesWhatIsNoSceneNamingTheFile) {
    const std::pair<const char*, const char*> cases[] = {
        {"<other/>", "holds no scene element"},
        {"<scene><model>", "cannot be read back as XML"},
        {"", "cannot be read back as XML"},
    };
    for (const auto& [text, message] : cases) {
        const std::filesystem::path path = writeScene("refused.xml", text);
        try {
            readSceneContents(path);
            ADD_FAILURE() << "read: " << text;
        } catch (const HostError& error) {
            EXPECT_NE(std::string(error.what()).find(path.string() + ": " + message), std::string::npos) << error.what();
        }
    }
}

bool same(const SceneContents& a, const SceneContents& b) {
    if (a.elements != b.elements || a.namedObjects != b.namedObjects || a.sunWithoutDirection != b.sunWithoutDirection ||
        a.textures.size() != b.textures.size())
        return false;
    for (std::size_t i = 0; i < a.textures.size(); ++i)
        if (a.textures[i].material != b.textures[i].material || a.textures[i].path != b.textures[i].path) return false;
    return true;
}

// The quick scan takes the files the module prints and hands everything else to the parsers; what
// it takes it must read as they do, and what they refuse or read differently it must not take.
TEST(SceneContentsTest, QuickScanAgreesWithTheParsersOrLeavesTheFileToThem) {
    struct Case {
        const char* label;
        std::string text;
        bool quick; // the quick scan takes it
    };
    const std::string big(300000, ' '); // runs over the scan's chunks
    const Case cases[] = {
        {"reference in kept text", std::string(header) + "<scene>\n    <model>\n        <!--Cube 1-->\n        <scale>1</scale>\n"
                       "    </model>\n    <material>\n        <name>a &amp; b</name>\n        <diffuse>"
                       "<albedo_texture><path>t.png</path></albedo_texture></diffuse>\n    </material>\n"
                       "    <skylight><sundir> 0 0 0 </sundir></skylight>\n    <camera a=\"1\" b='&lt;'/>\n</scene>\n",
         false},
        {"no reference in kept text", std::string(header) + "<scene><material><name>M</name><x_texture><path>p &#x41;" +
                                         "</path></x_texture></material><model><!--A--></model></scene>",
         false},
        {"plain", "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?><scene><model>\r\n<!--B-->"
                  "</model><material><name>m</name><diffuse><albedo_texture><path> a  b </path></albedo_texture>"
                  "</diffuse></material><model><x/><!--not a name--></model><!--outside--></scene>\n<!--after-->",
         true},
        {"chunks", std::string(header) + "<scene>" + big + "<model><!--Long" + big + "name--></model>" + big +
                       "<material><name>" + big + "M" + big + "</name></material></scene>",
         true},
        {"text before the name comment", "<scene><model>x<!--N--></model><model> <!--O--></model></scene>", true},
        {"no declaration, bytes above ASCII", "<scene><model><!--W\xFCrfel--></model></scene>", true},
        {"reference to a control character", "<scene><model><!--C--></model><material><name>a&#x1;b</name>"
                                             "</material></scene>",
         false},
        {"CDATA", "<scene><material><name><![CDATA[x]]></name></material></scene>", false},
        {"carriage return in a name", "<scene><model><!--a\r\nb--></model></scene>", false},
        {"double hyphen in a comment", "<scene><model><!--a--b--></model></scene>", false},
        {"mismatched end", "<scene><model></mesh></scene>", false},
        {"second root", "<scene></scene><scene></scene>", false},
        {"text outside the root", "<scene></scene>x", false},
        {"duplicate attribute", "<scene><a x='1' x='2'/></scene>", false},
        {"unknown entity", "<scene><model><!--A--></model>&nbsp;</scene>", false},
        {"control byte", std::string("<scene><model><!--A\x01--></model></scene>"), false},
        {"late declaration", " <?xml version=\"1.0\"?><scene/>", false},
        {"unclosed", "<scene><model>", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::filesystem::path path = writeScene("quick.xml", c.text);
        const std::optional<SceneContents> quick = scanSceneContents(path);
        EXPECT_EQ(quick.has_value(), c.quick);
        if (!quick) continue;
        SceneContents sortedQuick = *quick;
        std::sort(sortedQuick.namedObjects.begin(), sortedQuick.namedObjects.end());
        EXPECT_TRUE(same(sortedQuick, parseSceneContents(path)));
        EXPECT_TRUE(same(readSceneContents(path), parseSceneContents(path)));
    }
}

} // namespace
} // namespace host
