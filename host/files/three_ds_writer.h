// The host's 3DS export (save format 1001038): a document's materials and polygon objects as
// one 3DS file, collected as three_ds_scene.h describes. The file holds a main chunk with the
// version, and an editor chunk with the mesh version, one material entry per material (name and
// diffuse colour), the master scale 1 and one named triangle object per mesh (points, identity
// mesh matrix, faces and the faces' material group).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/files/three_ds_scene.h"

namespace host {

/// The bytes of the 3DS file of a collected scene. Throws HostError when the file would pass
/// the format's 4 GiB chunk size.
std::vector<uint8_t> encodeThreeDs(const ThreeDsScene& scene);

/// Writes the document as a 3DS file. The file appears whole or not at all; on failure (a
/// polygon that refers to a missing point, a folder that does not exist, a full disk, ...)
/// throws HostError "cannot write FILE: reason".
/// Answers the size of the file written.
std::size_t saveThreeDs(const HostNode& document, const std::string& file);

} // namespace host
