// The first stage of reading a document file: JSON text into the plain records of document_file.h.
// Checks everything that needs no host: the shape of every part, the JSON form of every value,
// object type names, point indices, and that a placement is given one way only.
#pragma once

#include <filesystem>
#include <string>

#include "host/documents/document_file.h"

namespace host {

/// Parses document text; `file` names the source in errors. Throws DocumentError.
docfile::Document parseDocumentText(const std::string& text, const std::string& file);
/// Reads and parses a document file. Throws DocumentError (also when the file cannot be read).
docfile::Document readDocumentFile(const std::filesystem::path& file);

} // namespace host
