#include "export/own_exports.h"

#include <vector>

#include "export/object_rules.h"
#include "export/tag_search.h"
#include "frame/host_api.h"
#include "frame/plugin_ids.h"

namespace {

/// Moves the children of `object` (a copy) up into its place under `parent`, in order, each
/// keeping its world placement, so that `object` can go without taking them along. Answers the
/// last child moved, or `object` when none was.
HostObject* MoveChildrenUp(HostObject* object, HostObject* parent, HostDocument* meshDocument) {
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
    return predecessor;
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

HostObject* CopyWhatStays(const ExportContext& context, HostObject* original, HostDocument* meshDocument) {
    HostObject* top = NodeCopy(original, COPY_FLAGS_NO_CHILDREN);
    if (!top) return nullptr;
    DocumentInsertObject(meshDocument, top, nullptr, nullptr, 1);
    if (NodeDocument(top) != meshDocument) {
        NodeFree(top);
        return nullptr;
    }
    // Depth first without recursion, so a deep hierarchy cannot exhaust the host's stack. An
    // object that leaves alone is copied too, so that its children can be placed relative to
    // it; once its subtree is done they move up into its place and it goes.
    struct Open {
        HostObject* copy;
        HostObject* nextChild;  // of the original, still to be walked
        HostObject* lastCopy;   // the copy's last child so far
        HostObject* before;     // what the copy was inserted after
        OwnExport standing;
    };
    std::vector<Open> open{{top, NodeFirstChild(original), nullptr, nullptr, OwnExport::None}};
    while (!open.empty()) {
        Open& parent = open.back();
        if (HostObject* child = parent.nextChild) {
            parent.nextChild = NodeNext(child);
            const OwnExport standing = OwnExportOf(context, child);
            if (standing == OwnExport::WithSubtree) continue;
            HostObject* copy = NodeCopy(child, COPY_FLAGS_NO_CHILDREN);
            if (!copy) return nullptr;
            DocumentInsertObject(meshDocument, copy, parent.copy, parent.lastCopy, 0);
            if (NodeParent(copy) != parent.copy) {
                NodeFree(copy);
                return nullptr;
            }
            HostObject* before = parent.lastCopy;
            parent.lastCopy = copy;
            open.push_back({copy, NodeFirstChild(child), nullptr, before, standing});
            continue;
        }
        const Open done = parent;
        open.pop_back();
        if (done.standing != OwnExport::ObjectOnly) continue;
        Open& owner = open.back();
        HostObject* last = MoveChildrenUp(done.copy, owner.copy, meshDocument);
        owner.lastCopy = last == done.copy ? done.before : last;
        NodeFree(done.copy);
    }
    return top;
}
