// An export replaces the earlier one as a whole: killed or failing at any step of its run, it
// leaves the earlier export byte for byte (or, once it has committed, its own whole export);
// exports to one scene at once never mix; a smaller export takes away the larger one's extra
// mesh files, and nothing else.
#include <array>
#include <map>
#include <sstream>
#include <set>
#include <signal.h>
#include <sys/wait.h>

#include "e2e_fixture.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

/// A document of `count` boxes, each at a place of its own, so a mesh file tells which export
/// wrote it. Merged: the render-settings tag chooses the merged strategy, one box is unsmoothed
/// and one glows, so all three kinds of merged files are written.
std::string boxes(int count, int seed, bool merged) {
    std::string objects;
    for (int i = 0; i < count; ++i) {
        std::string tags = R"({"type": "texture", "material": "M"})";
        if (merged && i == 0) tags += R"(, {"type": "Lumeno Object", "params": {"LOBJ_NO_NORMAL_SMOOTHING": true}})";
        if (merged && i == 1) tags = R"({"type": "Lumeno Light", "params": {"LLIGHT_SPECTRUM_TYPE": "LLIGHT_SPECTRUM_RGB"}})";
        objects += (i ? ",\n" : "") + std::string(R"({"type": "polygon", "name": "Box )") + std::to_string(i) +
                   R"(", "position": [)" + std::to_string(seed * 1000 + i * 40) + R"(, 0, 0],
 "points": [[-10, -10, -10], [10, -10, -10], [10, 10, -10], [-10, 10, -10], [-10, -10, 10], [10, -10, 10], [10, 10, 10], [-10, 10, 10]],
 "polygons": [[0, 3, 2, 1], [4, 5, 6, 7], [0, 1, 5, 4], [1, 2, 6, 5], [2, 3, 7, 6], [3, 0, 4, 7]], "tags": [)" +
                   tags + "]}";
    }
    if (merged)
        objects += R"(, {"type": "null", "name": "Settings", "tags": [{"type": "Lumeno Render Settings", "params": {"LCFG_MERGED_MESH_EXPORT": true}}]})";
    return R"({"materials": [{"name": "M", "channels": {"0": {"on": true}}}], "objects": [)" + objects + "]}";
}

/// An export as the folder holds it: the scene file and every file it names, by name, with bytes
/// ("missing" for a named file that is not there).
using Export = std::map<std::string, std::string>;

class WholeExportTest : public HostCommandTest {
protected:
    Export exportAt(const fs::path& scene) {
        Export files;
        if (!fs::exists(scene)) return files;
        const std::string text = readFile(scene);
        files[scene.filename().string()] = text;
        for (std::size_t at = text.find("<path>"); at != std::string::npos; at = text.find("<path>", at + 1)) {
            const std::size_t start = at + 6, end = text.find("</path>", start);
            const std::string name = text.substr(start, end - start);
            const fs::path file = scene.parent_path() / name;
            files[name] = fs::exists(file) ? readFile(file) : "missing";
        }
        return files;
    }

    /// The export of `input` into a folder of its own, as the reference of what it writes.
    Export reference(const std::string& name, const fs::path& input) {
        const fs::path own = folder / ("reference-" + name);
        fs::create_directories(own);
        EXPECT_EQ(run({"export", input.string(), "-o", (own / "s.xml").string(), "-q"}).status, 0);
        return exportAt(own / "s.xml");
    }

    /// A commit that a killed export left is finished by the next command that reads the scene.
    void finishInterrupted(const fs::path& scene) {
        for (const auto& entry : fs::directory_iterator(scene.parent_path()))
            if (entry.path().extension() == ".commit") {
                RunResult preview = runPlain({"preview", scene.string(), "-o", (folder / "p.png").string(), "--size", "4x3"});
                EXPECT_EQ(preview.status, 0) << preview.err;
                return;
            }
    }

    /// What the exporter's own names leave in `work` besides the scene and its named files.
    std::set<std::string> leftovers(const fs::path& work, const Export& files) {
        std::set<std::string> extra;
        for (const auto& entry : fs::directory_iterator(work))
            if (!files.count(entry.path().filename().string())) extra.insert(entry.path().filename().string());
        return extra;
    }

    /// Exports `inputs[0]` into `work`, then exports the two in turns over each other, killed at
    /// moments spread over the run (when `kills`) and failing at each step that changes a file.
    /// After each run the folder holds one of the two exports whole; a run that failed before its
    /// commit left the export before it byte for byte. The next export leaves nothing else behind.
    void replaceUnderFaults(const std::array<fs::path, 2>& inputs, const fs::path& work, bool kills) {
        const Export references[2] = {reference(work.filename().string() + "-a", inputs[0]),
                                      reference(work.filename().string() + "-b", inputs[1])};
        fs::create_directories(work);
        const fs::path scene = work / "s.xml";
        auto exportArgs = [&](int which) {
            return std::vector<std::string>{"export", inputs[which].string(), "-o", scene.string(), "-q",
                                            "--release", release(), "--module", moduleFolder().string(), "--prefs",
                                            prefs.string()};
        };
        ASSERT_EQ(runPlain(exportArgs(0)).status, 0);
        // The steps of the longer of the two runs: disk steps to fail, and those with the prints
        // into the scene file to be killed at.
        const fs::path counted = folder / "steps.txt";
        int failSteps = 0, killSteps = 0;
        for (int which : {1, 0}) {
            ASSERT_EQ(runPlain(exportArgs(which), fault("count:" + counted.string())).status, 0);
            std::istringstream numbers(readFile(counted));
            int disk = 0, all = 0;
            numbers >> disk >> all;
            failSteps = std::max(failSteps, disk);
            killSteps = std::max(killSteps, all);
        }
        ASSERT_GT(failSteps, 10);

        // Kills at 60 moments spread over the run, the last 20 steps (the commit) among them;
        // then a failure at every disk step.
        std::vector<std::string> faults;
        for (int i = 0; kills && i < 40; ++i) faults.push_back("kill:" + std::to_string(1 + i * (killSteps - 21) / 39));
        for (int k = killSteps - 19; kills && k <= killSteps; ++k) faults.push_back("kill:" + std::to_string(k));
        for (int k = 1; k <= failSteps; ++k) faults.push_back("fail:" + std::to_string(k));
        Export before = references[0];
        for (std::size_t i = 0; i < faults.size(); ++i) {
            SCOPED_TRACE(faults[i]);
            const int which = static_cast<int>(i % 2 ? 0 : 1);
            RunResult result = runPlain(exportArgs(which), fault(faults[i]));
            bool journal = false;
            for (const auto& entry : fs::directory_iterator(work)) journal |= entry.path().extension() == ".commit";
            finishInterrupted(scene);
            const Export now = exportAt(scene);
            ASSERT_TRUE(now == references[0] || now == references[1]) << "a mix of two exports";
            if (result.status > 0) {
                EXPECT_NE(result.err.find(work.string()), std::string::npos) << result.err;
                if (!journal) {
                    EXPECT_TRUE(now == before) << "a failed export changed the earlier one";
                }
            }
            if (result.status == 0) {
                EXPECT_TRUE(now == references[which]);
            }
            before = now;
        }
        // The next export takes away everything the killed ones left.
        ASSERT_EQ(runPlain(exportArgs(0)).status, 0);
        EXPECT_EQ(leftovers(work, exportAt(scene)), std::set<std::string>{});
    }

    RunSetup fault(const std::string& what) {
        return {-1, {}, {"LD_PRELOAD=" LUMENO_FAULT_SHIM, "LUMENO_FAULT=" + what, "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=1"}};
    }
};

TEST_P(WholeExportTest, AKilledOrFailingExportLeavesTheEarlierExportOrItsOwnWhole) {
    for (const bool merged : {false, true}) {
        SCOPED_TRACE(merged ? "merged" : "per object");
        const std::string tag = merged ? "merged" : "per-object";
        replaceUnderFaults({writeFile(tag + "0.json", boxes(10, 1, merged)), writeFile(tag + "1.json", boxes(6, 2, merged))},
                           folder / tag, true);
    }
}

TEST_P(WholeExportTest, AModelsEmbeddedTexturesNeverChangeWhatTheEarlierExportNames) {
    // Two models whose embedded textures differ in their bytes, and so in their names.
    const fs::path model = "/usr/share/assimp/models/glTF2/BoxTextured-glTF-Binary/BoxTextured.glb";
    if (!fs::exists(model)) GTEST_SKIP() << "needs assimp-testmodels";
    std::string bytes = readFile(model);
    const std::size_t png = bytes.find("IDAT");
    ASSERT_NE(png, std::string::npos);
    bytes[png + 20] = static_cast<char>(bytes[png + 20] ^ 0x55);
    replaceUnderFaults({model, writeFile("changed.glb", bytes)}, folder / "model", false);
}

TEST_P(WholeExportTest, ExportsToOneSceneAtOnceGiveOneWholeExport) {
    const fs::path inputs[2] = {writeFile("x0.json", boxes(6, 1, false)), writeFile("x1.json", boxes(4, 2, false))};
    const Export references[2] = {reference("a", inputs[0]), reference("b", inputs[1])};
    const fs::path scene = folder / "s.xml";
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        pid_t runs[2];
        for (int which : {0, 1}) runs[which] = start({"export", inputs[which].string(), "-o", scene.string(), "-q"});
        for (pid_t child : runs) {
            int status = -1;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const Export now = exportAt(scene);
        EXPECT_TRUE(now == references[0] || now == references[1]) << "a mix of two exports";
        const std::set<std::string> extra = leftovers(folder, now);
        EXPECT_EQ(extra.count("s.xml.4.3DS") + extra.count("s.xml.5.3DS"), 0u) << "a mesh file no scene names";
    }
}

TEST_P(WholeExportTest, ASmallerExportRemovesOnlyTheMeshFilesOfTheLargerOne) {
    const fs::path scene = folder / "s.xml";
    // Names like the exporter's that are not its own stay.
    for (const char* other : {"s.xml.7.3ds", "s.xml.old.3DS", "s.xml.07.3DS", "t.xml.3.3DS", "s.xml.light.3DS"})
        writeFile(other, "not ours");
    const fs::path large = writeFile("large.json", boxes(200, 1, false));
    const fs::path small = writeFile("small.json", boxes(50, 2, false));
    ASSERT_EQ(run({"export", large.string(), "-o", scene.string(), "-q"}).status, 0);
    RunResult result = run({"export", small.string(), "-o", scene.string(), "--report", (folder / "r.json").string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("removed 150 mesh files of an earlier export"), std::string::npos) << result.err;
    EXPECT_NE(readFile(folder / "r.json").find("\"removed\": 150"), std::string::npos);
    std::set<std::string> meshFiles;
    for (const auto& entry : fs::directory_iterator(folder)) meshFiles.insert(entry.path().filename().string());
    for (int n = 0; n < 200; ++n) EXPECT_EQ(meshFiles.count("s.xml." + std::to_string(n) + ".3DS"), n < 50 ? 1u : 0u) << n;
    for (const char* other : {"s.xml.7.3ds", "s.xml.old.3DS", "s.xml.07.3DS", "t.xml.3.3DS", "s.xml.light.3DS"})
        EXPECT_TRUE(fs::exists(folder / other)) << other;
}

INSTANTIATE_TEST_SUITE_P(BothReleases, WholeExportTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
