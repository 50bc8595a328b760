// The report of one export: what the scene file holds, which objects of the document left
// nothing in it and why, and what the user should look at. The command line prints it as a
// summary and can write it as JSON.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "host/model/node.h"
#include "host/table/save_trace.h"

namespace host {

struct WrittenFile {
    std::string path;
    std::uintmax_t bytes = 0;
};

/// An object of the document that left nothing in the scene.
struct LeftOutObject {
    std::string path;   // "Group/Lamp", as document files name objects
    std::string reason; // a short code: "no-material", "excluded", ...
    std::string text;   // the reason in words
};

struct ReportWarning {
    std::string kind; // "shared-material-name", "missing-texture", "sun-at-origin", "skip-name", "host"
    std::string text;
};

struct ExportReport {
    std::string sceneFile;
    double seconds = 0;
    // Elements of the scene file.
    int meshes = 0, models = 0, materials = 0, spheres = 0, planes = 0, rectangleLights = 0, meshLights = 0;
    std::vector<WrittenFile> files; // the scene file first, then the mesh files
    std::uintmax_t bytes = 0;
    int removed = 0; // mesh files of an earlier export to the same scene that the commit removed
    std::vector<LeftOutObject> leftOut;
    std::vector<ReportWarning> warnings;
};

/// The report of the save just traced (host/table/save_trace.h) of `document` to `sceneFile`.
/// `diagnostics` are the host's own warnings of the run. Throws HostError when the scene file
/// cannot be read back.
ExportReport makeExportReport(const HostNode& document, SaveTrace trace, const std::filesystem::path& sceneFile,
                              double seconds, const std::vector<std::string>& diagnostics);

} // namespace host
