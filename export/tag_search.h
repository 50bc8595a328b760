// Finding tags on objects and in object trees.
#pragma once

#include <cstdint>

#include "host_types.h"

/// The first tag of `object`, in the host's tag order, whose type is `type`; none for no object.
HostTag* FindTagOfType(const HostObject* object, int32_t type);

/// The first tag of `type` in a depth-first pre-order walk that starts at `start`: an object's
/// tags in order, then its children's subtrees, then its next sibling's. The walk covers
/// `start`, its following siblings and everything below them; none when there is no such tag.
HostTag* FindFirstTagInTree(const HostObject* start, int32_t type);
