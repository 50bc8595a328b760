#include <cstdio>
#include <memory>

#include "app/commands.h"
#include "app/common_options.h"
#include "app/model_documents.h"
#include "host/documents/document_writer.h"
#include "host/files/export_staging.h"
#include "host/import/embedded_textures.h"

namespace app {

namespace {

struct ImportOptions {
    CommonOptions common;
    std::string model;
    std::string output;
    std::optional<double> scale;
};

void runImport(const ImportOptions& options) {
    host::Session session(sessionOptions(options.common));
    startModule(session, options.common);
    const std::filesystem::path output = std::filesystem::absolute(options.output).lexically_normal();
    ModelPlace place{output.parent_path(), output.filename().string(), options.scale, false};
    // Declared after the session, so that its plug-in tags go before the module does.
    OpenedDocument opened = importDocument(options.model, session, place);
    // The document and its embedded textures replace an earlier import as a whole.
    host::StagedFiles files(output);
    for (const auto& texture : opened.embedded) host::import::writeEmbeddedTexture(texture, files.staged(texture.file));
    host::saveDocumentFile(*opened.document, session.registry(), files.staged(output));
    const std::string stem = output.filename().string();
    const int removed = files.commit([&stem](const std::string& name) { return host::import::isEmbeddedTextureName(stem, name); });
    std::printf("imported %s as %s: %s\n", options.model.c_str(), options.output.c_str(), opened.report.front().c_str());
    for (size_t n = 1; n < opened.report.size(); ++n) std::printf("  %s\n", opened.report[n].c_str());
    for (const auto& texture : opened.embedded) std::printf("  wrote the embedded texture %s\n", texture.file.string().c_str());
    if (removed > 0)
        std::printf("  removed %d embedded texture%s of an earlier import that the document no longer names\n", removed,
                    removed == 1 ? "" : "s");
    printWarnings(session);
}

} // namespace

void addImportCommand(CLI::App& cli) {
    auto options = std::make_shared<ImportOptions>();
    CLI::App* command = cli.add_subcommand(
        "import", "Read a model file (glTF, OBJ, FBX, COLLADA, 3DS, PLY, STL, ... as assimp reads them) and write it as a document file");
    command->add_option("MODEL", options->model, "Model file to import")->required();
    command->add_option("-o,--output", options->output, "Document file (JSON) to write")->required()->type_name("DOCUMENT.json");
    command->add_option("--scale", options->scale,
                        "Host centimetres per model unit (default: the unit the file declares, metres for glTF and COLLADA, else 1)")
        ->check(CLI::PositiveNumber)
        ->type_name("S");
    addCommonOptions(*command, options->common);
    addReadingOptions(*command);
    command->callback([options] { runImport(*options); });
}

} // namespace app
