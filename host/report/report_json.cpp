#include "host/report/report_json.h"

#include "host/files/whole_file.h"
#include "host/plugins/host_error.h"

namespace host {

nlohmann::json reportJson(const ExportReport& report) {
    nlohmann::json json;
    json["scene"] = report.sceneFile;
    json["seconds"] = report.seconds;
    json["contents"] = {{"meshes", report.meshes},       {"models", report.models},
                        {"materials", report.materials}, {"spheres", report.spheres},
                        {"planes", report.planes},       {"rectangle_lights", report.rectangleLights},
                        {"mesh_lights", report.meshLights}};
    json["files"] = nlohmann::json::array();
    for (const WrittenFile& file : report.files) json["files"].push_back({{"path", file.path}, {"bytes", file.bytes}});
    json["bytes"] = report.bytes;
    json["removed"] = report.removed;
    json["left_out"] = nlohmann::json::array();
    for (const LeftOutObject& object : report.leftOut)
        json["left_out"].push_back({{"object", object.path}, {"reason", object.reason}, {"text", object.text}});
    json["warnings"] = nlohmann::json::array();
    for (const ReportWarning& warning : report.warnings)
        json["warnings"].push_back({{"kind", warning.kind}, {"text", warning.text}});
    return json;
}

void writeReportFile(const ExportReport& report, const std::filesystem::path& file) {
    // Names are the user's: invalid UTF-8 is replaced rather than refused.
    const std::string text = reportJson(report).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    try {
        removeStaleTemporaries(file);
        writeWholeFile(file, std::vector<uint8_t>(text.begin(), text.end()));
    } catch (const HostError& error) {
        throw HostError("cannot write the report " + file.string() + ": " + error.what());
    }
}

} // namespace host
