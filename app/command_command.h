// `lumeno-host command`: runs one of the module's menu commands on a document.
#pragma once

#include <CLI/CLI.hpp>

namespace app {

/// `command export|export-and-run DOCUMENT [--choose FILE | --cancel]`: checks the command's
/// state and runs it as the application's menu does; exit status 0 when it answers true.
void addCommandCommand(CLI::App& cli);

} // namespace app
