#include "host/geometry/bounding_box.h"

#include <algorithm>

namespace host {

void BoundingBox::add(const HostVector& p)
{
    if (empty) {
        min = max = p;
        empty = false;
        return;
    }
    min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
}

HostVector BoundingBox::center() const
{
    if (empty)
        return {0, 0, 0};
    return {(min.x + max.x) / 2, (min.y + max.y) / 2, (min.z + max.z) / 2};
}

HostVector BoundingBox::radius() const
{
    if (empty)
        return {0, 0, 0};
    return {(max.x - min.x) / 2, (max.y - min.y) / 2, (max.z - min.z) / 2};
}

BoundingBox boundsOf(const std::vector<HostVector>& points)
{
    BoundingBox box;
    for (const HostVector& p : points)
        box.add(p);
    return box;
}

} // namespace host
