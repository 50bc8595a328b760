// Calls into a registered command as the application's menu makes them: first the state query
// (which decides whether the entry is enabled), then, when it is chosen, execute.
#pragma once

#include <cstdint>

#include "host_types.h"

namespace host {

struct RegisteredPlugin;
class Registry;

/// The command registered under `id`. Throws HostError naming the ID when there is none, or when
/// the ID belongs to a plug-in of another kind.
const RegisteredPlugin& findCommand(const Registry& registry, int32_t id);

/// The command's state for a document: COMMAND_STATE_ENABLED, COMMAND_STATE_DISABLED, or whatever
/// else the command answers.
int32_t commandState(const RegisteredPlugin& command, HostDocument* document);

/// Whether the menu entry is enabled: the state has the enabled bit.
bool commandEnabled(const RegisteredPlugin& command, HostDocument* document);

/// Runs the command on a document; answers the command's own result.
bool executeCommand(const RegisteredPlugin& command, HostDocument* document);

enum class CommandOutcome {
    Disabled,  // the state query disabled it; it was not run
    Succeeded, // it ran and answered true
    Failed     // it ran and answered false
};

/// The menu: asks for the state and runs the command only when it is enabled.
CommandOutcome runCommandFromMenu(const RegisteredPlugin& command, HostDocument* document);

} // namespace host
