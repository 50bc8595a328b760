#include "host/report/export_report.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <system_error>
#include <utility>
#include <vector>

#include "host/report/left_out.h"
#include "host/report/report_warnings.h"
#include "host/report/scene_contents.h"

namespace host {
namespace {

int count(const SceneContents& contents, const char* element) {
    auto found = contents.elements.find(element);
    return found == contents.elements.end() ? 0 : found->second;
}

void addFile(ExportReport& report, std::string path, std::uintmax_t bytes) {
    report.files.push_back({std::move(path), bytes});
    report.bytes += bytes;
}

void addFile(ExportReport& report, const std::string& path) {
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    if (!error) addFile(report, path, bytes);
}

/// The mesh files in the order first written, each with the size of its last write: the host
/// wrote them, so it knows their sizes without asking the file system once per file. Their
/// names move from the record into the report.
void addMeshFiles(ExportReport& report, std::deque<SavedMeshFile> meshFiles) {
    // Files written again are found by sorting their places by name, which takes eight bytes a
    // file where a table of names would take tens: a save may write many thousand files.
    std::vector<std::size_t> byName;
    byName.reserve(meshFiles.size());
    for (std::size_t i = 0; i < meshFiles.size(); ++i)
        if (meshFiles[i].written) byName.push_back(i);
    std::stable_sort(byName.begin(), byName.end(),
                     [&](std::size_t a, std::size_t b) { return meshFiles[a].path < meshFiles[b].path; });
    std::size_t listed = byName.size();
    for (std::size_t run = 0, end = 0; run < byName.size(); run = end) {
        SavedMeshFile& first = meshFiles[byName[run]];
        for (end = run + 1; end < byName.size() && meshFiles[byName[end]].path == first.path; ++end) {
            first.bytes = meshFiles[byName[end]].bytes; // stable: the last write comes last
            meshFiles[byName[end]].written = false;
            --listed;
        }
    }
    std::vector<std::size_t>().swap(byName);
    report.files.reserve(report.files.size() + listed);
    for (SavedMeshFile& file : meshFiles)
        if (file.written) addFile(report, std::move(file.path), file.bytes);
}

} // namespace

ExportReport makeExportReport(const HostNode& document, SaveTrace trace, const std::filesystem::path& sceneFile,
                              double seconds, const std::vector<std::string>& diagnostics) {
    ExportReport report;
    report.sceneFile = sceneFile.string();
    report.seconds = seconds;
    {
        // What the scene holds and the names the module read go before the file list is made,
        // so that a scene of many objects never holds all three.
        const SceneContents contents = readSceneContents(sceneFile);
        report.meshes = count(contents, "mesh");
        report.models = count(contents, "model");
        report.materials = count(contents, "material");
        report.spheres = count(contents, "sphere");
        report.planes = count(contents, "plane");
        report.rectangleLights = count(contents, "rectanglelight");
        report.meshLights = count(contents, "meshlight");
        report.leftOut = leftOutObjects(document, trace, contents);
        report.warnings = exportWarnings(document, contents, sceneFile);
    }
    std::deque<std::pair<uint64_t, std::string>>().swap(trace.namesRead);
    addFile(report, report.sceneFile);
    addMeshFiles(report, std::move(trace.meshFiles));
    for (const std::string& message : diagnostics) report.warnings.push_back({"host", message});
    return report;
}

} // namespace host
