// Cameras as each format's file means them. assimp 5.2 hands every format's camera over in that
// format's own convention (an angle that is whole for most formats but a lens or a vertical angle
// for others, a place given twice, a view direction turned round); these rules bring each to one
// meaning, measured on real files: a place, a view direction and an up vector in the frame of the
// node that carries the camera, the whole horizontal angle, and the frame's aspect ratio.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include <assimp/matrix4x4.h>
#include <assimp/vector3.h>

#include "host/import/camera_files.h"

struct aiCamera;

namespace host::import {

/// A camera in the frame it is placed in.
struct CameraView {
    aiVector3D position, look, up;
    std::optional<double> horizontalAngle; // radians, across the whole width; none: not given
    std::optional<double> aspect;          // width over height; none: not given
};

class CameraRules {
public:
    /// The rules of the model's format (by its suffix); reads what assimp leaves out of 3DS and
    /// LightWave scene cameras from the file.
    explicit CameraRules(const std::filesystem::path& model);

    /// The camera `camera` placed in `frame` (a place in the model, assimp's root transformation
    /// included); `root` is the root node's own transformation, the frame of a 3DS file's editor
    /// data.
    CameraView view(const aiCamera& camera, const aiMatrix4x4& frame, const aiMatrix4x4& root) const;

private:
    enum class Format { WholeAngle, Gltf, ThreeDs, Ase, LightWave };
    Format format_ = Format::WholeAngle;
    std::vector<ThreeDsCamera> threeDs_;
    std::optional<LightWaveLens> lightWave_;
};

} // namespace host::import
