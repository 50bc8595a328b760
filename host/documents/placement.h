// Placement of an object given as position, rotation and scale, turned into the host's matrix.
// Rotation is [heading, pitch, bank] in degrees, applied bank first, then pitch, then heading:
//   heading turns about the y axis and takes the z axis towards +x,
//   pitch turns about the x axis and takes the y axis towards +z,
//   bank turns about the z axis and takes the x axis towards +y.
#pragma once

#include "host/documents/document_file.h"

namespace host {

/// M = T(position) * Ry(heading) * Rx(pitch) * Rz(bank) * S(scale).
docfile::Matrix placementMatrix(const docfile::Vector3& position, const docfile::Vector3& rotationDegrees,
                                const docfile::Vector3& scale);

} // namespace host
