// Axis-aligned bounding boxes.
#pragma once

#include <vector>

#include "host_types.h"

namespace host {

struct BoundingBox {
    HostVector min{0, 0, 0};
    HostVector max{0, 0, 0};
    bool empty = true;

    void add(const HostVector& p);
    /// Centre and half size; both zero for an empty box.
    HostVector center() const;
    HostVector radius() const;
};

BoundingBox boundsOf(const std::vector<HostVector>& points);

} // namespace host
