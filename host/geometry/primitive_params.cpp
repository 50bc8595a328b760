#include "host/geometry/primitive_params.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "host/model/node.h"
#include "host_constants.h"

namespace host {
namespace {

constexpr float maxSize = MAX_PRIMITIVE_SIZE;
constexpr float maxSegments = static_cast<float>(MAX_PRIMITIVE_SEGMENTS);

using V = PrimitiveValue;

const std::vector<PrimitiveParameter>& table()
{
    // Defaults are those of a new object of the type in the application.
    static const std::vector<PrimitiveParameter> parameters = {
        {TYPE_SPHERE, SPHERE_RADIUS, "SPHERE_RADIUS", V::Real, DEFAULT_SPHERE_RADIUS, 0, maxSize},
        {TYPE_SPHERE, SPHERE_SEGMENTS, "SPHERE_SEGMENTS", V::Integer, 24, 3, maxSegments},
        {TYPE_CUBE, CUBE_SIZE, "CUBE_SIZE", V::Vector, DEFAULT_CUBE_EDGE, 0, maxSize},
        {TYPE_CUBE, CUBE_SEGMENTS_X, "CUBE_SEGMENTS_X", V::Integer, 1, 1, maxSegments},
        {TYPE_CUBE, CUBE_SEGMENTS_Y, "CUBE_SEGMENTS_Y", V::Integer, 1, 1, maxSegments},
        {TYPE_CUBE, CUBE_SEGMENTS_Z, "CUBE_SEGMENTS_Z", V::Integer, 1, 1, maxSegments},
        {TYPE_PLANE, PLANE_WIDTH, "PLANE_WIDTH", V::Real, DEFAULT_PLANE_SIZE, 0, maxSize},
        {TYPE_PLANE, PLANE_HEIGHT, "PLANE_HEIGHT", V::Real, DEFAULT_PLANE_SIZE, 0, maxSize},
        {TYPE_PLANE, PLANE_SEGMENTS_WIDTH, "PLANE_SEGMENTS_WIDTH", V::Integer, 20, 1, maxSegments},
        {TYPE_PLANE, PLANE_SEGMENTS_HEIGHT, "PLANE_SEGMENTS_HEIGHT", V::Integer, 20, 1, maxSegments},
        {TYPE_CYLINDER, CYLINDER_RADIUS, "CYLINDER_RADIUS", V::Real, 50, 0, maxSize},
        {TYPE_CYLINDER, CYLINDER_HEIGHT, "CYLINDER_HEIGHT", V::Real, 200, 0, maxSize},
        {TYPE_CYLINDER, CYLINDER_HEIGHT_SEGMENTS, "CYLINDER_HEIGHT_SEGMENTS", V::Integer, 4, 1, maxSegments},
        {TYPE_CYLINDER, CYLINDER_ROTATION_SEGMENTS, "CYLINDER_ROTATION_SEGMENTS", V::Integer, 36, 3,
         maxSegments},
        {TYPE_CONE, CONE_TOP_RADIUS, "CONE_TOP_RADIUS", V::Real, 0, 0, maxSize},
        {TYPE_CONE, CONE_BOTTOM_RADIUS, "CONE_BOTTOM_RADIUS", V::Real, 100, 0, maxSize},
        {TYPE_CONE, CONE_HEIGHT, "CONE_HEIGHT", V::Real, 200, 0, maxSize},
        {TYPE_CONE, CONE_HEIGHT_SEGMENTS, "CONE_HEIGHT_SEGMENTS", V::Integer, 8, 1, maxSegments},
        {TYPE_CONE, CONE_ROTATION_SEGMENTS, "CONE_ROTATION_SEGMENTS", V::Integer, 36, 3, maxSegments},
        {TYPE_DISC, DISC_INNER_RADIUS, "DISC_INNER_RADIUS", V::Real, 0, 0, maxSize},
        {TYPE_DISC, DISC_OUTER_RADIUS, "DISC_OUTER_RADIUS", V::Real, 100, 0, maxSize},
        {TYPE_DISC, DISC_RING_SEGMENTS, "DISC_RING_SEGMENTS", V::Integer, 1, 1, maxSegments},
        {TYPE_DISC, DISC_ROTATION_SEGMENTS, "DISC_ROTATION_SEGMENTS", V::Integer, 36, 3, maxSegments},
        {TYPE_TORUS, TORUS_RING_RADIUS, "TORUS_RING_RADIUS", V::Real, 100, 0, maxSize},
        {TYPE_TORUS, TORUS_PIPE_RADIUS, "TORUS_PIPE_RADIUS", V::Real, 20, 0, maxSize},
        {TYPE_TORUS, TORUS_RING_SEGMENTS, "TORUS_RING_SEGMENTS", V::Integer, 36, 3, maxSegments},
        {TYPE_TORUS, TORUS_PIPE_SEGMENTS, "TORUS_PIPE_SEGMENTS", V::Integer, 18, 3, maxSegments},
    };
    return parameters;
}

const PrimitiveParameter& parameterOf(const HostNode& object, int32_t id, PrimitiveValue kind)
{
    for (const PrimitiveParameter& p : table())
        if (p.type == object.type() && p.id == id && p.kind == kind)
            return p;
    throw std::invalid_argument("parameter " + std::to_string(id) + " is not a primitive parameter of type " +
                                std::to_string(object.type()));
}

float heldToRange(float value, const PrimitiveParameter& p)
{
    if (!std::isfinite(value))
        return p.defaultValue;
    return std::clamp(value, p.minimum, p.maximum);
}

} // namespace

const std::vector<PrimitiveParameter>& primitiveParameters()
{
    return table();
}

std::vector<PrimitiveParameter> primitiveParametersOf(int32_t type)
{
    std::vector<PrimitiveParameter> result;
    for (const PrimitiveParameter& p : table())
        if (p.type == type)
            result.push_back(p);
    return result;
}

bool isPrimitiveType(int32_t type)
{
    switch (type) {
    case TYPE_SPHERE:
    case TYPE_CUBE:
    case TYPE_PLANE:
    case TYPE_CYLINDER:
    case TYPE_CONE:
    case TYPE_DISC:
    case TYPE_TORUS:
        return true;
    default:
        return false;
    }
}

float primitiveReal(const HostNode& object, int32_t id)
{
    const PrimitiveParameter& p = parameterOf(object, id, PrimitiveValue::Real);
    return heldToRange(object.params.getReal(id, p.defaultValue), p);
}

int32_t primitiveInteger(const HostNode& object, int32_t id)
{
    const PrimitiveParameter& p = parameterOf(object, id, PrimitiveValue::Integer);
    const float fallback = p.defaultValue;
    // Read as a real so that an integer beyond the range cannot wrap before it is held to it.
    const HostContainer& params = object.params;
    float value = fallback;
    if (const Value* stored = params.find(id)) {
        if (const int32_t* i = std::get_if<int32_t>(stored))
            value = static_cast<float>(*i);
        else if (const float* r = std::get_if<float>(stored))
            value = std::trunc(*r);
    }
    return static_cast<int32_t>(heldToRange(value, p));
}

HostVector primitiveVector(const HostNode& object, int32_t id)
{
    const PrimitiveParameter& p = parameterOf(object, id, PrimitiveValue::Vector);
    const float d = p.defaultValue;
    const HostVector v = object.params.getVector(id, {d, d, d});
    return {heldToRange(v.x, p), heldToRange(v.y, p), heldToRange(v.z, p)};
}

} // namespace host
