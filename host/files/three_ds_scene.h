// What a 3DS file of a document holds, collected before anything is written: the document's
// materials and one mesh object per polygon object (or several, for a large one), already in
// the file's terms.
//
// - Points are in world space (the object's global matrix baked in) and in the renderer's axis
//   order (x, z, y). Exchanging two axes mirrors the geometry, so each triangle's winding is
//   reversed to keep its front outside; an object whose global matrix mirrors it (negative
//   determinant) has its winding reversed once more for the same reason.
// - A quad (a, b, c, d) becomes the triangles (a, b, c) and (a, c, d) before the exchange.
// - An object's faces take the material of its last texture tag whose material is in the
//   document's list (the tag the application draws on top), or else that of its nearest ancestor
//   that has one; without any, they have no material.
// - An object with more than 65535 points or triangles is split, in polygon order, into mesh
//   objects of at most 65535 of each.
// - An object with a UVW tag (its first) has mapping coordinates, one per point: (u, 1 - v),
//   since the file's v runs up from the bottom of a texture. A point whose corners have
//   different coordinates becomes one point per coordinate; those points count against the
//   65535. A polygon the tag has no record for takes (0, 0) at its corners.
// - Names are cut to the format's limits and kept apart (three_ds_names.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "host/model/node.h"

namespace host {

constexpr std::size_t THREE_DS_MAX_POINTS = 65535;
constexpr std::size_t THREE_DS_MAX_FACES = 65535;

struct ThreeDsMaterial {
    std::string name;
    HostVector colour; // 0..1 per component
};

struct ThreeDsMesh {
    std::string name;
    std::vector<HostVector> points;                 // renderer axes
    std::vector<std::array<uint16_t, 3>> faces;     // file winding
    std::vector<std::array<float, 2>> uvs;          // one per point, or none
    int32_t material = -1;                          // index into materials, -1 for none
};

struct ThreeDsScene {
    std::vector<ThreeDsMaterial> materials;
    std::vector<ThreeDsMesh> meshes;
};

/// The colour a material is written with: vector 2100 when its colour channel (0) is on, else
/// the grey 0.8, as the material export reads it.
HostVector materialColour(const HostNode& material);

/// Collects the document. Linear in objects, points and polygons. Throws HostError naming the
/// object when a polygon refers to a point the object does not have.
ThreeDsScene collectThreeDsScene(const HostNode& document);

} // namespace host
