// The node operation of the host that hands out what it generated for a node.
#pragma once

#include <cstdint>

#include "host_types.h"

/// The object the host keeps generated for `node` (flags 0), lent by the host, or none.
HostNode* NodeCache(HostNode* node, int32_t flags);
