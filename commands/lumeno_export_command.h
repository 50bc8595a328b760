// The export command (plug-in 1019468): always asks for the output file, writes the scene there,
// starts the renderer on it and remembers the file for export-and-run.
#pragma once

#include <cstdint>

#include "host_types.h"
#include "plugin_bases.h"

class LumenoExportCommand : public CommandData {
public:
    bool Execute(HostDocument* document) override;
    int32_t GetState(HostDocument* document) override;
};

/// Asks for the file, saves, starts the renderer and remembers the file. Answers true when the
/// renderer was started; false when the dialog was cancelled or a step failed (the user has been
/// told, except for a cancel).
bool ExecuteExport(HostDocument* document);

/// Registers one instance: name 10002, help 10003, flags 0, icon "lumenoexportcommand.tif".
bool RegisterLumenoExportCommand();
