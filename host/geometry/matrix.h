// Matrix arithmetic of the host: offset and three axes, points map to off + v1 x + v2 y + v3 z.
#pragma once

#include "host_types.h"

namespace host {

HostMatrix identityMatrix();
/// a * b: applies b first, then a.
HostMatrix multiply(const HostMatrix& a, const HostMatrix& b);
/// The inverse; a singular matrix (zero determinant) gives the identity's axes with the negated
/// offset, so placing under a collapsed parent still has a defined answer.
HostMatrix inverse(const HostMatrix& m);
HostVector transformPoint(const HostMatrix& m, const HostVector& p);
/// Applies only the axes (for directions).
HostVector transformVector(const HostMatrix& m, const HostVector& v);
float length(const HostVector& v);

/// A matrix from a position, rotation angles (heading about y, pitch about x, bank about z, in
/// radians, applied bank first, then pitch, then heading) and scale factors per axis.
HostMatrix matrixFromPlacement(const HostVector& position, const HostVector& rotation,
                               const HostVector& scale);

} // namespace host
