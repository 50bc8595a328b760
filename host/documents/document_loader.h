// Reading a document file into a host document, both stages at once.
#pragma once

#include <filesystem>

#include "host/model/node.h"

namespace host {

class Registry;

/// Reads a document file. A file that does not give its own "document" settings gets the
/// file's absolute folder and name as the document's path (1012) and file name (1013), as a
/// document opened from that file would. Throws DocumentError; nothing is kept of a refused file.
NodePtr loadDocumentFile(const std::filesystem::path& file, Registry& registry);

} // namespace host
