// What a command is given as its document: a JSON document file, or a model that is imported
// into a host document first, by the same import as `lumeno-host import`.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/import/imported_model.h"
#include "host/model/node.h"
#include "host/plugins/session.h"

namespace app {

struct OpenedDocument {
    host::NodePtr document;
    std::vector<host::import::EmbeddedTexture> embedded; // to be written before the module reads the document
    std::vector<std::string> report;                     // what the import says; empty for a document file
};

/// Where an imported model's document is deemed to sit: texture names are relative to `folder`,
/// embedded textures are written there under `stem`, and the document's path setting names it.
struct ModelPlace {
    std::filesystem::path folder;
    std::string stem;
    std::optional<double> scale;
    bool setsPath = true; // false: the document's file name settings stay unset (for a document file to be written)
    bool texturesByContent = false; // embedded textures named by their content (beside a scene file)
};

/// Reads a document file (its relative texture names made to count from `place.folder`, where the
/// scene goes), or imports a model (see host/import/document_kind.h for which is which).
/// The session must have started the module, so that its plug-in tags can be made. Throws
/// DocumentError or ImportError naming the file.
OpenedDocument openDocument(const std::filesystem::path& file, host::Session& session, const ModelPlace& place);
/// Imports a model, whatever its content.
OpenedDocument importDocument(const std::filesystem::path& file, host::Session& session, const ModelPlace& place);

/// Prints the import's report on standard error as notes (nothing for a document file).
void printImportNotes(const OpenedDocument& opened, const std::filesystem::path& file);

/// Keeps a document that a command is done with until the process ends: the system takes its
/// memory back at once, where taking it apart node by node touches every node of a large scene
/// once more. Builds with the address checker leave it where it is, to be taken apart (and
/// checked) as before.
void leaveToProcessEnd(host::NodePtr& document);

} // namespace app
