// Where an object is: matrices, position, scale and bounding box. A matrix maps a point p to
// off + v1 p.x + v2 p.y + v3 p.z; an object's global matrix is its parent's global matrix times
// its local matrix.
#pragma once

#include <cstdint>

#include "host/model/node.h"

namespace host {

HostMatrix localMatrix(const HostNode& object);
/// Walks up the parents: O(depth).
HostMatrix globalMatrix(const HostNode& object);
/// Sets the local matrix.
void setLocalMatrix(HostNode& object, const HostMatrix& matrix);
/// Places the object so that its global matrix becomes `matrix`. With keepChildren (flag 2 of
/// the table's set_matrix) the children keep their global matrices; otherwise they move along.
void setGlobalMatrix(HostNode& object, const HostMatrix& matrix, bool keepChildren);

/// The object's position: the offset of its global matrix.
HostVector position(const HostNode& object);
/// The lengths of the local matrix's three axes.
HostVector scale(const HostNode& object);

/// Centre and half size of the object's own bounding box, in object coordinates: from the
/// points of a polygon object, from the size parameters of a primitive or an area light
/// (object_params.h), for an instance those of the object it repeats; zero otherwise.
HostVector boundingBoxCenter(const HostNode& object);
HostVector boundingBoxRadius(const HostNode& object);

} // namespace host
