// lumeno-host as a user meets it when things go wrong: exports racing for one file, a file system
// that fills up, preferences that cannot be read or hold what the commands cannot use.
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

#include <tinyxml.h>

#include "e2e_fixture.h"

namespace e2e {
namespace {

class HardeningTest : public HostCommandTest {
protected:
    /// lumeno-host with the test's release, module and preferences, as a shell command.
    std::string host(const std::string& args) const {
        return std::string("'") + LUMENO_HOST_EXE + "' " + args + " --release " + release() + " --module '" +
               moduleFolder().string() + "' --prefs '" + prefs.string() + "'";
    }
    static int shell(const std::string& script) {
        const int status = std::system(("sh -c \"" + script + "\" >/dev/null 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    /// A document of `count` cubes, each with a material, so each has a mesh file of its own.
    std::filesystem::path cubes(int count) {
        std::string objects;
        for (int i = 0; i < count; ++i)
            objects += std::string(i ? "," : "") + R"({"type": "cube", "name": "Cube)" + std::to_string(i) +
                       R"(", "tags": [{"type": "texture", "material": "Red"}]})";
        return writeFile("cubes" + std::to_string(count) + ".json",
                         R"({"materials": [{"name": "Red"}], "objects": [)" + objects + "]}");
    }
    /// Whether the file is one whole scene: XML ending in its `scene` element, `count` meshes.
    void expectWholeScene(const std::filesystem::path& file, int meshes) {
        TiXmlDocument xml;
        const std::string text = readFile(file);
        xml.Parse(text.c_str(), nullptr, TIXML_ENCODING_LEGACY);
        ASSERT_FALSE(xml.Error()) << xml.ErrorDesc();
        int count = 0;
        for (const TiXmlElement* e = xml.RootElement()->FirstChildElement("mesh"); e; e = e->NextSiblingElement("mesh"))
            ++count;
        EXPECT_EQ(count, meshes);
    }
    bool temporaryLeftIn(const std::filesystem::path& dir) {
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            if (entry.path().filename().string().rfind(".lumeno-", 0) == 0) return true;
        return false;
    }
};

TEST_P(HardeningTest, TwoExportsToOneFileAtOnceLeaveOneWholeScene) {
    const auto big = cubes(120), small = cubes(3);
    const auto out = folder / "out" / "scene.xml";
    std::filesystem::create_directories(out.parent_path());
    const std::string script = host("export '" + big.string() + "' -o '" + out.string() + "'") + " & a=\\$!; " +
                               host("export '" + small.string() + "' -o '" + out.string() + "'") +
                               " & b=\\$!; wait \\$a || exit 1; wait \\$b || exit 2";
    ASSERT_EQ(shell(script), 0);
    // Either scene, but whole: the one whose rename came last.
    const std::string text = readFile(out);
    expectWholeScene(out, text.find("Cube100") != std::string::npos ? 120 : 3);
    EXPECT_FALSE(temporaryLeftIn(out.parent_path()));
}

TEST_P(HardeningTest, FullFileSystemKeepsTheEarlierScene) {
    const auto mount = folder / "small";
    std::filesystem::create_directories(mount);
    const auto scene = mount / "scene.xml";
    const auto copy = folder / "kept.xml", listing = folder / "listing.txt", status = folder / "status.txt";
    const std::string script =
        "mount -t tmpfs -o size=48k tmpfs '" + mount.string() + "' || exit 77; " +
        host("export '" + cubes(1).string() + "' -o '" + scene.string() + "'") + " || exit 3; cp '" +
        scene.string() + "' '" + folder.string() + "/earlier.xml'; " +
        host("export '" + cubes(400).string() + "' -o '" + scene.string() + "'") + "; echo $? > '" +
        status.string() + "'; cp '" + scene.string() + "' '" + copy.string() + "'; ls -a '" + mount.string() +
        "' > '" + listing.string() + "'";
    const auto file = writeFile("fill.sh", script + "\n");
    const int result = shell("unshare -rm sh '" + file.string() + "'");
    if (result == 77 || !std::filesystem::exists(status)) GTEST_SKIP() << "cannot mount a small file system here";
    ASSERT_EQ(result, 0);
    EXPECT_NE(readFile(status), "0\n") << "a full file system is a failed export";
    EXPECT_EQ(readFile(copy), readFile(folder / "earlier.xml"));
    EXPECT_EQ(readFile(listing).find(".lumeno-"), std::string::npos) << readFile(listing);
}

TEST_P(HardeningTest, UnreadablePreferencesAreToldFirst) {
    const auto document = writeFile("doc.json", R"({"objects": [{"type": "cube", "name": "Cube"}]})");
    const struct {
        const char* name;
        bool folder;
        const char* text;
        const char* problem;
    } cases[] = {{"malformed", false, "{\"plugins\": ", "malformed preferences"},
                 {"folder", true, "", "it is a folder"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(prefs);
        if (c.folder)
            std::filesystem::create_directories(prefs);
        else
            writeFile("prefs.json", c.text);
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"command", "export", document.string(), "--choose", (folder / "s.xml").string()},
              std::vector<std::string>{"export", document.string(), "-o", (folder / "s.xml").string()},
              std::vector<std::string>{"prefs"}}) {
            RunResult result = run(args);
            EXPECT_EQ(result.status, 1);
            EXPECT_EQ(result.err.rfind("lumeno-host: " + prefs.string() + ": ", 0), 0u) << result.err;
            EXPECT_NE(result.err.find(c.problem), std::string::npos) << result.err;
            EXPECT_EQ(result.err.find("no renderer folder"), std::string::npos) << result.err;
            EXPECT_FALSE(std::filesystem::exists(folder / "s.xml"));
        }
    }
}

TEST_P(HardeningTest, RendererFolderLongerThan255BytesIsNotStored) {
    const auto longFolder = folder / std::string(150, 'r') / std::string(150, 's');
    RunResult result = run({"prefs", "--renderer-folder", longFolder.string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("at most 255"), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(prefs));
}

INSTANTIATE_TEST_SUITE_P(BothReleases, HardeningTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
