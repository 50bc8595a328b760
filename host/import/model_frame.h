// The model's frame (right-handed, +y up, in its own unit) turned into the host's (left-handed,
// +y up, centimetres): the z axis is mirrored in every placement and point, and lengths are
// multiplied by the unit scale. Mirroring turns a polygon inside out, so the import also
// reverses each polygon's corners (see mesh_import.cpp).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include <assimp/matrix4x4.h>
#include <assimp/vector3.h>

#include "host/documents/document_file.h"

struct aiScene;

namespace host::import {

/// Host centimetres per model unit, and where the number comes from ("--scale", "the file's
/// unit", "metres (glTF)", "no unit given").
struct UnitScale {
    double factor = 1.0;
    std::string source;
};

/// The file's suffix in lower case (".dae"), which names its format.
std::string lowerSuffix(const std::filesystem::path& file);

/// `given` (from --scale) wins; else the unit the file declares where assimp reports one (FBX's
/// UnitScaleFactor in centimetres per unit), metres for glTF and COLLADA (assimp brings COLLADA
/// to metres), else 1.
UnitScale unitScale(const aiScene& scene, const std::filesystem::path& model, std::optional<double> given);

class Frame {
public:
    explicit Frame(double scale) : scale_(scale) {}

    double scale() const { return scale_; }
    /// A point of the model in host units: z mirrored, scaled.
    docfile::Vector3 point(const aiVector3D& p) const { return {p.x * scale_, p.y * scale_, mirror(p.z) * scale_}; }
    /// A direction: z mirrored, not scaled.
    static docfile::Vector3 direction(const aiVector3D& d) { return {d.x, d.y, mirror(d.z)}; }
    /// The mirrored component; a mirrored 0 stays 0 rather than becoming -0 in the document.
    static double mirror(double z) { return 0.0 - z; }
    /// A node's transformation relative to its parent as a host placement: S·M·S with S the
    /// mirror of z, its offset scaled.
    docfile::Matrix placement(const aiMatrix4x4& m) const;
    /// The placement of something that sits at `position` (model units) looking along `look`
    /// with `up` above (a camera or a light): the host's own objects look along +z with +y up.
    docfile::Matrix aim(const aiVector3D& position, const aiVector3D& look, const aiVector3D& up) const;

private:
    double scale_;
};

/// The placement `b` (relative to `a`) seen from `a`'s parent: a · b.
docfile::Matrix compose(const docfile::Matrix& a, const docfile::Matrix& b);

/// Whether every component is a finite number.
bool isFinite(const docfile::Matrix& m);
bool isFinite(const docfile::Vector3& v);

} // namespace host::import
