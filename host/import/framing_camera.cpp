#include "host/import/framing_camera.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "host/import/model_frame.h"

namespace host::import {

namespace df = docfile;

namespace {

/// A 50 mm lens across the host's 36 mm film.
constexpr double lens = 50, film = 36;
/// The export's aspect ratio without a render-settings tag.
constexpr double frameAspect = 1.33;
/// How much of the frame the box's corners may take.
constexpr double fill = 0.9;

df::Vector3 apply(const df::Matrix& m, const df::Vector3& p) {
    return {m.off.x + m.v1.x * p.x + m.v2.x * p.y + m.v3.x * p.z, m.off.y + m.v1.y * p.x + m.v2.y * p.y + m.v3.y * p.z,
            m.off.z + m.v1.z * p.x + m.v2.z * p.y + m.v3.z * p.z};
}

void extend(const std::vector<df::Object>& objects, const df::Matrix& parent, std::optional<Bounds>& box) {
    for (const df::Object& object : objects) {
        const df::Matrix world = object.placement ? compose(parent, *object.placement) : parent;
        for (const HostVector& point : object.points) {
            const df::Vector3 p = apply(world, {point.x, point.y, point.z});
            if (!box) box = Bounds{p, p};
            box->low = {std::min(box->low.x, p.x), std::min(box->low.y, p.y), std::min(box->low.z, p.z)};
            box->high = {std::max(box->high.x, p.x), std::max(box->high.y, p.y), std::max(box->high.z, p.z)};
        }
        extend(object.children, world, box);
    }
}

double dot(const df::Vector3& a, const df::Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

} // namespace

const double framingAngle = 2 * std::atan(film / 2 / lens);

std::optional<Bounds> geometryBounds(const std::vector<df::Object>& objects) {
    std::optional<Bounds> box;
    extend(objects, df::Matrix{}, box);
    return box;
}

df::Matrix framingPlacement(const Bounds& box) {
    const double elevation = framingElevationDegrees * M_PI / 180, turn = framingTurnDegrees * M_PI / 180;
    // The model's front faces its +z, which is the host's -z: the camera stands there, turned
    // towards the model's right (+x) and raised.
    const double ce = std::cos(elevation), se = std::sin(elevation), ct = std::cos(turn), st = std::sin(turn);
    const df::Vector3 forward{-st * ce, -se, ct * ce};
    const df::Vector3 up{-st * se, ce, ct * se};
    const df::Vector3 right{ct, 0, st};
    const df::Vector3 centre{(box.low.x + box.high.x) / 2, (box.low.y + box.high.y) / 2, (box.low.z + box.high.z) / 2};
    const double tanAcross = fill * std::tan(framingAngle / 2), tanUp = tanAcross / frameAspect;
    const double extent = std::max({box.high.x - box.low.x, box.high.y - box.low.y, box.high.z - box.low.z});
    // The distance at which every corner is inside the frame and in front of the lens.
    double distance = 0;
    for (int corner = 0; corner < 8; ++corner) {
        const df::Vector3 p{corner & 1 ? box.high.x : box.low.x, corner & 2 ? box.high.y : box.low.y,
                            corner & 4 ? box.high.z : box.low.z};
        const df::Vector3 q{p.x - centre.x, p.y - centre.y, p.z - centre.z};
        const double depth = dot(q, forward);
        distance = std::max({distance, std::abs(dot(q, right)) / tanAcross - depth, std::abs(dot(q, up)) / tanUp - depth,
                             0.05 * extent - depth});
    }
    // A single point still needs a camera that stands somewhere.
    if (!(distance > 0)) distance = 1;
    df::Matrix placement;
    placement.off = {centre.x - distance * forward.x, centre.y - distance * forward.y, centre.z - distance * forward.z};
    placement.v1 = right;
    placement.v2 = up;
    placement.v3 = forward;
    return placement;
}

} // namespace host::import
