#include "export/polygonize.h"

#include "export/pre_order.h"
#include "frame/host_api.h"

namespace {

/// Replaces `object`, a top-level object of `document`, by its current state. Answers false when
/// the command gives nothing or its result cannot be put in the object's place.
bool ReplaceByCurrentState(HostDocument* document, HostObject* object, const HostContainer* options) {
    HostObject* state = DocumentModelingCommand(MODELING_CURRENT_STATE_TO_OBJECT, document, object,
                                                MODELING_MODE_POLYGONS, options);
    if (!state) return false;
    DocumentInsertObject(document, state, nullptr, object, 0);
    if (NodeDocument(state) != document) {
        // Not taken into the document: it is still ours.
        NodeFree(state);
        return false;
    }
    NodeFree(object);
    return true;
}

/// Whether the object and everything below it are polygon objects already: its current state
/// would be a copy of it, so it is kept as it is.
bool IsPolygonTree(const HostObject* object) {
    const HostObject* top = NodeParent(object);
    for (const HostObject* node = object; node; node = NextInPreOrder(node, top)) {
        // Only the object's own subtree, not the siblings after it.
        if (node != object && NodeParent(node) == top) break;
        if (NodeType(node) != TYPE_POLYGON_OBJECT) return false;
    }
    return true;
}

} // namespace

bool PolygonizeInPlace(HostDocument* document, bool option) {
    HostContainer* options = ContainerCreate();
    bool replaced = options != nullptr;
    if (options) ContainerSetBool(options, MODELING_OPTION_INHERIT, option);
    for (HostObject* object = DocumentFirstObject(document); object && replaced;) {
        // Taken before the object goes.
        HostObject* next = NodeNext(object);
        if (!IsPolygonTree(object)) replaced = ReplaceByCurrentState(document, object, options);
        object = next;
    }
    ContainerFree(options);
    return replaced;
}

HostDocument* Polygonize(HostDocument* document, bool option) {
    HostDocument* result = DocumentCopy(document);
    if (!result) return nullptr;
    if (!PolygonizeInPlace(result, option)) {
        DocumentFree(result);
        return nullptr;
    }
    return result;
}

int64_t CountTriangles(const HostObject* first) {
    int64_t triangles = 0;
    const HostObject* top = first ? NodeParent(first) : nullptr;
    for (const HostObject* object = first; object; object = NextInPreOrder(object, top)) {
        if (NodeType(object) != TYPE_POLYGON_OBJECT) continue;
        const HostPolygon* polygons = ObjectPolygons(object);
        const int32_t count = polygons ? ObjectPolygonCount(object) : 0;
        triangles += count;
        // A quad counts as two triangles.
        for (int32_t i = 0; i < count; ++i)
            if (polygons[i].c != polygons[i].d) ++triangles;
    }
    return triangles;
}
