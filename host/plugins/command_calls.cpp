#include "host/plugins/command_calls.h"

#include <string>

#include "host/plugins/host_error.h"
#include "host/plugins/registry.h"
#include "host_constants.h"

namespace host {

const RegisteredPlugin& findCommand(const Registry& registry, int32_t id)
{
    const RegisteredPlugin* plugin = registry.find(id);
    if (!plugin)
        throw HostError("no command is registered under ID " + std::to_string(id));
    if (plugin->kind != PLUGIN_KIND_COMMAND)
        throw HostError("plug-in " + std::to_string(id) + " (\"" + plugin->name + "\") is a " +
                        pluginKindName(plugin->kind) + ", not a command");
    return *plugin;
}

int32_t commandState(const RegisteredPlugin& command, HostDocument* document)
{
    const CommandRecord& record = command.command;
    // A command without a state entry is always offered.
    return record.state ? record.state(record.instance, document) : COMMAND_STATE_ENABLED;
}

bool commandEnabled(const RegisteredPlugin& command, HostDocument* document)
{
    return (commandState(command, document) & COMMAND_STATE_ENABLED) != 0;
}

bool executeCommand(const RegisteredPlugin& command, HostDocument* document)
{
    const CommandRecord& record = command.command;
    if (!record.execute)
        throw HostError("command " + std::to_string(command.id) + " (\"" + command.name +
                        "\") has no execute entry");
    return record.execute(record.instance, document);
}

CommandOutcome runCommandFromMenu(const RegisteredPlugin& command, HostDocument* document)
{
    if (!commandEnabled(command, document))
        return CommandOutcome::Disabled;
    return executeCommand(command, document) ? CommandOutcome::Succeeded : CommandOutcome::Failed;
}

} // namespace host
