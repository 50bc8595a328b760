// The module's export files and the host's reading of them agree on every name, and both finish
// a commit that a killed export left and take away its staging folders.
#include <cstdio>
#include <fstream>
#include <functional>
#include <set>

#include "export/export_files.h"
#include "export/export_names.h"
#include "export/mesh_files.h"
#include "host/files/export_staging.h"
#include "module_fixture.h"

namespace lumeno_test {
namespace {

TEST(ExportNamesTest, MeshFileNamesReadAsPrintfWritesThemAndAreCutWhenLong) {
    const std::string longScene(kMeshFileTextSize, 'a');
    for (const std::string& scene : {std::string("/d/s.xml"), std::string(), longScene})
        for (const int32_t number : {0, 7, -3, 2147483647}) {
            char expected[kMeshFileTextSize];
            std::snprintf(expected, sizeof expected, "%s.%d.3DS", scene.c_str(), static_cast<int>(number));
            EXPECT_STREQ(MeshFileName(scene.c_str(), number).text, expected);
            std::snprintf(expected, sizeof expected, "meshName_%d", static_cast<int>(number));
            EXPECT_STREQ(MeshName(number).text, expected);
        }
    EXPECT_STREQ(MeshFileName(nullptr, 1).text, ".1.3DS");
}

TEST(ExportNamesTest, ModuleAndHostAgreeOnKeysAndMeshFileNames) {
    for (const char* scene : {"s.xml", "scene with blanks.xml", "\xC3\xA9t\xC3\xA9.xml", ""}) {
        char key[kExportKeySize];
        ExportKey(scene, key);
        EXPECT_EQ(std::string(key), host::exportKey(scene)) << scene;
    }
    const struct {
        const char* entry;
        bool own;
    } cases[] = {{"s.xml.0.3DS", true},        {"s.xml.17.3DS", true},       {"s.xml.smooth.3DS", true},
                 {"s.xml.nosmooth.3DS", true}, {"s.xml.light0.3DS", true},   {"s.xml.light12.3DS", true},
                 {"s.xml.07.3DS", false},      {"s.xml.-1.3DS", false},      {"s.xml.1.3ds", false},
                 {"s.xml.light.3DS", false},   {"s.xml.lightx.3DS", false},  {"s.xml..3DS", false},
                 {"s.xml", false},             {"t.xml.0.3DS", false},       {"s.xml.0.3DS.part", false},
                 {"s.xml.12345678901.3DS", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(IsSceneMeshFileName("s.xml", c.entry), c.own) << c.entry;
        EXPECT_EQ(host::isSceneMeshFileName("s.xml", c.entry), c.own) << c.entry;
    }
}

class InterruptedExportTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        StartModule(); // the module's lists live in the host's memory
    }
    void Write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
    std::string Read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::set<std::string> Entries() {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_.path())) names.insert(entry.path().filename().string());
        return names;
    }
};

TEST_F(InterruptedExportTest, ModuleAndHostFinishAKilledCommitAndTakeAwayKilledStagings) {
    const std::string key = host::exportKey("s.xml");
    // Each way of finishing: the module's start of an export, and the host before it reads a scene.
    const std::function<void(const fs::path&)> finishers[] = {
        [](const fs::path& scene) {
            ExportFiles files;
            ASSERT_TRUE(BeginExportFiles(files, scene.c_str()));
            EXPECT_NE(std::string(files.staging), "");
        },
        [](const fs::path& scene) { host::finishInterruptedExport(scene); }};
    for (const auto& finish : finishers) {
        fs::remove_all(dir_.path());
        fs::create_directories(dir_.path());
        // The earlier export; the killed one had moved its first mesh file when it was killed.
        Write(Temp("s.xml"), "old scene");
        Write(Temp("s.xml.0.3DS"), "new 0");
        Write(Temp("s.xml.1.3DS"), "old 1");
        const fs::path commit = Temp(".lumeno-" + key + "-0000000a.commit");
        fs::create_directories(commit);
        Write(commit / "s.xml", "new scene");
        Write(commit / "s.xml.1.3DS", "new 1");
        // An export killed before its commit, and another scene's, which must stay.
        fs::create_directories(Temp(".lumeno-" + key + "-0000000b.new"));
        Write(Temp(".lumeno-" + key + "-0000000b.new") / "s.xml.0.3DS", "half");
        const std::string other = ".lumeno-" + host::exportKey("t.xml") + "-0000000c.new";
        fs::create_directories(Temp(other));

        finish(Temp("s.xml"));
        EXPECT_EQ(Read(Temp("s.xml")), "new scene");
        EXPECT_EQ(Read(Temp("s.xml.0.3DS")), "new 0");
        EXPECT_EQ(Read(Temp("s.xml.1.3DS")), "new 1");
        EXPECT_EQ(Entries(), (std::set<std::string>{"s.xml", "s.xml.0.3DS", "s.xml.1.3DS", other}));
    }
}

TEST_F(InterruptedExportTest, AMeshFileNameHeldByAFolderIsWrittenStraightThere) {
    fs::create_directories(Temp("s.xml.1.3DS") / "occupied");
    ExportFiles files;
    ASSERT_TRUE(BeginExportFiles(files, Temp("s.xml").c_str()));
    char path[kExportPathSize];
    EXPECT_TRUE(StagedPath(files, Temp("s.xml.0.3DS").c_str(), path, sizeof path));
    EXPECT_EQ(fs::path(path), fs::path(files.staging) / "s.xml.0.3DS");
    EXPECT_FALSE(StagedPath(files, Temp("s.xml.1.3DS").c_str(), path, sizeof path));
    EXPECT_EQ(fs::path(path), Temp("s.xml.1.3DS"));
}

} // namespace
} // namespace lumeno_test
