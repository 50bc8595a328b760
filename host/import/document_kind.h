// Whether a file given where a document is expected is a JSON document file or a model to import.
#pragma once

#include <filesystem>

namespace host::import {

/// A document file: the suffix ".json", or a suffix assimp does not read and text that starts
/// (after blanks) with "{". Everything else is a model. A glTF file is JSON too, but its suffix
/// says what it is.
bool isDocumentFile(const std::filesystem::path& file);

} // namespace host::import
