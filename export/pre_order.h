// Depth-first pre-order walks over object trees, without recursion, so that a deep hierarchy
// cannot exhaust the host's stack.
#pragma once

#include "host_types.h"

/// The object after `object` in pre-order: its first child, else its next sibling, else the next
/// sibling of the nearest ancestor that has one. The walk stays below `top` (the parent of the
/// level it started on, or none for a top level); none when it is complete.
const HostObject* NextInPreOrder(const HostObject* object, const HostObject* top);
