#include "host/import/camera_import.h"

#include <algorithm>
#include <cmath>

#include <assimp/camera.h>

#include "host/import/model_frame.h"

namespace host::import {

namespace {

constexpr double degree = M_PI / 180.0;
/// The export's aspect ratio without a render-settings tag.
constexpr double defaultAspect = 1.33;

std::optional<double> angle(double radians) {
    if (std::isfinite(radians) && radians > 0 && radians < M_PI) return radians;
    return std::nullopt;
}

std::optional<double> positive(double value) {
    if (std::isfinite(value) && value > 0) return value;
    return std::nullopt;
}

/// `v` turned by `radians` about the unit axis `axis` (Rodrigues).
aiVector3D turned(const aiVector3D& v, const aiVector3D& axis, double radians) {
    const float c = static_cast<float>(std::cos(radians)), s = static_cast<float>(std::sin(radians));
    return v * c + (axis ^ v) * s + axis * ((axis * v) * (1 - c));
}

} // namespace

CameraRules::CameraRules(const std::filesystem::path& model) {
    const std::string suffix = lowerSuffix(model);
    if (suffix == ".gltf" || suffix == ".glb") {
        format_ = Format::Gltf;
    } else if (suffix == ".3ds") {
        format_ = Format::ThreeDs;
        threeDs_ = readThreeDsCameras(model);
    } else if (suffix == ".ase" || suffix == ".ask") {
        format_ = Format::Ase;
    } else if (suffix == ".lws" || suffix == ".mot") {
        format_ = Format::LightWave;
        lightWave_ = readLightWaveLens(model);
    }
}

CameraView CameraRules::view(const aiCamera& camera, const aiMatrix4x4& frame, const aiMatrix4x4& root) const {
    CameraView view{camera.mPosition, camera.mLookAt, camera.mUp, angle(camera.mHorizontalFOV), positive(camera.mAspect)};
    switch (format_) {
    case Format::WholeAngle: break;
    case Format::Gltf:
        // assimp gives the file's vertical angle times the aspect ratio, and the node's
        // translation a second time as the camera's own position.
        // Without an aspect ratio assimp gives the vertical angle itself, which then spans the
        // export's frame (1.33).
        view.position = {};
        if (view.horizontalAngle) {
            const double vertical = view.aspect ? *view.horizontalAngle / *view.aspect : *view.horizontalAngle;
            view.horizontalAngle = angle(2 * std::atan(view.aspect.value_or(defaultAspect) * std::tan(vertical / 2)));
        }
        break;
    case Format::ThreeDs: {
        // The editor data's camera: its place, its target and its bank angle in the file's frame,
        // which the root's transformation turns into the model's; a lens of L is 2400 / L degrees
        // across (assimp gives the lens as if it were the angle, and the place twice).
        const auto found = std::find_if(threeDs_.begin(), threeDs_.end(),
                                        [&](const ThreeDsCamera& c) { return c.name == camera.mName.C_Str(); });
        view.aspect.reset();
        if (found == threeDs_.end()) {
            view.position = {};
            view.horizontalAngle = view.horizontalAngle ? angle(2400.0 / (*view.horizontalAngle / degree) * degree)
                                                        : std::nullopt;
            break;
        }
        aiMatrix4x4 toNode = frame;
        toNode.Inverse();
        toNode = toNode * root;
        aiMatrix3x3 turn(toNode);
        const aiVector3D look = found->target - found->position;
        aiVector3D up(0, 0, 1);
        if (look.Length() > 0) up = turned(up, aiVector3D(look).Normalize(), -found->bankDegrees * degree);
        view.position = toNode * found->position;
        view.look = turn * look;
        view.up = turn * up;
        view.horizontalAngle = found->lens > 0 ? angle(2400.0 / found->lens * degree) : std::nullopt;
        break;
    }
    case Format::Ase:
        // 3ds Max's cameras look along their node's -z; assimp says +z.
        view.look = -view.look;
        view.aspect.reset();
        break;
    case Format::LightWave:
        // LightWave's cameras look along +z of its left-handed frame, which assimp mirrors to -z.
        view.look = -view.look;
        if (lightWave_) {
            view.horizontalAngle = angle(lightWave_->horizontalAngle);
            view.aspect = lightWave_->aspect;
        } else {
            view.aspect.reset();
        }
        break;
    }
    return view;
}

} // namespace host::import
