#include "host/documents/placement.h"

#include <cmath>

namespace host {

namespace {

using docfile::Vector3;

/// Images of the unit axes under one rotation, as matrix columns.
struct Rotation {
    Vector3 x, y, z;
};

Vector3 apply(const Rotation& r, const Vector3& v) {
    return {r.x.x * v.x + r.y.x * v.y + r.z.x * v.z, r.x.y * v.x + r.y.y * v.y + r.z.y * v.z,
            r.x.z * v.x + r.y.z * v.y + r.z.z * v.z};
}

Rotation compose(const Rotation& outer, const Rotation& inner) {
    return {apply(outer, inner.x), apply(outer, inner.y), apply(outer, inner.z)};
}

Vector3 scaled(const Vector3& v, double factor) { return {v.x * factor, v.y * factor, v.z * factor}; }

constexpr double degree = 3.14159265358979323846 / 180.0;

} // namespace

docfile::Matrix placementMatrix(const Vector3& position, const Vector3& rotationDegrees, const Vector3& scale) {
    const double h = rotationDegrees.x * degree, p = rotationDegrees.y * degree, b = rotationDegrees.z * degree;
    const Rotation heading{{std::cos(h), 0, -std::sin(h)}, {0, 1, 0}, {std::sin(h), 0, std::cos(h)}};
    const Rotation pitch{{1, 0, 0}, {0, std::cos(p), std::sin(p)}, {0, -std::sin(p), std::cos(p)}};
    const Rotation bank{{std::cos(b), std::sin(b), 0}, {-std::sin(b), std::cos(b), 0}, {0, 0, 1}};
    const Rotation r = compose(heading, compose(pitch, bank));
    return {position, scaled(r.x, scale.x), scaled(r.y, scale.y), scaled(r.z, scale.z)};
}

} // namespace host
