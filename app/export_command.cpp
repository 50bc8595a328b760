#include <cstdio>
#include <memory>

#include "app/commands.h"
#include "app/common_options.h"
#include "app/export_summary.h"
#include "app/heap_pages.h"
#include "app/model_documents.h"
#include "app/save_failure.h"
#include "host/files/derived_files.h"
#include "host/import/embedded_textures.h"
#include "host/plugins/registry.h"
#include "host/preview/scene_preview.h"

namespace app {

namespace {

struct ExportOptions {
    CommonOptions common;
    std::string document;
    std::string output;
    std::string preview; // --preview PICTURE.png; empty: none
    ReportOptions report;
};

/// Whether the host failed to save a document during the export: the module's mesh files are
/// the only documents it saves, and the host's diagnostics name each file with its reason.
bool meshFileFailed(const host::Session& session) {
    for (const auto& message : session.diagnostics())
        if (message.rfind("document.save: ", 0) == 0) return true;
    return false;
}

void runExport(const ExportOptions& options) {
    useLargePagesFor(options.document);
    host::Session session(sessionOptions(options.common));
    loadPreferences(session);
    startModule(session, options.common);
    const host::RegisteredPlugin* saver = session.registry().find(lumenoSaverId);
    if (!saver || saver->kind != PLUGIN_KIND_SCENE_SAVER)
        throw CommandFailure("the module registered no scene saver " + std::to_string(lumenoSaverId) +
                             diagnosticLines(session));
    std::filesystem::path given(options.output);
    std::filesystem::path file = std::filesystem::absolute(given).lexically_normal();
    // Declared after the session, so that its plug-in tags go before the module does. A model's
    // document sits beside the scene file, so its texture names are relative to the scene file.
    // Its embedded textures are named by their content, so that writing them beside the scene
    // before the export commits never changes a file the earlier export's scene names.
    OpenedDocument opened =
        openDocument(options.document, session, {file.parent_path(), file.filename().string(), {}, true, true});
    host::NodePtr& document = opened.document;
    // The report and the preview are made after the commit; they must not outlive their scene.
    std::vector<std::filesystem::path> made;
    for (const std::string& path : {options.report.reportFile, options.preview})
        if (!path.empty()) made.push_back(path);
    const bool model = !opened.report.empty();
    std::optional<host::DerivedFiles> derived;
    if (!made.empty() || model) derived.emplace(file, made);
    host::import::WrittenTextures textures(opened.embedded, true);
    TracedExport traced(*document, options.report);
    traced.expect(file);
    const std::string before = host::fileIdentity(file);
    int32_t result = session.saveWithSaver(lumenoSaverId, document.get(), file, SAVE_FLAG_WRITE);
    // Once the scene may name the textures, they stay: it changed, or its commit failed half-way
    // and the next export or preview finishes it.
    if (!opened.embedded.empty() && (host::fileIdentity(file) != before || host::interruptedExportPending(file)))
        textures.keep();
    if (result == FILE_RESULT_OPEN_FAILED && meshFileFailed(session)) {
        if (host::fileIdentity(file) == before)
            throw CommandFailure("cannot write " + given.string() + ": not every file of the export could be written, "
                                 "so nothing was changed (an earlier export there is as it was):" +
                                 diagnosticLines(session));
        throw CommandFailure("cannot write every mesh file of " + given.string() +
                             "; the scene leaves out those that failed:" + diagnosticLines(session));
    }
    if (result != FILE_RESULT_OK) throw CommandFailure(saveFailureMessage(result, given, file) + diagnosticLines(session));
    textures.keep();
    if (model) host::import::removeEarlierEmbeddedTextures(file.parent_path(), file.filename().string(), opened.embedded);
    if (!options.report.quiet) printImportNotes(opened, options.document);
    traced.finish(file, session);
    if (!options.preview.empty()) host::writeScenePreview(file, options.preview, std::nullopt);
    if (derived) derived->finished();
    leaveToProcessEnd(opened.document);
}

} // namespace

void addExportCommand(CLI::App& cli) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* command =
        cli.add_subcommand("export", "Save a document file as a Lumeno scene, as the application's export menu does");
    command->add_option("DOCUMENT", options->document, "Document file (JSON) to export, or a model file to import first")->required();
    command->add_option("-o,--output", options->output, "Scene file to write")->required()->type_name("OUT.xml");
    command->add_option("--preview", options->preview, "Also draw the written scene from its camera into this picture")
        ->type_name("PICTURE.png");
    addReportOptions(*command, options->report);
    addCommonOptions(*command, options->common);
    addReadingOptions(*command);
    command->callback([options] { runExport(*options); });
}

} // namespace app
