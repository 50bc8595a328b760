#include "app/export_summary.h"

#include <cerrno>
#include <cstdio>
#include <string_view>
#include <unordered_set>

#include <sys/stat.h>

#include "app/common_options.h"
#include "host/files/export_staging.h"
#include "host/plugins/host_error.h"
#include "host/report/export_report.h"
#include "host/report/report_json.h"
#include "host/report/report_text.h"
#include "host/table/save_trace.h"

namespace app {

void addReportOptions(CLI::App& command, ReportOptions& options) {
    command.add_flag("-q,--quiet", options.quiet, "Print only errors: no summary, no warnings");
    command.add_option("--report", options.reportFile, "Also write the summary as JSON into this file")
        ->type_name("FILE.json");
}

int TracedExport::removedMeshFiles(const host::ExportReport& report) const {
    // A name written again is there; any other that is no longer there was removed. An export
    // over an earlier one writes the same names again, so this looks at no file then.
    std::unordered_set<std::string_view> written;
    written.reserve(report.files.size());
    for (const host::WrittenFile& file : report.files) {
        const std::string_view path = file.path;
        written.insert(path.substr(path.rfind('/') + 1));
    }
    int removed = 0;
    struct stat status {};
    for (const std::string& name : earlierMeshFiles_)
        if (written.count(name) == 0 && ::lstat((expected_.parent_path() / name).c_str(), &status) != 0 && errno == ENOENT)
            ++removed;
    return removed;
}

TracedExport::TracedExport(const HostNode& document, const ReportOptions& options)
    : document_(document), options_(options), start_(std::chrono::steady_clock::now()) {
    host::startSaveTrace(document, [this](const host::SaveTrace& trace) { progress_.update(trace); });
}

TracedExport::~TracedExport() { host::stopSaveTrace(); }

void TracedExport::expect(const std::filesystem::path& scene) {
    expected_ = scene;
    earlierMeshFiles_ = host::sceneMeshFileNames(scene);
}

void TracedExport::finish(const std::filesystem::path& sceneFile, const host::Session& session) {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
    host::stopSaveTrace();
    progress_.clear();
    if (options_.quiet && options_.reportFile.empty()) return; // nobody would read it
    try {
        host::ExportReport report =
            host::makeExportReport(document_, host::takeSaveTrace(), sceneFile, elapsed.count(), session.diagnostics());
        if (sceneFile == expected_ && !earlierMeshFiles_.empty()) report.removed = removedMeshFiles(report);
        if (!options_.quiet)
            for (const std::string& line : host::reportLines(report)) std::fprintf(stderr, "%s\n", line.c_str());
        if (!options_.reportFile.empty()) host::writeReportFile(report, options_.reportFile);
    } catch (const host::HostError& error) {
        throw CommandFailure(error.what());
    }
}

} // namespace app
