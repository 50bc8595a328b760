// The scene file read back for the report: what the summary counts and names must not depend on
// which of the two readers took the file.
#include <gtest/gtest.h>

#include <fstream>

#include "host/plugins/host_error.h"
#include "host/report/scene_contents.h"

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

} // namespace
} // namespace host
