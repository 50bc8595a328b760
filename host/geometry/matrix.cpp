#include "host/geometry/matrix.h"

#include <cmath>

namespace host {
namespace {

HostVector add(const HostVector& a, const HostVector& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
HostVector mul(const HostVector& a, float s) { return {a.x * s, a.y * s, a.z * s}; }
HostVector neg(const HostVector& a) { return {-a.x, -a.y, -a.z}; }

} // namespace

HostMatrix identityMatrix()
{
    return {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
}

HostVector transformVector(const HostMatrix& m, const HostVector& v)
{
    return add(add(mul(m.v1, v.x), mul(m.v2, v.y)), mul(m.v3, v.z));
}

HostVector transformPoint(const HostMatrix& m, const HostVector& p)
{
    return add(m.off, transformVector(m, p));
}

HostMatrix multiply(const HostMatrix& a, const HostMatrix& b)
{
    return {transformPoint(a, b.off), transformVector(a, b.v1), transformVector(a, b.v2),
            transformVector(a, b.v3)};
}

HostMatrix inverse(const HostMatrix& m)
{
    // The axes are the columns of the 3x3 part; its inverse rows are cross products / det.
    const HostVector& a = m.v1;
    const HostVector& b = m.v2;
    const HostVector& c = m.v3;
    const double det = double(a.x) * (double(b.y) * c.z - double(b.z) * c.y) -
                       double(b.x) * (double(a.y) * c.z - double(a.z) * c.y) +
                       double(c.x) * (double(a.y) * b.z - double(a.z) * b.y);
    HostMatrix r = identityMatrix();
    if (det == 0.0 || !std::isfinite(det)) {
        r.off = neg(m.off);
        return r;
    }
    const double inv = 1.0 / det;
    // Rows of the inverse: (b x c), (c x a), (a x b), each divided by det; they become the
    // inverse's columns read across.
    const double r0[3] = {(double(b.y) * c.z - double(b.z) * c.y) * inv,
                          (double(b.z) * c.x - double(b.x) * c.z) * inv,
                          (double(b.x) * c.y - double(b.y) * c.x) * inv};
    const double r1[3] = {(double(c.y) * a.z - double(c.z) * a.y) * inv,
                          (double(c.z) * a.x - double(c.x) * a.z) * inv,
                          (double(c.x) * a.y - double(c.y) * a.x) * inv};
    const double r2[3] = {(double(a.y) * b.z - double(a.z) * b.y) * inv,
                          (double(a.z) * b.x - double(a.x) * b.z) * inv,
                          (double(a.x) * b.y - double(a.y) * b.x) * inv};
    r.v1 = {float(r0[0]), float(r1[0]), float(r2[0])};
    r.v2 = {float(r0[1]), float(r1[1]), float(r2[1])};
    r.v3 = {float(r0[2]), float(r1[2]), float(r2[2])};
    r.off = neg(transformVector(r, m.off));
    return r;
}

float length(const HostVector& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

HostMatrix matrixFromPlacement(const HostVector& position, const HostVector& rotation,
                               const HostVector& scaleFactors)
{
    // rotation.x heading (about y), rotation.y pitch (about x), rotation.z bank (about z).
    const float ch = std::cos(rotation.x), sh = std::sin(rotation.x);
    const float cp = std::cos(rotation.y), sp = std::sin(rotation.y);
    const float cb = std::cos(rotation.z), sb = std::sin(rotation.z);
    const HostMatrix heading = {{0, 0, 0}, {ch, 0, -sh}, {0, 1, 0}, {sh, 0, ch}};
    const HostMatrix pitch = {{0, 0, 0}, {1, 0, 0}, {0, cp, sp}, {0, -sp, cp}};
    const HostMatrix bank = {{0, 0, 0}, {cb, sb, 0}, {-sb, cb, 0}, {0, 0, 1}};
    HostMatrix m = multiply(heading, multiply(pitch, bank));
    m.v1 = mul(m.v1, scaleFactors.x);
    m.v2 = mul(m.v2, scaleFactors.y);
    m.v3 = mul(m.v3, scaleFactors.z);
    m.off = position;
    return m;
}

} // namespace host
