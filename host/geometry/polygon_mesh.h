// A polygon mesh as a polygon object holds it: points and polygon records of four point indices
// (a triangle has c == d). The front of a polygon is the side its normal (b - a) x (c - a)
// points to; a closed mesh has every front facing outwards.
#pragma once

#include <cstdint>
#include <vector>

#include "host_types.h"

namespace host {

struct PolygonMesh {
    std::vector<HostVector> points;
    std::vector<HostPolygon> polygons;

    int32_t addPoint(const HostVector& p)
    {
        points.push_back(p);
        return static_cast<int32_t>(points.size() - 1);
    }
    void addTriangle(int32_t a, int32_t b, int32_t c) { polygons.push_back({a, b, c, c}); }
    void addQuad(int32_t a, int32_t b, int32_t c, int32_t d) { polygons.push_back({a, b, c, d}); }
};

} // namespace host
