#include "app/model_documents.h"

#include <cstdio>
#include <utility>

#include "app/document_textures.h"
#include "host/documents/document_builder.h"
#include "host/documents/document_loader.h"
#include "host/import/document_kind.h"
#include "host/import/import_report.h"
#include "host/import/mesh_import.h"
#include "host/import/model_import.h"
#include "host/plugins/registry.h"

namespace app {

namespace fs = std::filesystem;

OpenedDocument openDocument(const fs::path& file, host::Session& session, const ModelPlace& place) {
    OpenedDocument opened;
    if (host::import::isDocumentFile(file)) {
        opened.document = host::loadDocumentFile(file, session.registry());
        resolveTextures(*opened.document, fs::absolute(file).parent_path(), place.folder);
        return opened;
    }
    return importDocument(file, session, place);
}

OpenedDocument importDocument(const fs::path& file, host::Session& session, const ModelPlace& place) {
    OpenedDocument opened;
    host::import::ImportOptions options;
    options.scale = place.scale;
    options.documentFolder = fs::absolute(place.folder).lexically_normal();
    options.embeddedStem = place.stem;
    options.embeddedByContent = place.texturesByContent;
    const host::RegisteredPlugin* lightTag = session.registry().find(host::import::lightTagId);
    options.lightTag = lightTag && lightTag->kind == PLUGIN_KIND_TAG;
    host::import::ImportedModel model = host::import::importModel(file, options);
    if (place.setsPath) {
        model.document.settings.path = options.documentFolder.string();
        model.document.settings.name = fs::path(file).filename().string();
    }
    opened.document = host::buildDocument(std::move(model.document), session.registry());
    opened.embedded = std::move(model.embedded);
    opened.report = host::import::importReport(model);
    return opened;
}

void printImportNotes(const OpenedDocument& opened, const fs::path& file) {
    for (size_t n = 0; n < opened.report.size(); ++n)
        std::fprintf(stderr, "lumeno-host: note: %s%s\n", n == 0 ? ("imported " + file.string() + ": ").c_str() : "",
                     opened.report[n].c_str());
}

void leaveToProcessEnd([[maybe_unused]] host::NodePtr& document) {
#if !defined(__SANITIZE_ADDRESS__)
    // Held where a leak checker still sees it.
    static std::vector<host::NodePtr>* const left = new std::vector<host::NodePtr>;
    left->push_back(std::move(document));
#endif
}

} // namespace app
