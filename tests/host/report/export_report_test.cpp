// The report made from a save's record and the scene file it wrote: each mesh file once, in the
// order first written, with the size of its last write; an object counts as exported when a mesh
// file holds it or a scene element's comment names it.
#include <gtest/gtest.h>

#include <fstream>

#include "host/model/build.h"
#include "host/model/document.h"
#include "host/report/export_report.h"
#include "host_constants.h"

namespace host {
namespace {

SavedMeshFile meshFile(std::string path, bool written, std::uintmax_t bytes, std::vector<uint64_t> origins = {}) {
    return {std::move(path), written, bytes, std::move(origins)};
}

TEST(ExportReportTest, ListsEachWrittenFileOnceWithItsLastSizeAndFindsWhatWasExported) {
    const std::filesystem::path scene = std::filesystem::path(testing::TempDir()) / "report.xml";
    std::ofstream(scene, std::ios::binary) << "<scene>\n    <model><!--Named--></model>\n</scene>\n";
    NodePtr document = createDocument();
    const HostNode* inMesh = makeObject(*document, TYPE_POLYGON_OBJECT, "In a mesh");
    makeObject(*document, TYPE_POLYGON_OBJECT, "Named");
    const HostNode* named = document->children().last();
    makeObject(*document, TYPE_NULL, "Nothing");

    SaveTrace trace;
    trace.meshFiles = {meshFile("b.3ds", true, 10, {inMesh->origin()}), meshFile("a.3ds", false, 0),
                       meshFile("c.3ds", true, 7), meshFile("b.3ds", true, 30), meshFile("a.3ds", true, 5)};
    trace.namesRead = {{named->origin(), "Named"}, {inMesh->origin(), "In a mesh"}};
    const ExportReport report = makeExportReport(*document, std::move(trace), scene, 0.5, {"a diagnostic"});

    ASSERT_EQ(report.files.size(), 4u);
    EXPECT_EQ(report.files[0].path, scene.string());
    const std::pair<const char*, std::uintmax_t> meshes[] = {{"b.3ds", 30}, {"c.3ds", 7}, {"a.3ds", 5}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(report.files[i + 1].path, meshes[i].first);
        EXPECT_EQ(report.files[i + 1].bytes, meshes[i].second);
    }
    EXPECT_EQ(report.bytes, report.files[0].bytes + 42);
    EXPECT_EQ(report.models, 1);
    ASSERT_EQ(report.leftOut.size(), 1u);
    EXPECT_EQ(report.leftOut[0].path, "Nothing");
    ASSERT_FALSE(report.warnings.empty());
    EXPECT_EQ(report.warnings.back().text, "a diagnostic");
}

} // namespace
} // namespace host
