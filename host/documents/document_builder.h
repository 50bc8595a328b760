// The second stage of reading a document file: the host document of a parsed document file.
// Objects, materials and host tags are made as the host makes them; a plug-in tag is made as the
// application makes it (the registered allocator, then its initialise) and the document's values
// then overwrite its defaults. Links are resolved once every object and material exists.
#pragma once

#include <memory>
#include <string>

#include "host/documents/document_file.h"
#include "host/documents/document_parser.h"
#include "host/model/node.h"

namespace host {

class Registry;

/// Builds the document, taking the file's geometry lists as it goes. Throws DocumentError naming
/// the file and the JSON path; a refused document is freed whole, its plug-in tags included.
NodePtr buildDocument(docfile::Document&& document, Registry& registry);

/// The same build, given the objects one at a time while the file is still being read, each after
/// its children, so that a large file is never held as records whole. A fault in an object is kept
/// until `finish`: a document refused for several faults is refused for the one a whole build names.
class StreamedBuild {
public:
    StreamedBuild(std::string file, Registry& registry);
    ~StreamedBuild();
    StreamedBuild(const StreamedBuild&) = delete;
    StreamedBuild& operator=(const StreamedBuild&) = delete;

    /// The next object read.
    void take(ReadObject&& read);
    /// The file is read again from its start: everything taken so far is dropped.
    void restart();
    /// The rest of the file (materials, view, settings); throws DocumentError as buildDocument.
    NodePtr finish(docfile::Document&& rest);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace host
