#include "app/command_command.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

#include "app/common_options.h"
#include "app/export_summary.h"
#include "app/heap_pages.h"
#include "app/saver_settings.h"
#include "app/model_documents.h"
#include "host/files/derived_files.h"
#include "host/import/embedded_textures.h"
#include "host/plugins/command_calls.h"
#include "host/plugins/plugin_texts.h"
#include "host/plugins/registry.h"
#include "host/plugins/host_error.h"
#include "host/settings/preferences.h"

namespace app {

namespace {

/// The module's menu commands by the word the command line uses.
struct MenuCommand {
    const char* word;
    int32_t id;
};
constexpr MenuCommand menuCommands[] = {{"export", 1019468}, {"export-and-run", 1019434}};

struct CommandOptions {
    CommonOptions common;
    std::string command;
    std::string document;
    std::optional<std::string> choose;
    bool cancel = false;
    ReportOptions report;
};

/// What became of the file dialog during the run.
struct DialogLog {
    std::function<void(const std::string&)> onChosen; // told the file the dialog answered
    int asked = 0;
    bool cancelled = false;
    bool noOneToAsk = false; // neither --choose nor --cancel, and no terminal to ask on
};

int32_t commandId(const std::string& word) {
    for (const MenuCommand& command : menuCommands)
        if (word == command.word) return command.id;
    throw CommandFailure("unknown command " + word);
}

std::string absolutePath(const std::string& path) {
    return std::filesystem::absolute(path).lexically_normal().string();
}

/// Asks on the terminal with the dialog's title, offering the default: an empty answer takes the
/// default, the end of input cancels. A relative answer counts from the working directory.
bool askOnTerminal(std::string& path, const std::string& title) {
    std::fprintf(stderr, "%s\nSave as [%s]: ", title.c_str(), path.c_str());
    std::fflush(stderr);
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        std::fputc('\n', stderr);
        return false;
    }
    const auto first = answer.find_first_not_of(" \t\r");
    const auto last = answer.find_last_not_of(" \t\r");
    answer = first == std::string::npos ? "" : answer.substr(first, last - first + 1);
    if (!answer.empty()) path = answer;
    if (path.empty()) return false;
    path = absolutePath(path);
    return true;
}

/// The file dialog as this command line answers it: --cancel, --choose FILE, or the terminal.
host::FileDialog makeDialog(const CommandOptions& options, DialogLog& log) {
    return [&options, &log](std::string& path, int32_t, int32_t, const std::string& title) {
        ++log.asked;
        bool chosen = false;
        if (options.choose) {
            path = absolutePath(*options.choose);
            chosen = true;
        } else if (!options.cancel && isatty(STDIN_FILENO)) {
            chosen = askOnTerminal(path, title);
        } else {
            log.noOneToAsk = !options.cancel;
        }
        log.cancelled = !chosen;
        if (chosen && log.onChosen) log.onChosen(path);
        return chosen;
    };
}

const host::RegisteredPlugin& registeredCommand(host::Session& session, int32_t id) {
    try {
        return host::findCommand(session.registry(), id);
    } catch (const host::HostError& error) {
        throw CommandFailure(std::string("the module did not register the command: ") + error.what() +
                             diagnosticLines(session));
    }
}

/// The scene file the saver's settings remember; empty when none.
std::string rememberedSceneFile(host::Session& session) {
    try {
        const HostContainer* settings = session.prefs().find(lumenoSaverId);
        return settings ? settings->getFilename(lastExportFileId) : "";
    } catch (const host::HostError& error) {
        throw CommandFailure(error.what());
    }
}

/// The scene file the command saved, as it remembered it.
std::filesystem::path savedSceneFile(host::Session& session) {
    const std::string file = rememberedSceneFile(session);
    if (file.empty()) throw CommandFailure("the command saved a scene but did not remember its file");
    return file;
}

std::string failureMessage(const std::string& label, const DialogLog& dialog) {
    if (dialog.noOneToAsk)
        return "the command " + label + " asks for a file: give --choose FILE or --cancel (standard "
               "input is not a terminal to ask on)";
    if (dialog.cancelled) return "the command " + label + " was cancelled in its file dialog";
    return "the command " + label + " did not complete (its message is above)";
}

void runCommand(const CommandOptions& options) {
    const int32_t id = commandId(options.command);
    useLargePagesFor(options.document); // both menu commands export the document
    host::Session session(sessionOptions(options.common));
    // Unreadable preferences first: otherwise the command would only say that no renderer
    // folder is set.
    loadPreferences(session);
    startModule(session, options.common);
    const host::RegisteredPlugin& command = registeredCommand(session, id);
    // Declared after the session, so that its plug-in tags go before the module does. A model's
    // document sits beside the model, where its embedded textures are written.
    const std::filesystem::path model = std::filesystem::absolute(options.document).lexically_normal();
    OpenedDocument opened = openDocument(options.document, session, {model.parent_path(), model.filename().string(), {}, true});
    host::NodePtr& document = opened.document;
    host::import::WrittenTextures textures(opened.embedded);
    host::installPluginTexts(session);
    DialogLog dialog;
    session.setFileDialog(makeDialog(options, dialog));

    const std::string label = "\"" + command.name + "\" (" + options.command + ")";
    TracedExport traced(*document, options.report);
    // The scene file is known once the dialog has answered (export) or from the settings
    // (export-and-run): its mesh files are noted then, before the save, and the report is made
    // under the scene's lock so that it never outlives its scene.
    std::optional<host::DerivedFiles> derived;
    auto expect = [&](const std::string& scene) {
        traced.expect(scene);
        derived.reset();
        // Called from within the module's dialog: a folder that cannot be written fails the save.
        if (!options.report.reportFile.empty()) try {
                derived.emplace(scene, std::vector<std::filesystem::path>{options.report.reportFile});
            } catch (const host::HostError&) {
            }
    };
    if (const std::string remembered = rememberedSceneFile(session); id == menuCommands[1].id && !remembered.empty())
        expect(remembered);
    dialog.onChosen = expect;
    switch (host::runCommandFromMenu(command, document.get())) {
    case host::CommandOutcome::Disabled:
        throw CommandFailure("the command " + label + " is disabled for " + options.document +
                             " (the module offers it only for documents with objects)");
    case host::CommandOutcome::Failed:
        throw CommandFailure(failureMessage(label, dialog) + diagnosticLines(session));
    case host::CommandOutcome::Succeeded:
        break;
    }
    textures.keep();
    if (!options.report.quiet) {
        printImportNotes(opened, options.document);
        if (options.choose && dialog.asked == 0)
            std::fprintf(stderr, "lumeno-host: note: the command did not ask for a file, so --choose %s was not used\n",
                         options.choose->c_str());
    }
    traced.finish(savedSceneFile(session), session);
    if (derived) derived->finished();
}

} // namespace

void addCommandCommand(CLI::App& cli) {
    auto options = std::make_shared<CommandOptions>();
    CLI::App* command = cli.add_subcommand(
        "command", "Run one of the module's menu commands on a document, as the application's menu does");
    command->add_option("COMMAND", options->command,
                        "export (asks for the scene file) or export-and-run (reuses the last one)")
        ->required()
        ->check(CLI::IsMember({"export", "export-and-run"}));
    command->add_option("DOCUMENT", options->document, "Document file (JSON) to export, or a model file to import first")->required();
    CLI::Option* choose = command->add_option("--choose", options->choose, "Answer the file dialog with FILE")
                              ->type_name("FILE");
    CLI::Option* cancel = command->add_flag("--cancel", options->cancel, "Cancel the file dialog");
    choose->excludes(cancel);
    addReportOptions(*command, options->report);
    addCommonOptions(*command, options->common);
    addReadingOptions(*command);
    command->callback([options] { runCommand(*options); });
}

} // namespace app
