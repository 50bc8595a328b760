#include "app/export_summary.h"

#include <cstdio>

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
        // Only names the earlier export left can have gone.
        if (sceneFile == expected_ && !earlierMeshFiles_.empty()) {
            const std::set<std::string> now = host::sceneMeshFileNames(sceneFile);
            for (const std::string& name : earlierMeshFiles_) report.removed += now.count(name) == 0;
        }
        if (!options_.quiet)
            for (const std::string& line : host::reportLines(report)) std::fprintf(stderr, "%s\n", line.c_str());
        if (!options_.reportFile.empty()) host::writeReportFile(report, options_.reportFile);
    } catch (const host::HostError& error) {
        throw CommandFailure(error.what());
    }
}

} // namespace app
