#include "host/geometry/primitive_meshes.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/geometry/primitive_params.h"
#include "host/model/node.h"
#include "host_constants.h"

namespace host {
namespace {

constexpr double pi = 3.14159265358979323846;

/// A point of a profile in the half-plane of distance from the y axis (rho) and height (y).
/// A point on the axis becomes one pole point, any other a ring of points around the axis.
struct ProfilePoint {
    float rho;
    float y;
    bool onAxis;
};

ProfilePoint at(float rho, float y)
{
    return {rho, y, rho == 0.0f};
}

/// Sweeps a profile around the y axis. The profile is walked with the solid on its right-hand
/// side (seen with rho to the right and y up), which puts every front outside. A closed profile
/// also joins its last point to its first.
PolygonMesh revolve(const std::vector<ProfilePoint>& profile, int32_t segments, bool closedProfile)
{
    PolygonMesh mesh;
    std::vector<double> sines(segments), cosines(segments);
    for (int32_t j = 0; j < segments; ++j) {
        const double phi = 2.0 * pi * j / segments;
        sines[j] = std::sin(phi);
        cosines[j] = std::cos(phi);
    }
    std::vector<int32_t> first(profile.size());
    for (std::size_t k = 0; k < profile.size(); ++k) {
        const ProfilePoint& p = profile[k];
        if (p.onAxis) {
            first[k] = mesh.addPoint({0.0f, p.y, 0.0f});
            continue;
        }
        first[k] = static_cast<int32_t>(mesh.points.size());
        for (int32_t j = 0; j < segments; ++j)
            mesh.addPoint({static_cast<float>(p.rho * sines[j]), p.y, static_cast<float>(p.rho * cosines[j])});
    }
    const std::size_t bands = closedProfile ? profile.size() : profile.size() - 1;
    // Texture coordinates: u once around the axis, v along the profile from its first point.
    // The seam gets both u = 0 and u = 1, so its corners differ from their neighbours'.
    const auto vSteps = static_cast<float>(closedProfile ? profile.size() : profile.size() - 1);
    for (std::size_t k = 0; k < bands; ++k) {
        const std::size_t l = (k + 1) % profile.size();
        const bool upperPole = profile[k].onAxis;
        const bool lowerPole = profile[l].onAxis;
        if (upperPole && lowerPole)
            continue;
        const float vk = static_cast<float>(k) / vSteps;
        const float vl = static_cast<float>(k + 1) / vSteps;
        for (int32_t j = 0; j < segments; ++j) {
            const int32_t jn = (j + 1) % segments;
            const float uj = static_cast<float>(j) / static_cast<float>(segments);
            const float un = static_cast<float>(j + 1) / static_cast<float>(segments);
            const float um = (uj + un) / 2;
            if (upperPole)
                mesh.addTriangle(first[k], first[l] + j, first[l] + jn, {{um, vk}, {uj, vl}, {un, vl}});
            else if (lowerPole)
                mesh.addTriangle(first[k] + j, first[l], first[k] + jn, {{uj, vk}, {um, vl}, {un, vk}});
            else
                mesh.addQuad(first[k] + j, first[l] + j, first[l] + jn, first[k] + jn,
                             {{uj, vk}, {uj, vl}, {un, vl}, {un, vk}});
        }
    }
    return mesh;
}

/// Steps from a to b in `steps` equal parts, both ends included.
float lerp(float a, float b, int32_t i, int32_t steps)
{
    return i == steps ? b : a + (b - a) * static_cast<float>(i) / static_cast<float>(steps);
}

} // namespace

PolygonMesh sphereMesh(float radius, int32_t segments)
{
    const int32_t rings = std::max(2, segments / 2);
    std::vector<ProfilePoint> profile;
    profile.push_back({0.0f, radius, true});
    for (int32_t k = 1; k < rings; ++k) {
        const double theta = pi * k / rings;
        profile.push_back({static_cast<float>(radius * std::sin(theta)),
                           static_cast<float>(radius * std::cos(theta)), false});
    }
    profile.push_back({0.0f, -radius, true});
    return revolve(profile, segments, false);
}

PolygonMesh coneMesh(float topRadius, float bottomRadius, float height, int32_t heightSegments,
                     int32_t rotationSegments)
{
    const float top = height / 2;
    std::vector<ProfilePoint> profile;
    if (topRadius > 0)
        profile.push_back({0.0f, top, true});
    for (int32_t i = 0; i <= heightSegments; ++i)
        profile.push_back(at(lerp(topRadius, bottomRadius, i, heightSegments), lerp(top, -top, i, heightSegments)));
    if (bottomRadius > 0)
        profile.push_back({0.0f, -top, true});
    return revolve(profile, rotationSegments, false);
}

PolygonMesh cylinderMesh(float radius, float height, int32_t heightSegments, int32_t rotationSegments)
{
    return coneMesh(radius, radius, height, heightSegments, rotationSegments);
}

PolygonMesh discMesh(float innerRadius, float outerRadius, int32_t ringSegments, int32_t rotationSegments)
{
    // Walked outwards, so the front faces +y whichever radius is given as the inner one.
    if (innerRadius > outerRadius)
        std::swap(innerRadius, outerRadius);
    std::vector<ProfilePoint> profile;
    for (int32_t i = 0; i <= ringSegments; ++i)
        profile.push_back(at(lerp(innerRadius, outerRadius, i, ringSegments), 0.0f));
    return revolve(profile, rotationSegments, false);
}

PolygonMesh torusMesh(float ringRadius, float pipeRadius, int32_t ringSegments, int32_t pipeSegments)
{
    // The pipe's circle, walked clockwise from its outermost point; no point is a pole, even
    // where a pipe as thick as the ring touches the axis.
    std::vector<ProfilePoint> profile;
    for (int32_t i = 0; i < pipeSegments; ++i) {
        const double t = 2.0 * pi * i / pipeSegments;
        profile.push_back({static_cast<float>(ringRadius + pipeRadius * std::cos(t)),
                           static_cast<float>(-pipeRadius * std::sin(t)), false});
    }
    return revolve(profile, ringSegments, true);
}

PolygonMesh planeMesh(float width, float height, int32_t segmentsWidth, int32_t segmentsHeight)
{
    PolygonMesh mesh;
    const int32_t columns = segmentsWidth + 1;
    for (int32_t iz = 0; iz <= segmentsHeight; ++iz)
        for (int32_t ix = 0; ix <= segmentsWidth; ++ix)
            mesh.addPoint({lerp(-width / 2, width / 2, ix, segmentsWidth), 0.0f,
                           lerp(-height / 2, height / 2, iz, segmentsHeight)});
    // u from -x to +x, v from +z (the top of the texture, seen from above) to -z.
    auto u = [&](int32_t ix) { return static_cast<float>(ix) / static_cast<float>(segmentsWidth); };
    auto v = [&](int32_t iz) { return 1.0f - static_cast<float>(iz) / static_cast<float>(segmentsHeight); };
    for (int32_t iz = 0; iz < segmentsHeight; ++iz)
        for (int32_t ix = 0; ix < segmentsWidth; ++ix) {
            const int32_t p = iz * columns + ix;
            mesh.addQuad(p, p + columns, p + columns + 1, p + 1,
                         {{u(ix), v(iz)}, {u(ix), v(iz + 1)}, {u(ix + 1), v(iz + 1)}, {u(ix + 1), v(iz)}});
        }
    return mesh;
}

PolygonMesh cubeMesh(const HostVector& size, int32_t segmentsX, int32_t segmentsY, int32_t segmentsZ)
{
    // The surface is a lattice of (segments + 1) steps per axis; faces share the points of
    // their common edges, found by lattice position.
    const int32_t n[3] = {segmentsX, segmentsY, segmentsZ};
    const float extent[3] = {size.x, size.y, size.z};
    PolygonMesh mesh;
    std::unordered_map<uint64_t, int32_t> indexOf;
    auto point = [&](const int32_t (&l)[3]) {
        const uint64_t key = (uint64_t(l[0]) * uint64_t(n[1] + 1) + uint64_t(l[1])) * uint64_t(n[2] + 1) + uint64_t(l[2]);
        const auto [it, added] = indexOf.try_emplace(key, 0);
        if (added) {
            float c[3];
            for (int axis = 0; axis < 3; ++axis)
                c[axis] = lerp(-extent[axis] / 2, extent[axis] / 2, l[axis], n[axis]);
            it->second = mesh.addPoint({c[0], c[1], c[2]});
        }
        return it->second;
    };
    // Each face: the axis it stands on, its side, and the lattice axes u and v with v x u
    // pointing outwards.
    struct Face {
        int axis;
        bool positive;
        int u;
        int v;
    };
    const Face faces[6] = {{0, true, 2, 1}, {0, false, 1, 2}, {1, true, 0, 2},
                           {1, false, 2, 0}, {2, true, 1, 0}, {2, false, 0, 1}};
    for (const Face& f : faces) {
        for (int32_t iu = 0; iu < n[f.u]; ++iu)
            for (int32_t iv = 0; iv < n[f.v]; ++iv) {
                int32_t l[3];
                l[f.axis] = f.positive ? n[f.axis] : 0;
                auto corner = [&](int32_t du, int32_t dv) {
                    int32_t c[3] = {l[0], l[1], l[2]};
                    c[f.u] = iu + du;
                    c[f.v] = iv + dv;
                    return point(c);
                };
                // Each face holds the whole texture once.
                const float u0 = static_cast<float>(iu) / static_cast<float>(n[f.u]);
                const float u1 = static_cast<float>(iu + 1) / static_cast<float>(n[f.u]);
                const float v0 = 1.0f - static_cast<float>(iv) / static_cast<float>(n[f.v]);
                const float v1 = 1.0f - static_cast<float>(iv + 1) / static_cast<float>(n[f.v]);
                mesh.addQuad(corner(0, 0), corner(0, 1), corner(1, 1), corner(1, 0),
                             {{u0, v0}, {u0, v1}, {u1, v1}, {u1, v0}});
            }
    }
    return mesh;
}

std::optional<PolygonMesh> primitiveMesh(const HostNode& o)
{
    switch (o.type()) {
    case TYPE_SPHERE:
        return sphereMesh(primitiveReal(o, SPHERE_RADIUS), primitiveInteger(o, SPHERE_SEGMENTS));
    case TYPE_CUBE:
        return cubeMesh(primitiveVector(o, CUBE_SIZE), primitiveInteger(o, CUBE_SEGMENTS_X),
                        primitiveInteger(o, CUBE_SEGMENTS_Y), primitiveInteger(o, CUBE_SEGMENTS_Z));
    case TYPE_PLANE:
        return planeMesh(primitiveReal(o, PLANE_WIDTH), primitiveReal(o, PLANE_HEIGHT),
                         primitiveInteger(o, PLANE_SEGMENTS_WIDTH), primitiveInteger(o, PLANE_SEGMENTS_HEIGHT));
    case TYPE_CYLINDER:
        return cylinderMesh(primitiveReal(o, CYLINDER_RADIUS), primitiveReal(o, CYLINDER_HEIGHT),
                            primitiveInteger(o, CYLINDER_HEIGHT_SEGMENTS),
                            primitiveInteger(o, CYLINDER_ROTATION_SEGMENTS));
    case TYPE_CONE:
        return coneMesh(primitiveReal(o, CONE_TOP_RADIUS), primitiveReal(o, CONE_BOTTOM_RADIUS),
                        primitiveReal(o, CONE_HEIGHT), primitiveInteger(o, CONE_HEIGHT_SEGMENTS),
                        primitiveInteger(o, CONE_ROTATION_SEGMENTS));
    case TYPE_DISC:
        return discMesh(primitiveReal(o, DISC_INNER_RADIUS), primitiveReal(o, DISC_OUTER_RADIUS),
                        primitiveInteger(o, DISC_RING_SEGMENTS), primitiveInteger(o, DISC_ROTATION_SEGMENTS));
    case TYPE_TORUS:
        return torusMesh(primitiveReal(o, TORUS_RING_RADIUS), primitiveReal(o, TORUS_PIPE_RADIUS),
                         primitiveInteger(o, TORUS_RING_SEGMENTS), primitiveInteger(o, TORUS_PIPE_SEGMENTS));
    default:
        return std::nullopt;
    }
}

} // namespace host
