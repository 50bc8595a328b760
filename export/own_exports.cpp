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
        // Its own children move along and keep their places relative to it.
        ObjectSetMatrix(child, &world, SET_MATRIX_CHILDREN_FOLLOW);
        predecessor = child;
    }
}

/// Settles `childCopy` once its subtree has been walked: a child with its own mesh leaves with
/// its subtree; one that leaves alone first hands its children up to `parentCopy`.
void Settle(const ExportContext& context, HostObject* child, HostObject* childCopy, HostObject* parentCopy,
            HostDocument* meshDocument) {
    switch (OwnExportOf(context, child)) {
    case OwnExport::None:
        break;
    case OwnExport::WithSubtree:
        NodeFree(childCopy);
        break;
    case OwnExport::ObjectOnly:
        MoveChildrenUp(childCopy, parentCopy, meshDocument);
        NodeFree(childCopy);
        break;
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
    // The copy has the original's tree, so both are walked side by side, depth first and without
    // recursion, so a deep hierarchy cannot exhaust the host's stack. An object is settled once
    // its subtree has been walked; the next pair is taken before it is settled, so children
    // moved up into its place are not walked again.
    HostObject* child = NodeFirstChild(original);
    HostObject* childCopy = NodeFirstChild(copy);
    while (child && childCopy) {
        if (NodeType(child) != NodeType(childCopy)) return;
        if (OwnExportOf(context, child) != OwnExport::WithSubtree) {
            HostObject* below = NodeFirstChild(child);
            HostObject* belowCopy = NodeFirstChild(childCopy);
            if (below && belowCopy) {
                child = below;
                childCopy = belowCopy;
                continue;
            }
        }
        for (;;) {
            HostObject* next = NodeNext(child);
            HostObject* nextCopy = NodeNext(childCopy);
            HostObject* parent = NodeParent(child);
            HostObject* parentCopy = NodeParent(childCopy);
            Settle(context, child, childCopy, parentCopy, meshDocument);
            if (next && nextCopy) {
                child = next;
                childCopy = nextCopy;
                break;
            }
            if (parent == original || !parent || !parentCopy) return;
            child = parent;
            childCopy = parentCopy;
        }
    }
}
