#include "host/report/report_text.h"

#include <cstdio>

namespace host {
namespace {

std::string counted(long n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::vector<std::string> reportLines(const ExportReport& report) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.2f", report.seconds);
    std::vector<std::string> lines;
    lines.push_back("lumeno-host: exported " + report.sceneFile + " in " + seconds + " s: " +
                    counted(static_cast<long>(report.files.size()), "file", "files") + ", " +
                    counted(static_cast<long>(report.bytes), "byte", "bytes") + " written");
    lines.push_back("lumeno-host: scene: " + counted(report.meshes, "mesh", "meshes") + ", " +
                    counted(report.models, "model", "models") + ", " +
                    counted(report.materials, "material", "materials") + ", " +
                    counted(report.spheres, "sphere", "spheres") + ", " + counted(report.planes, "plane", "planes") +
                    ", " + counted(report.rectangleLights, "rectangle light", "rectangle lights") + ", " +
                    counted(report.meshLights, "mesh light", "mesh lights"));
    if (report.removed > 0)
        lines.push_back("lumeno-host: removed " + counted(report.removed, "mesh file", "mesh files") +
                        " of an earlier export that the new scene does not name");
    for (const LeftOutObject& object : report.leftOut)
        lines.push_back("lumeno-host: left out: " + object.path + ": " + object.text);
    for (const ReportWarning& warning : report.warnings) lines.push_back("lumeno-host: warning: " + warning.text);
    return lines;
}

} // namespace host
