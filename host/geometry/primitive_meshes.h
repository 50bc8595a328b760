// The polygon meshes of the host's primitives, built from their parameters
// (host/geometry/primitive_params.h). Every closed primitive (sphere, cube, cylinder, cone,
// torus) is one closed surface: neighbouring polygons share their points, and every front faces
// outwards. Plane and disc are open and face +y.
//
// Texture coordinates (one record per polygon): plane: u along x, v from the +z edge to the -z
// edge; cube: each face holds the whole texture once; the shapes made round the y axis (sphere,
// cylinder, cone, disc, torus): u once around the axis, v along the profile from the top (the
// disc: from the inner edge outwards; the torus: once around its pipe). Points on a seam take
// different coordinates in their polygons (u = 0 on one side, 1 on the other).
//
// Counts, for the parameters named:
//   sphere   segments s, rings r = max(2, s / 2): 2 + (r - 1) s points, r s polygons
//   cube     segments x, y, z: 2 (xy + yz + zx) polygons
//   plane    segments w, h: (w + 1)(h + 1) points, w h quads
//   cylinder rotation s, height h: 2 + (h + 1) s points, (h + 2) s polygons
//   cone     like the cylinder, except that a radius of 0 ends the side in one apex point
//   disc     rotation s, rings d: d s polygons (1 + d s points with inner radius 0)
//   torus    ring s, pipe p: s p points, s p quads
#pragma once

#include <cstdint>
#include <optional>

#include "host/geometry/polygon_mesh.h"

struct HostNode;

namespace host {

PolygonMesh sphereMesh(float radius, int32_t segments);
PolygonMesh cubeMesh(const HostVector& size, int32_t segmentsX, int32_t segmentsY, int32_t segmentsZ);
PolygonMesh planeMesh(float width, float height, int32_t segmentsWidth, int32_t segmentsHeight);
PolygonMesh coneMesh(float topRadius, float bottomRadius, float height, int32_t heightSegments,
                     int32_t rotationSegments);
PolygonMesh cylinderMesh(float radius, float height, int32_t heightSegments, int32_t rotationSegments);
PolygonMesh discMesh(float innerRadius, float outerRadius, int32_t ringSegments, int32_t rotationSegments);
PolygonMesh torusMesh(float ringRadius, float pipeRadius, int32_t ringSegments, int32_t pipeSegments);

/// The mesh of a primitive object from its own parameters; none for any other type.
std::optional<PolygonMesh> primitiveMesh(const HostNode& object);

} // namespace host
