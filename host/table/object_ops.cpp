#include <stdexcept>

#include "host/model/object_params.h"
#include "host/model/placement.h"
#include "host/table/host_table_impl.h"
#include "host/table/table_guard.h"
#include "host_constants.h"

namespace host {
namespace {

constexpr HostVector zero{0, 0, 0};

HostTag* firstTag(const HostObject* object)
{
    return object ? object->tags().first() : nullptr;
}

void insertTag(HostObject* object, HostTag* tag, HostTag* predecessor)
{
    guardedVoid("object.insert_tag", [&] {
        if (!object || !object->isObject() || !tag || tag->kind() != NodeKind::Tag)
            throw std::invalid_argument("a tag goes on an object");
        if (tag->inList())
            throw std::invalid_argument("the tag is already on an object");
        if (predecessor && (predecessor->kind() != NodeKind::Tag || predecessor->owner() != object))
            throw std::invalid_argument("the predecessor is not a tag of this object");
        // Checked above, so adopting the tag cannot fail half-way.
        object->tags().insertAfter(object, NodePtr(tag), predecessor);
    });
}

HostVector objectPosition(const HostObject* object)
{
    return object ? position(*object) : zero;
}

HostMatrix local(const HostObject* object)
{
    return object ? localMatrix(*object) : HostMatrix{};
}

HostMatrix global(const HostObject* object)
{
    return object ? globalMatrix(*object) : HostMatrix{};
}

void setMatrix(HostObject* object, const HostMatrix* matrix, int32_t flags)
{
    if (object && matrix)
        setGlobalMatrix(*object, *matrix, (flags & SET_MATRIX_CHILDREN_STAY) != 0);
}

HostVector objectScale(const HostObject* object)
{
    return object ? scale(*object) : zero;
}

HostVector bboxCenter(HostObject* object)
{
    return object ? boundingBoxCenter(*object) : zero;
}

HostVector bboxRadius(HostObject* object)
{
    return object ? boundingBoxRadius(*object) : zero;
}

const HostPolygon* polygons(const HostObject* object)
{
    return (object && !object->polygons.empty()) ? object->polygons.data() : nullptr;
}

int32_t polygonCount(const HostObject* object)
{
    return object ? static_cast<int32_t>(object->polygons.size()) : 0;
}

float focus(const HostObject* camera)
{
    return camera ? cameraFocusDistance(*camera) : DEFAULT_FOCUS_DISTANCE;
}

float filmWidth(const HostObject* camera)
{
    return camera ? cameraFilmWidth(*camera) : DEFAULT_FILM_WIDTH;
}

} // namespace

const HostObjectOps& objectOps()
{
    static const HostObjectOps ops = {firstTag,    insertTag,  objectPosition, local,
                                      global,      setMatrix,  objectScale,    bboxCenter,
                                      bboxRadius,  polygons,   polygonCount,   focus,
                                      filmWidth};
    return ops;
}

} // namespace host
