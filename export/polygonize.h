// Turning a document's geometry into polygon objects, and counting what it then holds.
#pragma once

#include <cstdint>

#include "host_types.h"

/// A new document (the caller frees it) that holds a copy of `document` in which every top-level
/// object is replaced by its current state as the host's modelling command 245 gives it (mode 1,
/// option 2141 = `option`): primitives arrive as polygon objects, children included. None when
/// the copy or a command fails; nothing the call made is left behind then.
HostDocument* Polygonize(HostDocument* document, bool option);
/// The same conversion done in `document` itself, for a document made for it alone: no second
/// copy. Answers false when a command fails; the document may then be half converted.
bool PolygonizeInPlace(HostDocument* document, bool option);

/// Triangles of every polygon object (5100) of the tree that starts at `first`, its following
/// siblings and everything below them: one per polygon record, one more for a quad (c != d).
int64_t CountTriangles(const HostObject* first);
