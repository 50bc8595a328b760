// The lumeno-host commands. Each adds itself to the command line and runs when chosen,
// answering the exit status (0 on success); failures are thrown as CommandFailure.
#pragma once

#include <CLI/CLI.hpp>

namespace app {

/// `plugins`: loads and starts the module, lists what it registered, ends it.
void addPluginsCommand(CLI::App& cli);
/// `export DOCUMENT -o OUT.xml`: saves a document through the module's scene saver.
void addExportCommand(CLI::App& cli);
/// `prefs [--renderer-folder DIR]`: shows or sets the scene saver's settings.
void addPrefsCommand(CLI::App& cli);
/// `import MODEL -o DOCUMENT.json [--scale S]`: writes a model file as a document file.
void addImportCommand(CLI::App& cli);

} // namespace app
