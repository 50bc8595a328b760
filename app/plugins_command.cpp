#include <cstdio>
#include <memory>

#include "app/commands.h"
#include "app/common_options.h"
#include "host/plugins/registry.h"

namespace app {

namespace {

void listPlugins(const host::Registry& registry) {
    std::printf("%-9s %-12s %-5s %s\n", "ID", "KIND", "FLAGS", "NAME");
    for (const host::RegisteredPlugin* plugin : registry.list()) {
        std::string kind = std::to_string(plugin->kind) + " " + host::pluginKindName(plugin->kind);
        std::printf("%-9d %-12s %-5d %s\n", plugin->id, kind.c_str(), plugin->flags, plugin->name.c_str());
    }
}

} // namespace

void addPluginsCommand(CLI::App& cli) {
    auto options = std::make_shared<CommonOptions>();
    CLI::App* command = cli.add_subcommand("plugins", "Load the module, list the plug-ins it registers, end it");
    addCommonOptions(*command, *options);
    command->callback([options] {
        host::Session session(sessionOptions(*options));
        try {
            startModule(session, *options);
        } catch (const CommandFailure&) {
            listPlugins(session.registry()); // what did register helps to find the one that failed
            throw;
        }
        listPlugins(session.registry());
        printWarnings(session);
    });
}

} // namespace app
