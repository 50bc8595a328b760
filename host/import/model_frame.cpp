#include "host/import/model_frame.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include <assimp/scene.h>

namespace host::import {

namespace {

std::optional<double> metadataNumber(const aiScene& scene, const char* key) {
    if (!scene.mMetaData) return std::nullopt;
    double d = 0;
    if (scene.mMetaData->Get(key, d)) return d;
    float f = 0;
    if (scene.mMetaData->Get(key, f)) return f;
    int32_t i = 0;
    if (scene.mMetaData->Get(key, i)) return i;
    return std::nullopt;
}

docfile::Vector3 cross(const docfile::Vector3& a, const docfile::Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double dot(const docfile::Vector3& a, const docfile::Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

std::optional<docfile::Vector3> normalised(const docfile::Vector3& v) {
    const double length = std::sqrt(dot(v, v));
    if (!(length > 1e-12) || !std::isfinite(length)) return std::nullopt;
    return docfile::Vector3{v.x / length, v.y / length, v.z / length};
}

} // namespace

std::string lowerSuffix(const std::filesystem::path& file) {
    std::string suffix = file.extension().string();
    std::transform(suffix.begin(), suffix.end(), suffix.begin(), [](unsigned char c) { return std::tolower(c); });
    return suffix;
}

UnitScale unitScale(const aiScene& scene, const std::filesystem::path& model, std::optional<double> given) {
    if (given) return {*given, "--scale"};
    const std::string suffix = lowerSuffix(model);
    if (suffix == ".fbx") {
        if (auto factor = metadataNumber(scene, "UnitScaleFactor"); factor && *factor > 0 && std::isfinite(*factor))
            return {*factor, "the file's unit"};
    }
    if (suffix == ".gltf" || suffix == ".glb") return {100.0, "metres (glTF)"};
    if (suffix == ".dae" || suffix == ".zae") return {100.0, "metres (COLLADA)"};
    return {1.0, "no unit given"};
}

docfile::Matrix Frame::placement(const aiMatrix4x4& m) const {
    docfile::Matrix result;
    result.v1 = {m.a1, m.b1, mirror(m.c1)};
    result.v2 = {m.a2, m.b2, mirror(m.c2)};
    result.v3 = {mirror(m.a3), mirror(m.b3), m.c3};
    result.off = {m.a4 * scale_, m.b4 * scale_, mirror(m.c4) * scale_};
    return result;
}

docfile::Matrix Frame::aim(const aiVector3D& position, const aiVector3D& look, const aiVector3D& up) const {
    docfile::Matrix result;
    result.off = point(position);
    const auto forward = normalised(direction(look));
    if (!forward) return result;
    docfile::Vector3 above = direction(up);
    const double along = dot(above, *forward);
    above = {above.x - along * forward->x, above.y - along * forward->y, above.z - along * forward->z};
    auto upright = normalised(above);
    if (!upright) {
        // Up along the view: any axis across it will do.
        upright = normalised(cross(*forward, std::abs(forward->y) < 0.9 ? docfile::Vector3{0, 1, 0}
                                                                         : docfile::Vector3{1, 0, 0}));
        upright = normalised(cross(*upright, *forward));
    }
    result.v3 = *forward;
    result.v2 = *upright;
    result.v1 = cross(result.v2, result.v3);
    return result;
}

docfile::Matrix compose(const docfile::Matrix& a, const docfile::Matrix& b) {
    auto apply = [&a](const docfile::Vector3& v) {
        return docfile::Vector3{a.v1.x * v.x + a.v2.x * v.y + a.v3.x * v.z, a.v1.y * v.x + a.v2.y * v.y + a.v3.y * v.z,
                                a.v1.z * v.x + a.v2.z * v.y + a.v3.z * v.z};
    };
    docfile::Matrix m;
    const docfile::Vector3 off = apply(b.off);
    m.off = {a.off.x + off.x, a.off.y + off.y, a.off.z + off.z};
    m.v1 = apply(b.v1);
    m.v2 = apply(b.v2);
    m.v3 = apply(b.v3);
    return m;
}

bool isFinite(const docfile::Vector3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool isFinite(const docfile::Matrix& m) { return isFinite(m.off) && isFinite(m.v1) && isFinite(m.v2) && isFinite(m.v3); }

} // namespace host::import
