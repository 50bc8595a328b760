// The export-and-run command (plug-in 1019434): writes the scene to the remembered file without
// asking (asking only when none is remembered yet) and starts the renderer on it.
#pragma once

#include <cstdint>

#include "host_types.h"
#include "plugin_bases.h"

class LumenoExportAndRunCommand : public CommandData {
public:
    bool Execute(HostDocument* document) override;
    int32_t GetState(HostDocument* document) override;
};

/// Saves to the remembered file (or to one chosen now, which is remembered at once) and starts
/// the renderer. Answers true when the renderer was started; false when the dialog was cancelled
/// or a step failed (the user has been told, except for a cancel).
bool ExecuteExportAndRun(HostDocument* document);

/// Registers one instance: name 10006, help 10007, flags 0, icon "lumenoexportandruncommand.tif".
bool RegisterLumenoExportAndRunCommand();
