// Objects named by their path of names from the top level, as links in document files give them:
// "Group/Cube" is the object "Cube" under the top-level object "Group". A "/" or "\" inside a
// name is written "\/" or "\\".
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "host/model/node.h"

namespace host {

/// The name as one path segment: "/" and "\" escaped.
std::string escapePathSegment(const std::string& name);
/// A path as a person may write it, in the form the index uses; an escape other than "\/" or
/// "\\" keeps its backslash.
std::string canonicalObjectPath(const std::string& path);

/// Every object of a document by its path. Built in one walk, without recursion.
class ObjectPathIndex {
public:
    explicit ObjectPathIndex(const HostNode& document);

    /// The objects with this (canonical) path: none, one, or several that share it.
    const std::vector<HostNode*>& find(const std::string& path) const;
    /// The path of an object of the document ("" if it is not indexed).
    const std::string& pathOf(const HostNode* object) const;
    /// The deepest nesting of objects (1 for top-level objects only, 0 for none).
    std::size_t depth() const { return depth_; }

private:
    std::unordered_map<std::string, std::vector<HostNode*>> byPath_;
    std::unordered_map<const HostNode*, std::string> pathOf_;
    std::size_t depth_ = 0;
};

} // namespace host
