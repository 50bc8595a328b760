// Damaged models and scene files: a model that crashes, aborts or hangs the reader, or makes it
// grow past its limit, is refused by import, export and command with the model named and what
// happened, status 1 and nothing written; damaged copies of real models are refused at once by
// their declared sizes; a scene file nested too deep is refused before it is parsed.
#include <fstream>
#include <set>

#include "e2e_fixture.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

const fs::path damaged = LUMENO_DAMAGED_DIR;
const fs::path models = "/usr/share/assimp/models";

class DamagedModelTest : public HostCommandTest {
protected:
    std::set<std::string> names() const {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder)) found.insert(entry.path().filename().string());
        return found;
    }

    /// Runs import, export and command on the model with the extra options; each must refuse it
    /// with "MODEL: cannot import: " and `what`, and write nothing.
    void expectRefusedByEachCommand(const fs::path& model, const std::string& what,
                                    const std::vector<std::string>& options) {
        const std::set<std::string> before = names();
        const std::string scene = (folder / "out.xml").string();
        const std::vector<std::vector<std::string>> commands = {
            {"import", model.string(), "-o", (folder / "out.json").string()},
            {"export", model.string(), "-o", scene},
            {"command", "export", model.string(), "--choose", scene}};
        for (std::vector<std::string> command : commands) {
            SCOPED_TRACE(command[0]);
            command.insert(command.end(), options.begin(), options.end());
            RunResult result = run(command);
            EXPECT_EQ(result.status, 1);
            EXPECT_NE(result.err.find("lumeno-host: " + model.string() + ": cannot import: " + what), std::string::npos)
                << result.err;
            EXPECT_EQ(names(), before);
        }
    }
};

/// The reading does not depend on the release: these run with one.
class DamagedFileTest : public DamagedModelTest {};

TEST_P(DamagedModelTest, AModelThatTakesTheReaderDownIsRefusedByEachCommand) {
    struct Case {
        const char* model;
        const char* what;
        std::vector<std::string> options;
    };
    // A crash keeps the default time limit: a crash is never a hang.
    const Case cases[] = {
        {"crash.ase", "the model reader crashed (", {}},
        {"abort.3mf", "the model reader crashed (", {}},
        {"hang.smd", "the model reader was stopped after 0.5 s (the read time limit; --read-time-limit changes it)",
         {"--read-time-limit", "0.5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        expectRefusedByEachCommand(damaged / c.model, c.what, c.options);
    }
}

TEST_P(DamagedFileTest, AReaderThatOutgrowsItsMemoryLimitIsStopped) {
    // A grid of 200,000 triangles: the reader takes far more than 10 MB for it.
    std::ofstream obj(folder / "grid.obj");
    for (int j = 0; j <= 100; ++j)
        for (int i = 0; i <= 1000; ++i) obj << "v " << i << " 0 " << j << "\n";
    for (int j = 0; j < 100; ++j)
        for (int i = 0; i < 1000; ++i) {
            const int p = j * 1001 + i + 1;
            obj << "f " << p << " " << p + 1 << " " << p + 1002 << " " << p + 1001 << "\n";
        }
    obj.close();
    expectRefusedByEachCommand(folder / "grid.obj",
                               "the model reader needed more than 10 MB (the read memory limit; --read-memory-limit changes it)",
                               {"--read-memory-limit", "10"});
}

TEST_P(DamagedFileTest, DamagedCopiesOfRealModelsAreRefusedByTheirDeclaredSizes) {
    if (!fs::is_directory(models)) GTEST_SKIP() << "assimp-testmodels is not installed (" << models << ")";
    // Each declares more than it holds; assimp would hang on most, grow to gigabytes or crash.
    struct Copy {
        const char* source;
        const char* name;
        std::size_t cut;                         // bytes kept; 0: all
        std::size_t at, replaced;                // `replaced` bytes at `at` become `text`
        std::string text;
        const char* refusal;
    };
    const Copy copies[] = {
        {"PLY/cube.ply", "header.ply", 40, 0, 0, "", "the PLY header does not end"},
        {"PLY/cube_uv.ply", "cut.ply", 600, 0, 0, "", "the file declares 24 elements \"vertex\", more than the 4 lines after its header"},
        {"PLY/Wuson.ply", "lines.ply", 300000, 0, 0, "", "the file declares 11184 elements \"vertex\""},
        {"PLY/cube_binary.ply", "count.ply", 0, 76, 1, "100000000", "the file declares 100000000 elements \"vertex\""},
        {"glTF2/BoxTextured-glTF-Binary/BoxTextured.glb", "chunk.glb", 0, 12, 4, std::string("\xff\xff\xff\x7f", 4),
         "the file declares a chunk 0 of 2147483647 bytes"},
        {"glTF2/BoxTextured-glTF-Binary/BoxTextured.glb", "length.glb", 0, 8, 4, std::string("\x00\x00\x00\x10", 4),
         "the file declares a length of 268435456 bytes"},
        {"STL/Spider_binary.stl", "count.stl", 0, 80, 4, std::string("\xff\xff\xff\xff", 4),
         "the file declares 4294967295 triangles"},
        {"OFF/Cube.off", "count.off", 0, 4, 1, "100000000", "the file declares 100000000 vertices"},
    };
    for (const Copy& copy : copies) {
        SCOPED_TRACE(copy.name);
        std::string bytes = readFile(models / copy.source);
        if (copy.cut) bytes.resize(copy.cut);
        bytes.replace(copy.at, copy.replaced, copy.text);
        const fs::path model = writeFile(copy.name, bytes);
        RunResult result = run({"import", model.string(), "-o", (folder / "out.json").string()});
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find("lumeno-host: " + model.string() + ": cannot import: " + copy.refusal),
                  std::string::npos)
            << result.err;
        EXPECT_FALSE(fs::exists(folder / "out.json"));
    }
}

TEST_P(DamagedFileTest, APreviewRefusesAMeshFileThatHangsTheReaderAndAFileNestedTooDeep) {
    fs::copy_file(damaged / "hang.smd", folder / "hang.smd");
    const fs::path scene = writeFile("scene.xml", R"(<scene>
  <camera><pos>0 -5 0</pos><forwards>0 1 0</forwards><up>0 0 1</up><sensor_width>0.036</sensor_width>
    <lens_sensor_dist>0.036</lens_sensor_dist><aspect_ratio>1.333</aspect_ratio></camera>
  <mesh><name>m</name><external><path>hang.smd</path></external></mesh>
  <model><mesh_name>m</mesh_name></model>
</scene>
)");
    RunResult hung = runPlain({"preview", scene.string(), "-o", (folder / "scene.png").string(), "--read-time-limit", "0.5"});
    EXPECT_EQ(hung.status, 1);
    EXPECT_NE(hung.err.find("cannot read " + (folder / "hang.smd").string() +
                            ": the model reader was stopped after 0.5 s"),
              std::string::npos)
        << hung.err;
    EXPECT_FALSE(fs::exists(folder / "scene.png"));

    // 100,000 levels (700 KB) would overflow the parser's stack.
    std::string deep = "<scene>\n";
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    for (int i = 0; i < 100000; ++i) deep += "</a>";
    const fs::path deepScene = writeFile("deep.xml", deep + "\n</scene>\n");
    RunResult refused = runPlain({"preview", deepScene.string(), "-o", (folder / "deep.png").string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("lumeno-host: " + deepScene.string() + ": line 2: elements nest deeper than 1000 levels"),
              std::string::npos)
        << refused.err;
    EXPECT_FALSE(fs::exists(folder / "deep.png"));
}

INSTANTIATE_TEST_SUITE_P(Releases, DamagedModelTest, ::testing::Values("9.0", "9.5"), releaseName);
INSTANTIATE_TEST_SUITE_P(Release, DamagedFileTest, ::testing::Values("9.5"), releaseName);

} // namespace
} // namespace e2e
