// The summary an export prints (and the report it writes) once the scene file is saved, and the
// trace of the save it is made from. Shared by `export` and `command`.
#pragma once

#include <chrono>
#include <filesystem>
#include <set>
#include <string>

#include <CLI/CLI.hpp>

#include "app/export_progress.h"
#include "host/model/node.h"
#include "host/plugins/session.h"
#include "host/report/export_report.h"

namespace app {

struct ReportOptions {
    bool quiet = false;     // --quiet: errors only
    std::string reportFile; // --report FILE.json; empty: none
};

/// Adds --quiet and --report to a command.
void addReportOptions(CLI::App& command, ReportOptions& options);

/// Traces one save of a document from construction to finish(), showing progress on a terminal.
class TracedExport {
public:
    TracedExport(const HostNode& document, const ReportOptions& options);
    ~TracedExport();
    TracedExport(const TracedExport&) = delete;
    TracedExport& operator=(const TracedExport&) = delete;

    /// Notes which mesh files of `scene` are there before the save, so that finish() can say how
    /// many of them the export removed.
    void expect(const std::filesystem::path& scene);

    /// Ends the trace: prints the summary with the session's diagnostics (unless quiet) and
    /// writes the report file. Throws CommandFailure when the scene file cannot be read back or
    /// the report file cannot be written.
    void finish(const std::filesystem::path& sceneFile, const host::Session& session);

private:
    /// How many of the mesh files there before the save are gone after it.
    int removedMeshFiles(const host::ExportReport& report) const;

    const HostNode& document_;
    const ReportOptions& options_;
    ExportProgress progress_;
    std::chrono::steady_clock::time_point start_;
    std::filesystem::path expected_;
    std::set<std::string> earlierMeshFiles_;
};

} // namespace app
