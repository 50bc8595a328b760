#include "host/report/export_report.h"

#include <set>
#include <system_error>

#include "host/report/left_out.h"
#include "host/report/report_warnings.h"
#include "host/report/scene_contents.h"

namespace host {
namespace {

int count(const SceneContents& contents, const char* element) {
    auto found = contents.elements.find(element);
    return found == contents.elements.end() ? 0 : found->second;
}

void addFile(ExportReport& report, const std::string& path) {
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    if (error) return;
    report.files.push_back({path, bytes});
    report.bytes += bytes;
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
    std::set<std::string> meshFiles;
    for (const SavedMeshFile& file : trace.meshFiles)
        if (file.written && meshFiles.insert(file.path).second) addFile(report, file.path);
    report.leftOut = leftOutObjects(document, trace, contents);
    report.warnings = exportWarnings(document, contents, sceneFile);
    for (const std::string& message : diagnostics) report.warnings.push_back({"host", message});
    return report;
}

} // namespace host
