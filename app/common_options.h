// The options every lumeno-host command takes, and the session they describe.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include <CLI/CLI.hpp>

#include "host/plugins/session.h"

namespace app {

/// The plug-in ID of the module's scene saver: its preferences, the export, the commands' saves.
constexpr int32_t lumenoSaverId = 1019430;

struct CommonOptions {
    std::string module;         // --module DIR; empty: the default folder of the release
    std::string prefs;          // --prefs FILE; empty: the user's configuration folder
    std::string release = "9.5"; // --release 9.0|9.5
};

/// Adds --module, --prefs and --release to a command.
void addCommonOptions(CLI::App& command, CommonOptions& options);

/// Adds --read-time-limit and --read-memory-limit, the limits of the model reading, to a command
/// that reads models or mesh files; given, they hold for every reading of the command.
void addReadingOptions(CLI::App& command);

/// The module folder the options name.
std::filesystem::path moduleFolder(const CommonOptions& options);
host::SessionOptions sessionOptions(const CommonOptions& options);

/// A failure the command reports in one message; the command then exits with status 1.
class CommandFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Loads the module folder and starts the module as the application does (initialise,
/// message 1, start). Throws CommandFailure naming the folder, with the session's diagnostics,
/// when the module cannot be loaded or a registration fails.
void startModule(host::Session& session, const CommonOptions& options);

/// The session's diagnostics, one per line, each indented; "" when there are none.
std::string diagnosticLines(const host::Session& session);
/// Prints the session's diagnostics as warnings on standard error (after a command succeeded).
void printWarnings(const host::Session& session);

/// Reads the preferences file now; throws CommandFailure naming the file and why it cannot be read.
void loadPreferences(host::Session& session);

} // namespace app
