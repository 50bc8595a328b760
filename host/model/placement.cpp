#include "host/model/placement.h"

#include "host/geometry/bounding_box.h"
#include "host/geometry/matrix.h"
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

BoundingBox objectBounds(const HostNode& object)
{
    BoundingBox box;
    switch (object.type()) {
    case TYPE_SPHERE: {
        const float r = object.params.getReal(SPHERE_RADIUS, DEFAULT_SPHERE_RADIUS);
        box.add({-r, -r, -r});
        box.add({r, r, r});
        break;
    }
    case TYPE_CUBE: {
        const HostVector edge = {DEFAULT_CUBE_EDGE, DEFAULT_CUBE_EDGE, DEFAULT_CUBE_EDGE};
        const HostVector size = object.params.getVector(CUBE_SIZE, edge);
        box.add({-size.x / 2, -size.y / 2, -size.z / 2});
        box.add({size.x / 2, size.y / 2, size.z / 2});
        break;
    }
    case TYPE_PLANE: {
        const float w = object.params.getReal(PLANE_WIDTH, DEFAULT_PLANE_SIZE);
        const float h = object.params.getReal(PLANE_HEIGHT, DEFAULT_PLANE_SIZE);
        box.add({-w / 2, 0, -h / 2});
        box.add({w / 2, 0, h / 2});
        break;
    }
    default:
        box = boundsOf(object.points);
        break;
    }
    return box;
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
