// "Current state to object" (modelling command 245): an object as it stands, as an editable
// object. Primitives become polygon objects built from their own parameters; everything else
// stays what it is.
#pragma once

#include "host/model/node.h"

namespace host {

/// A new object tree, in no document, that holds the current state of `object` and its children:
/// a primitive (host/geometry/primitive_params.h) becomes a polygon object with the primitive's
/// name, matrix and tags; an instance (5126) becomes a polygon copy of the current state of the
/// object its link (1001) names, with the instance's name, matrix, tags and children (an empty,
/// circular or non-polygon link leaves the instance as it is; see linkedObject in the source for
/// how the link is resolved); a polygon object, a null and any other object is copied as it is.
/// Tags and parameters are copied as a copy with flags 0 copies them, and links between nodes
/// of the tree are moved over to the new nodes.
///
/// With `inherit` (option 2141) the result carries the object's global matrix, so it stands where
/// the object stood even outside the object's parents; otherwise it keeps the local matrix.
/// Throws HostError when a plug-in tag of the tree cannot be copied.
NodePtr currentStateToObject(const HostNode& object, bool inherit);

} // namespace host
