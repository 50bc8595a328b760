#include "app/common_options.h"

#include <cstdio>

#include "app/module_location.h"
#include "host/import/reading_limits.h"
#include "host/settings/preferences.h"

namespace app {

void addCommonOptions(CLI::App& command, CommonOptions& options) {
    command.add_option("--module", options.module, "Module folder to load (default: the built module of the release)")
        ->type_name("DIR");
    command.add_option("--prefs", options.prefs, "Preferences file (default: $XDG_CONFIG_HOME/lumeno-host/prefs.json, else ~/.config/lumeno-host/prefs.json)")
        ->type_name("FILE");
    command.add_option("--release", options.release, "Host release to act as: 9.0 or 9.5 (default 9.5)")
        ->check(CLI::IsMember({"9.0", "9.5"}));
}

namespace {

/// One limit of the model reading: given, it replaces the default for the rest of the command.
template <class Value>
void addReadingLimit(CLI::App& command, const std::string& name, Value host::import::ReadingLimits::*limit,
                     const std::string& help, const std::string& unit) {
    const host::import::ReadingLimits defaults;
    command
        .add_option_function<Value>(
            name,
            [limit](Value value) {
                host::import::ReadingLimits limits = host::import::readingLimits();
                limits.*limit = value;
                host::import::setReadingLimits(limits);
            },
            help + " (default " + std::to_string(static_cast<uint64_t>(defaults.*limit)) + ")")
        ->check(CLI::PositiveNumber)
        ->type_name(unit);
}

} // namespace

void addReadingOptions(CLI::App& command) {
    addReadingLimit(command, "--read-time-limit", &host::import::ReadingLimits::seconds,
                    "Seconds a model or mesh file may take to read before it is refused", "SECONDS");
    addReadingLimit(command, "--read-memory-limit", &host::import::ReadingLimits::megabytes,
                    "Megabytes of memory the reading of a model or mesh file may take before it is refused", "MB");
}

std::filesystem::path moduleFolder(const CommonOptions& options) {
    return options.module.empty() ? defaultModuleFolder(options.release) : std::filesystem::path(options.module);
}

host::SessionOptions sessionOptions(const CommonOptions& options) {
    host::SessionOptions session;
    session.prefsFile = options.prefs;
    return session;
}

std::string diagnosticLines(const host::Session& session) {
    std::string lines;
    for (const auto& message : session.diagnostics()) lines += "\n  " + message;
    return lines;
}

void printWarnings(const host::Session& session) {
    for (const auto& message : session.diagnostics()) std::fprintf(stderr, "lumeno-host: warning: %s\n", message.c_str());
}

void loadPreferences(host::Session& session) {
    try {
        session.prefs().load();
    } catch (const host::HostError& error) {
        throw CommandFailure(std::string(error.what()));
    }
}

void startModule(host::Session& session, const CommonOptions& options) {
    std::filesystem::path folder = moduleFolder(options);
    try {
        session.loadModule(folder);
        if (session.startModule() != C4D_RESULT_OK)
            throw CommandFailure("the module in " + folder.string() + " could not register its plug-ins" +
                                 diagnosticLines(session));
    } catch (const host::HostError& error) {
        throw CommandFailure(std::string(error.what()) + diagnosticLines(session));
    }
}

} // namespace app
