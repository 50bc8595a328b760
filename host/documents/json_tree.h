// Reads JSON text into a tree that keeps the order of keys, refusing what a person would not mean:
// syntax errors (reported with line and column) and a key given twice in one object. The geometry
// lists of polygon objects are read straight into records beside the tree (packed_lists.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/documents/document_text.h"
#include "host/documents/json_tree_type.h"
#include "host/documents/packed_lists.h"

namespace host {

/// Deeper nesting is refused: it would only come from a broken or hostile file, and the readers
/// after this one walk the tree recursively.
constexpr std::size_t maxJsonDepth = 2000;

/// The tree of a document file. A geometry list read as records stands in the tree as a binary
/// value whose subtype is its place in `lists` (text never gives a binary value).
struct JsonDocument {
    JsonTree root;
    std::vector<PackedList> lists; // list number s is lists[s - listBase]
    std::size_t listBase = 0;      // the lists before it went with objects a sink took
};

/// Hears each object of "objects" and of an object's "children" as soon as its text is read,
/// deepest first, so that the tree never holds an object whose text has ended: the tree keeps null
/// in its place. It must not throw: a fault it finds is its to keep, since a syntax error later in
/// the text still comes first.
class ObjectSink {
public:
    virtual ~ObjectSink() = default;
    /// An object begins; `index` is its place in its list.
    virtual void openObject(std::size_t index) = 0;
    /// The object last begun and not ended ends; its children have ended before it. `lists` holds
    /// the geometry lists read in it, list number s at lists[s - base]; their contents may be taken.
    virtual void closeObject(JsonTree& node, std::vector<PackedList>& lists, std::size_t base) = 0;
    /// The text is read again from its start: everything heard so far is to be forgotten.
    virtual void restart() = 0;
};

/// The member `key` of the JSON object `node`, or none when it has none (or is no object). Keys are
/// told apart by their length first: a document asks this of every object many times.
const JsonTree* field(const JsonTree& node, std::string_view key);

/// Frees `node`'s tree, leaving it null. The library's own teardown moves every container's
/// members onto a stack it allocates first; emptied from the leaves up, a container needs none.
void freeTree(JsonTree& node);

/// Parses `text`; `file` names the source in errors. Plainly valid text is read the quick way
/// (quick_json.h); anything else is read by the library, whose messages the errors keep.
/// Throws DocumentError.
JsonDocument parseJsonTree(const std::string& text, const std::string& file);
/// The same for a document file's text, whose memory goes back as the quick way reads it; `sink`
/// (if any) takes the objects as they are read.
JsonDocument parseJsonText(DocumentText& text, const std::string& file, ObjectSink* sink = nullptr);

} // namespace host
