#include "host/report/export_report.h"

#include <string_view>
#include <system_error>
#include <unordered_map>
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

void addFile(ExportReport& report, const std::string& path, std::uintmax_t bytes) {
    report.files.push_back({path, bytes});
    report.bytes += bytes;
}

void addFile(ExportReport& report, const std::string& path) {
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    if (!error) addFile(report, path, bytes);
}

/// The mesh files in the order first written, each with the size of its last write: the host
/// wrote them, so it knows their sizes without asking the file system once per file.
void addMeshFiles(ExportReport& report, const SaveTrace& trace) {
    std::vector<std::pair<const std::string*, std::uintmax_t>> files;
    files.reserve(trace.meshFiles.size());
    {
        std::unordered_map<std::string_view, std::size_t> position;
        for (const SavedMeshFile& file : trace.meshFiles) {
            if (!file.written) continue;
            auto [it, added] = position.try_emplace(file.path, files.size());
            if (added) files.emplace_back(&file.path, file.bytes);
            else files[it->second].second = file.bytes;
        }
    } // the positions go before the list is made: a save may write many thousand files
    report.files.reserve(report.files.size() + files.size());
    for (const auto& [path, bytes] : files) addFile(report, *path, bytes);
}

} // namespace

ExportReport makeExportReport(const HostNode& document, const SaveTrace& trace, const std::filesystem::path& sceneFile,
                              double seconds, const std::vector<std::string>& diagnostics) {
    const SceneContents contents = readSceneContents(sceneFile);
    ExportReport report;
    report.sceneFile = sceneFile.string();
    report.seconds = seconds;
    report.meshes = count(contents, "mesh");
    report.models = count(contents, "model");
    report.materials = count(contents, "material");
    report.spheres = count(contents, "sphere");
    report.planes = count(contents, "plane");
    report.rectangleLights = count(contents, "rectanglelight");
    report.meshLights = count(contents, "meshlight");
    addFile(report, report.sceneFile);
    addMeshFiles(report, trace);
    report.leftOut = leftOutObjects(document, trace, contents);
    report.warnings = exportWarnings(document, contents, sceneFile);
    for (const std::string& message : diagnostics) report.warnings.push_back({"host", message});
    return report;
}

} // namespace host
