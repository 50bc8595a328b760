// The second stage of reading a document file: the host document of a parsed document file.
// Objects, materials and host tags are made as the host makes them; a plug-in tag is made as the
// application makes it (the registered allocator, then its initialise) and the document's values
// then overwrite its defaults. Links are resolved once every object and material exists.
#pragma once

#include "host/documents/document_file.h"
#include "host/model/node.h"

namespace host {

class Registry;

/// Builds the document, taking the file's geometry lists as it goes. Throws DocumentError naming
/// the file and the JSON path; a refused document is freed whole, its plug-in tags included.
NodePtr buildDocument(docfile::Document&& document, Registry& registry);

} // namespace host
