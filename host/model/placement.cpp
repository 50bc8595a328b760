#include "host/model/placement.h"

#include <algorithm>

#include "host/geometry/bounding_box.h"
#include "host/geometry/matrix.h"
#include "host/geometry/primitive_params.h"
#include "host/model/links.h"
#include "host/model/object_params.h"
#include "host_constants.h"

namespace host {

HostMatrix localMatrix(const HostNode& object)
{
    return object.local;
}

HostMatrix globalMatrix(const HostNode& object)
{
    HostMatrix m = object.local;
    for (const HostNode* up = object.parent(); up; up = up->parent())
        m = multiply(up->local, m);
    return m;
}

void setLocalMatrix(HostNode& object, const HostMatrix& matrix)
{
    object.local = matrix;
}

void setGlobalMatrix(HostNode& object, const HostMatrix& matrix, bool keepChildren)
{
    const HostMatrix oldGlobal = globalMatrix(object);
    const HostNode* parent = object.parent();
    object.local = parent ? multiply(inverse(globalMatrix(*parent)), matrix) : matrix;
    if (!keepChildren)
        return;
    // Each child keeps its global matrix: new local = inverse(new global) * old global * local.
    const HostMatrix correction = multiply(inverse(matrix), oldGlobal);
    for (HostNode* child = object.children().first(); child; child = child->next())
        child->local = multiply(correction, child->local);
}

HostVector position(const HostNode& object)
{
    return globalMatrix(object).off;
}

HostVector scale(const HostNode& object)
{
    return {length(object.local.v1), length(object.local.v2), length(object.local.v3)};
}

namespace {

/// Links an instance follows to find what it repeats; a longer chain (or a cycle) has no box.
constexpr int kMaxInstanceChain = 64;

/// A box centred on the origin with these half sizes.
BoundingBox centredBox(float x, float y, float z)
{
    BoundingBox box;
    box.add({-x, -y, -z});
    box.add({x, y, z});
    return box;
}

/// What an instance repeats, following instances of instances; none for an empty or dangling
/// link or a chain that does not end.
const HostNode* instanceTarget(const HostNode& instance)
{
    const HostNode* node = &instance;
    for (int step = 0; step < kMaxInstanceChain && node && node->type() == TYPE_INSTANCE; ++step)
        node = resolveLink(node->params.getLinkToken(INSTANCE_LINK), node->document(), LINK_FILTER_OBJECT);
    return node && node->type() != TYPE_INSTANCE ? node : nullptr;
}

BoundingBox objectBounds(const HostNode& given)
{
    // An instance reports the box of what it repeats, in its own coordinates.
    const HostNode* found = given.type() == TYPE_INSTANCE ? instanceTarget(given) : &given;
    if (!found)
        return BoundingBox{};
    const HostNode& object = *found;
    switch (object.type()) {
    case TYPE_SPHERE: {
        const float r = object.params.getReal(SPHERE_RADIUS, DEFAULT_SPHERE_RADIUS);
        return centredBox(r, r, r);
    }
    case TYPE_CUBE: {
        const HostVector edge = {DEFAULT_CUBE_EDGE, DEFAULT_CUBE_EDGE, DEFAULT_CUBE_EDGE};
        const HostVector size = object.params.getVector(CUBE_SIZE, edge);
        return centredBox(size.x / 2, size.y / 2, size.z / 2);
    }
    case TYPE_PLANE: {
        const float w = object.params.getReal(PLANE_WIDTH, DEFAULT_PLANE_SIZE);
        const float h = object.params.getReal(PLANE_HEIGHT, DEFAULT_PLANE_SIZE);
        return centredBox(w / 2, 0, h / 2);
    }
    case TYPE_CYLINDER: {
        const float r = primitiveReal(object, CYLINDER_RADIUS);
        return centredBox(r, primitiveReal(object, CYLINDER_HEIGHT) / 2, r);
    }
    case TYPE_CONE: {
        const float r = std::max(primitiveReal(object, CONE_TOP_RADIUS), primitiveReal(object, CONE_BOTTOM_RADIUS));
        return centredBox(r, primitiveReal(object, CONE_HEIGHT) / 2, r);
    }
    case TYPE_DISC: {
        const float r = primitiveReal(object, DISC_OUTER_RADIUS);
        return centredBox(r, 0, r);
    }
    case TYPE_TORUS: {
        const float pipe = primitiveReal(object, TORUS_PIPE_RADIUS);
        const float r = primitiveReal(object, TORUS_RING_RADIUS) + pipe;
        return centredBox(r, pipe, r);
    }
    case TYPE_LIGHT: {
        // An area light is a rectangle in its x-y plane, facing along z; other lights are points.
        if (object.params.getInt(LIGHT_KIND, 0) != LIGHT_KIND_AREA)
            return centredBox(0, 0, 0);
        const float w = object.params.getReal(LIGHT_AREA_WIDTH, DEFAULT_AREA_SIZE);
        const float h = object.params.getReal(LIGHT_AREA_HEIGHT, DEFAULT_AREA_SIZE);
        return centredBox(w / 2, h / 2, 0);
    }
    default:
        return boundsOf(object.points);
    }
}

} // namespace

HostVector boundingBoxCenter(const HostNode& object)
{
    return objectBounds(object).center();
}

HostVector boundingBoxRadius(const HostNode& object)
{
    return objectBounds(object).radius();
}

} // namespace host
