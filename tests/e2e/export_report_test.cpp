// lumeno-host export's summary and report: each object left out with its reason, each warning,
// the JSON report against the summary, --quiet, and no progress on a pipe.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "e2e_fixture.h"

namespace e2e {
namespace {

class ExportReportTest : public HostCommandTest {};

struct Case {
    const char* name;
    const char* objects;   // the document's "objects"
    const char* expected;  // a line the summary must hold
};

constexpr const char* materials =
    R"("materials": [{"name": "Red"}, {"name": "Same"}, {"name": "Same"},
        {"name": "Wood", "channels": {"0": {"on": true, "texture": "nowhere/wood.png"}}}])";

const Case cases[] = {
    {"no material", R"([{"type": "cube", "name": "Bare"}])", "left out: Bare: no texture tag with a material"},
    {"excluded", R"([{"type": "cube", "name": "Hidden", "tags": [{"type": "texture", "material": "Red"},
        {"type": "Lumeno Object", "params": {"LOBJ_EXCLUDE": true}}]}])", "left out: Hidden: excluded by its Lumeno Object tag"},
    {"point light", R"([{"type": "light", "name": "Lamp"}])", "left out: Lamp: a light of kind 0, not an area light"},
    {"instance of a polygon object", R"([{"type": "polygon", "name": "Mesh", "points": [[0,0,0],[1,0,0],[0,1,0]],
        "polygons": [[0,1,2]], "tags": [{"type": "texture", "material": "Red"}]},
        {"type": "instance", "name": "Copy", "params": {"1001": {"object": "Mesh"}}}])", "left out: Copy: an instance of a polygon object"},
    {"empty polygon object", R"([{"type": "polygon", "name": "Empty", "tags": [{"type": "texture", "material": "Red"}]}])",
     "left out: Empty: a polygon object without polygons"},
    {"child path", R"([{"type": "null", "name": "Group", "children": [{"type": "cube", "name": "Bare"}]}])",
     "left out: Group/Bare: no texture tag"},
    {"shared material name", "[]", "warning: 2 materials share the name \"Same\""},
    {"missing texture", R"([{"type": "cube", "name": "Crate", "tags": [{"type": "texture", "material": "Wood"}]}])",
     "warning: the texture file \"nowhere/wood.png\" of the material \"Wood\" cannot be found"},
    {"sun at the origin", R"([{"type": "null", "name": "Sun"}, {"type": "null", "name": "Settings", "tags": [
        {"type": "Lumeno Render Settings", "params": {"LCFG_SUN_OBJECT": {"object": "Sun"}}}]}])",
     "warning: the sun object stands at the world's origin"},
    {"skip name", R"([{"type": "polygon", "name": "wall_SKIP_3"}])", "warning: the polygon object wall_SKIP_3 has \"_SKIP_\""},
};

TEST_P(ExportReportTest, SummaryNamesEachLeftOutObjectAndWarningAndTheReportMatchesIt) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto input = writeFile("doc.json", std::string("{") + materials + R"(, "objects": )" + c.objects + "}");
        auto report = folder / "report.json";
        RunResult result = run({"export", input.string(), "-o", (folder / "s.xml").string(), "--report", report.string()});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_NE(result.err.find(c.expected), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("lumeno-host: scene: "), std::string::npos) << result.err;
        // Every fact of the report is a line of the summary.
        const nlohmann::json json = nlohmann::json::parse(readFile(report));
        for (const auto& object : json["left_out"])
            EXPECT_NE(result.err.find("left out: " + object["object"].get<std::string>() + ": " +
                                      object["text"].get<std::string>()), std::string::npos);
        for (const auto& warning : json["warnings"])
            EXPECT_NE(result.err.find("warning: " + warning["text"].get<std::string>()), std::string::npos);
        EXPECT_NE(result.err.find(std::to_string(json["bytes"].get<long>()) + " bytes written"), std::string::npos);
        EXPECT_EQ(json["files"][0]["path"], (folder / "s.xml").string());
    }
}

TEST_P(ExportReportTest, ExportedObjectsAreNotLeftOutAndQuietPrintsNothing) {
    auto input = writeFile("doc.json", R"({"materials": [{"name": "Red"}], "objects": [
        {"type": "sphere", "name": "Ball", "tags": [{"type": "texture", "material": "Red"}]},
        {"type": "cube", "name": "Box", "tags": [{"type": "texture", "material": "Red"}]},
        {"type": "cube", "name": "Bare"}]})");
    auto report = folder / "report.json";
    RunResult loud = run({"export", input.string(), "-o", (folder / "s.xml").string(), "--report", report.string()});
    ASSERT_EQ(loud.status, 0) << loud.err;
    const nlohmann::json json = nlohmann::json::parse(readFile(report));
    ASSERT_EQ(json["left_out"].size(), 1u) << json.dump(2);
    EXPECT_EQ(json["left_out"][0]["object"], "Bare");
    EXPECT_EQ(json["contents"]["spheres"], 1);
    EXPECT_EQ(json["contents"]["models"], 1);
    RunResult quiet = run({"export", input.string(), "-o", (folder / "s.xml").string(), "--quiet"});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.err, "");
    RunResult failed = run({"export", (folder / "none.json").string(), "-o", (folder / "s.xml").string(), "--quiet"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("none.json"), std::string::npos) << failed.err;
}

TEST_P(ExportReportTest, ALongExportShowsNoProgressOnAPipe) {
    std::string objects;
    for (int i = 0; i < 1500; ++i)
        objects += std::string(i ? "," : "") + R"({"type": "cube", "name": "C)" + std::to_string(i) +
                   R"(", "tags": [{"type": "texture", "material": "Red"}]})";
    auto input = writeFile("doc.json", R"({"materials": [{"name": "Red"}], "objects": [)" + objects + "]}");
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    std::vector<std::string> args{LUMENO_HOST_EXE, "export", input.string(), "-o", (folder / "s.xml").string(),
                                  "--release", release(), "--module", moduleFolder().string(), "--prefs", prefs.string()};
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, LUMENO_HOST_EXE, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string err;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) err.append(buffer, static_cast<std::size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << err;
    EXPECT_EQ(err.find('\r'), std::string::npos);
    EXPECT_EQ(err.find("exporting:"), std::string::npos);
    EXPECT_NE(err.find("1500 meshes"), std::string::npos) << err;
}

INSTANTIATE_TEST_SUITE_P(Releases, ExportReportTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
