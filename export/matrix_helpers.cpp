#include "export/matrix_helpers.h"

#include <cmath>

namespace {

HostVector Add(HostVector a, HostVector b) { return HostVector{a.x + b.x, a.y + b.y, a.z + b.z}; }
HostVector Scale(HostVector v, float s) { return HostVector{v.x * s, v.y * s, v.z * s}; }

/// The axes of m combined with the components of d (no offset).
HostVector TransformDirection(const HostMatrix& m, HostVector d) {
    return Add(Add(Scale(m.v1, d.x), Scale(m.v2, d.y)), Scale(m.v3, d.z));
}

} // namespace

HostVector NormalizeVector(HostVector v) {
    float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0.0f) return HostVector{0.0f, 0.0f, 0.0f};
    return Scale(v, 1.0f / length);
}

HostMatrix IdentityMatrix() {
    return HostMatrix{{0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
}

HostMatrix MultiplyMatrix(const HostMatrix& a, const HostMatrix& b) {
    return HostMatrix{TransformPoint(a, b.off), TransformDirection(a, b.v1), TransformDirection(a, b.v2),
                      TransformDirection(a, b.v3)};
}

HostVector TransformPoint(const HostMatrix& m, HostVector p) {
    return Add(m.off, TransformDirection(m, p));
}
