// Vector and matrix arithmetic in the host's frame: a matrix is an offset and three axis
// vectors, and maps p to off + v1*p.x + v2*p.y + v3*p.z. All values are 32-bit reals.
#pragma once

#include "host_types.h"

/// The unit vector of `v` (length rounded to 32 bits first); the zero vector stays zero.
HostVector NormalizeVector(HostVector v);
/// Offset (0, 0, 0), axes (1, 0, 0), (0, 1, 0), (0, 0, 1).
HostMatrix IdentityMatrix();
/// a·b: applies b first, then a. A world matrix is MultiplyMatrix(parent world, local).
HostMatrix MultiplyMatrix(const HostMatrix& a, const HostMatrix& b);
/// off + v1*p.x + v2*p.y + v3*p.z.
HostVector TransformPoint(const HostMatrix& m, HostVector p);
