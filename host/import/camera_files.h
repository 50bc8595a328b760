// What assimp 5.2 leaves out of the cameras of two formats, read from the file itself: a 3DS
// camera's target, bank angle and lens (assimp keeps only its keyframed place), and a LightWave
// scene camera's zoom and frame size (assimp gives every LWS camera a 45 degree angle).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <assimp/vector3.h>

namespace host::import {

/// A camera of a 3DS file's editor data (chunk 0x4700 of a named object), in the file's frame.
struct ThreeDsCamera {
    std::string name;
    aiVector3D position, target;
    float bankDegrees = 0;
    float lens = 0; // the file's lens: the horizontal angle is 2400 / lens degrees
};

/// Every camera the 3DS file defines, in order; none for a file that is not laid out as 3DS
/// chunks. Chunks that overrun their parent end the search, they are never read past.
std::vector<ThreeDsCamera> readThreeDsCameras(const std::filesystem::path& file);

/// The first camera of a LightWave scene file: its horizontal angle and its frame's aspect.
struct LightWaveLens {
    double horizontalAngle = 0; // radians
    double aspect = 0;          // frame width over height, pixel aspect included
};

/// None when the file names no camera with a plain zoom factor and a frame size.
std::optional<LightWaveLens> readLightWaveLens(const std::filesystem::path& file);

} // namespace host::import
