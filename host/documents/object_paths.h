// Objects named by their path of names from the top level, as links in document files give them:
// "Group/Cube" is the object "Cube" under the top-level object "Group". A name that holds a "/"
// is reached with the list form ["Group", "Sub/Part"].
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/model/node.h"

namespace host {

using ObjectPath = std::vector<std::string>;

/// "Group/Cube" -> {"Group", "Cube"}.
ObjectPath splitObjectPath(const std::string& text);
/// The path as a document file writes it: "Group/Cube", or ["Group", "Sub/Part"] as text when a
/// name holds a "/".
std::string objectPathText(const ObjectPath& path);
/// Whether the path can be written as one text ("Group/Cube").
bool isPlainObjectPath(const ObjectPath& path);

/// Every object of a document by its path. Built in one walk, without recursion; each distinct
/// path is kept once as a name under its parent's path, so a deep chain costs no more than a flat list.
class ObjectPathIndex {
public:
    explicit ObjectPathIndex(const HostNode& document);

    /// The objects with this path: none, one, or several that share it.
    const std::vector<HostNode*>& find(const ObjectPath& path) const;
    /// The path of an object of the document (empty if it is not in the document).
    ObjectPath pathOf(const HostNode* object) const;
    /// The deepest nesting of objects (1 for top-level objects only, 0 for none).
    std::size_t depth() const { return depth_; }

private:
    struct Entry {
        std::size_t parent;       // entry of the path without its last name; 0 is the empty path
        const std::string* name;  // the last name, kept in childOf_
        std::vector<HostNode*> objects;
    };
    std::vector<Entry> entries_;
    std::map<std::pair<std::size_t, std::string>, std::size_t> childOf_;
    std::unordered_map<const HostNode*, std::size_t> entryOf_;
    std::size_t depth_ = 0;
};

} // namespace host
