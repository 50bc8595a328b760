// The walk both strategies' element passes share: depth first, parent before children, each
// object handed its world matrix. Without recursion, so that a deep hierarchy cannot exhaust the
// host's stack; the world matrices of the current object's parents are kept in host memory.
#pragma once

#include "export/export_context.h"
#include "export/matrix_helpers.h"
#include "export/walk_stack.h"
#include "frame/host_api.h"

/// Visits `first`, its siblings and everything below them as `visit(object, world)`, where
/// `world` is `parentWorld` times the local matrices down to the object. When the host has no
/// memory to go deeper, what lies below is missing and the save is marked as failed.
template <typename Visit>
void WalkPlaced(ExportContext& context, HostObject* first, const HostMatrix& parentWorld, Visit&& visit) {
    WalkStack<HostMatrix> above;
    HostObject* current = first;
    while (current) {
        const HostMatrix world = MultiplyMatrix(above.Empty() ? parentWorld : above.Top(), ObjectLocalMatrix(current));
        visit(current, world);
        // Children are walked in every case, also below objects that wrote nothing.
        HostObject* child = NodeFirstChild(current);
        if (child && above.Push(world)) {
            current = child;
            continue;
        }
        if (child) context.meshRecords.hostFailed = true;
        while (current && !NodeNext(current)) {
            current = above.Empty() ? nullptr : NodeParent(current);
            if (!above.Empty()) above.Pop();
        }
        if (current) current = NodeNext(current);
    }
}
