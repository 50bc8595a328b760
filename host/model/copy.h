// Copies of nodes and documents. A copy is a new node with new link tokens; links between nodes
// copied together are moved over to the copies, links to nodes outside the copy stay as they are.
#pragma once

#include <cstdint>

#include "host/model/node.h"

namespace host {

/// A copy of a node with its children, tags and parameters (flags 0), or without its children
/// (COPY_FLAGS_NO_CHILDREN; other flags are ignored), not yet inserted anywhere. A document is
/// copied whole, as copyDocument does. nullptr when a plug-in tag in it cannot make its instance.
NodePtr copyNode(const HostNode& node, int32_t flags = 0);

/// A copy of a document: objects, materials, settings and the active view, with every link inside
/// the document moved to the copies. nullptr as for copyNode.
NodePtr copyDocument(const HostNode& document);

} // namespace host
