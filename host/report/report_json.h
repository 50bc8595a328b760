// The export report for programs: one JSON object (see docs/command-line.md).
#pragma once

#include <filesystem>

#include <nlohmann/json.hpp>

#include "host/report/export_report.h"

namespace host {

nlohmann::json reportJson(const ExportReport& report);
/// Writes the report whole or not at all; throws HostError naming the file.
void writeReportFile(const ExportReport& report, const std::filesystem::path& file);

} // namespace host
