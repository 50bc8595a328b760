#include "export/own_exports.h"

#include "export/object_rules.h"
#include "export/tag_search.h"
#include "frame/host_api.h"
#include "frame/plugin_ids.h"

namespace {

/// Moves the children of `object` (a copy) up into its place under `parent`, in order, each
/// keeping its world placement, so that `object` can go without taking them along.
void MoveChildrenUp(HostObject* object, HostObject* parent, HostDocument* meshDocument) {
    HostObject* predecessor = object;
    while (HostObject* child = NodeFirstChild(object)) {
        const HostMatrix world = ObjectGlobalMatrix(child);
        NodeRemove(child);
        DocumentInsertObject(meshDocument, child, parent, predecessor, 0);
        if (NodeParent(child) != parent) {
            // The host did not take it back: it is ours, and cannot stay in the mesh.
            NodeFree(child);
            continue;
        }
        // Flag 0: its own children move along and keep their places relative to it.
        ObjectSetMatrix(child, &world, 0);
        predecessor = child;
    }
}

} // namespace

OwnExport OwnExportOf(const ExportContext& context, HostObject* object) {
    const int32_t type = NodeType(object);
    if (IsPrimitiveDispatchType(type)) {
        // Spheres and planes (also through an instance) are written as shapes; lights hold no
        // geometry, and an instance of anything else writes nothing by itself.
        HostObject* linked = LinkedObject(context, object);
        const int32_t linkedType = linked ? NodeType(linked) : 0;
        return linkedType == TYPE_SPHERE || linkedType == TYPE_PLANE ? OwnExport::ObjectOnly : OwnExport::None;
    }
    if (IsExcluded(object)) return OwnExport::ObjectOnly;
    if (HasDocumentMaterial(context, object) || FindTagOfType(object, kLumenoLightTagId))
        return OwnExport::WithSubtree;
    return OwnExport::None;
}

void LeaveOutOwnExports(const ExportContext& context, const HostObject* original, HostObject* copy,
                        HostDocument* meshDocument) {
    // The copy has the original's children in the same order, so both are walked side by side.
    HostObject* child = NodeFirstChild(original);
    HostObject* childCopy = NodeFirstChild(copy);
    while (child && childCopy && NodeType(child) == NodeType(childCopy)) {
        HostObject* next = NodeNext(child);
        HostObject* nextCopy = NodeNext(childCopy);
        switch (OwnExportOf(context, child)) {
        case OwnExport::None:
            LeaveOutOwnExports(context, child, childCopy, meshDocument);
            break;
        case OwnExport::WithSubtree:
            NodeFree(childCopy);
            break;
        case OwnExport::ObjectOnly:
            LeaveOutOwnExports(context, child, childCopy, meshDocument);
            MoveChildrenUp(childCopy, copy, meshDocument);
            NodeFree(childCopy);
            break;
        }
        child = next;
        childCopy = nextCopy;
    }
}
