// A polygon mesh as a polygon object holds it: points and polygon records of four point indices
// (a triangle has c == d). The front of a polygon is the side its normal (b - a) x (c - a)
// points to; a closed mesh has every front facing outwards. A primitive's mesh also carries the
// texture coordinates of every polygon's corners, one record per polygon.
#pragma once

#include <cstdint>
#include <vector>

#include "host/model/uvw_polygon.h"
#include "host_types.h"

namespace host {

struct PolygonMesh {
    std::vector<HostVector> points;
    std::vector<HostPolygon> polygons;
    std::vector<UvwPolygon> uvws; // one per polygon, or none

    int32_t addPoint(const HostVector& p)
    {
        points.push_back(p);
        return static_cast<int32_t>(points.size() - 1);
    }
    void addTriangle(int32_t a, int32_t b, int32_t c) { polygons.push_back({a, b, c, c}); }
    void addQuad(int32_t a, int32_t b, int32_t c, int32_t d) { polygons.push_back({a, b, c, d}); }
    /// A polygon with its corners' texture coordinates (u, v).
    void addTriangle(int32_t a, int32_t b, int32_t c, const float (&uv)[3][2])
    {
        addTriangle(a, b, c);
        uvws.push_back({{uv[0][0], uv[0][1], 0}, {uv[1][0], uv[1][1], 0}, {uv[2][0], uv[2][1], 0},
                        {uv[2][0], uv[2][1], 0}});
    }
    void addQuad(int32_t a, int32_t b, int32_t c, int32_t d, const float (&uv)[4][2])
    {
        addQuad(a, b, c, d);
        uvws.push_back({{uv[0][0], uv[0][1], 0}, {uv[1][0], uv[1][1], 0}, {uv[2][0], uv[2][1], 0},
                        {uv[3][0], uv[3][1], 0}});
    }
};

} // namespace host
