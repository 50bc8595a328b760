// The export report as the command line prints it after an export, one line per fact.
#pragma once

#include <string>
#include <vector>

#include "host/report/export_report.h"

namespace host {

/// "lumeno-host: exported ...", "lumeno-host: scene: ...", then a "left out" line per object and
/// a "warning" line per warning.
std::vector<std::string> reportLines(const ExportReport& report);

} // namespace host
