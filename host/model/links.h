// Links between nodes. A link holds the linked node's token; it resolves only within one
// document, and only while the node lives.
#pragma once

#include <cstdint>

#include "host_types.h"

namespace host {

/// The node a link token names if it lives, is in `document` and passes `filter`, else nullptr.
/// Filters: 0 (LINK_FILTER_ANY) accepts any node; 5155 (LINK_FILTER_OBJECT) accepts objects
/// only; any other value accepts nodes of exactly that type ID. A null document accepts nodes
/// that are in no document.
HostNode* resolveLink(uint64_t token, const HostNode* document, int32_t filter);

/// Whether a node passes a link filter.
bool passesLinkFilter(const HostNode& node, int32_t filter);

} // namespace host
