// Checks on triangle meshes shared by the geometry and file tests: closedness and the side the
// fronts face. A triangle's front is the side (b - a) x (c - a) points to.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "host_types.h"

namespace meshcheck {

using Triangle = std::array<int, 3>;

inline HostVector sub(const HostVector& a, const HostVector& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline HostVector cross(const HostVector& a, const HostVector& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double dot(const HostVector& a, const HostVector& b) { return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z; }
inline HostVector normal(const HostVector& a, const HostVector& b, const HostVector& c) { return cross(sub(b, a), sub(c, a)); }
inline HostVector centroid(const HostVector& a, const HostVector& b, const HostVector& c)
{
    return {(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
}

/// Host polygons as triangles: (a, b, c) and, for a quad, (a, c, d).
inline std::vector<Triangle> triangles(const std::vector<HostPolygon>& polygons)
{
    std::vector<Triangle> result;
    for (const HostPolygon& p : polygons) {
        result.push_back({p.a, p.b, p.c});
        if (p.c != p.d)
            result.push_back({p.a, p.c, p.d});
    }
    return result;
}

/// Closed and consistently wound: every edge is used once in each direction.
inline testing::AssertionResult closed(const std::vector<Triangle>& tris)
{
    std::map<std::pair<int, int>, int> edges;
    for (const Triangle& t : tris)
        for (int k = 0; k < 3; ++k)
            ++edges[{t[k], t[(k + 1) % 3]}];
    for (const auto& [edge, count] : edges) {
        if (count != 1)
            return testing::AssertionFailure() << "edge " << edge.first << "-" << edge.second << " used " << count
                                               << " times in one direction";
        const auto back = edges.find({edge.second, edge.first});
        if (back == edges.end())
            return testing::AssertionFailure() << "edge " << edge.first << "-" << edge.second << " has no neighbour";
    }
    return testing::AssertionSuccess();
}

/// Every triangle of non-zero area faces away from the point `inside(centroid)` gives for it.
inline testing::AssertionResult facesAway(const std::vector<HostVector>& points, const std::vector<Triangle>& tris,
                                          const std::function<HostVector(const HostVector&)>& inside)
{
    for (std::size_t i = 0; i < tris.size(); ++i) {
        const HostVector& a = points[tris[i][0]];
        const HostVector& b = points[tris[i][1]];
        const HostVector& c = points[tris[i][2]];
        const HostVector n = normal(a, b, c);
        if (dot(n, n) < 1e-12)
            continue;
        const HostVector m = centroid(a, b, c);
        if (dot(n, sub(m, inside(m))) <= 0)
            return testing::AssertionFailure() << "triangle " << i << " at (" << m.x << ", " << m.y << ", " << m.z
                                               << ") faces inwards";
    }
    return testing::AssertionSuccess();
}

inline std::function<HostVector(const HostVector&)> from(const HostVector& centre)
{
    return [centre](const HostVector&) { return centre; };
}

} // namespace meshcheck
