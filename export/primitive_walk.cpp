#include "export/primitive_walk.h"

#include <optional>

#include "export/finish_element.h"
#include "export/matrix_helpers.h"
#include "export/object_rules.h"
#include "export/primitives_export.h"
#include "export/walk_stack.h"
#include "export/xml_helpers.h"
#include "frame/host_api.h"
#include "frame/host_text.h"

namespace {

/// Names the object "_SKIP_k" for the next k.
void GiveSkipName(ExportContext& context, HostObject* object) {
    char name[32];
    FormatC(name, sizeof name, "_SKIP_%d", static_cast<int>(context.skipCounter));
    // Wraps instead of overflowing, should a document ever hold 2^31 shapes.
    context.skipCounter = static_cast<int32_t>(static_cast<uint32_t>(context.skipCounter) + 1u);
    HostText text = HostText::FromCString(name);
    if (!text.get()) {
        // Without its name the shape would be merged as well: the save answers no memory.
        context.meshRecords.hostFailed = true;
        return;
    }
    NodeSetName(object, text.get());
}

void ExportPrimitiveObject(ExportContext& context, HostObject* object, const HostMatrix& world, bool markingPass) {
    if (!IsPrimitiveDispatchType(NodeType(object))) return;
    HostObject* linked = LinkedObject(context, object);
    if (!linked) return;
    ElementPtr element;
    // A rectangle light is an emitter and carries no material.
    bool materialWritten = false;
    switch (NodeType(linked)) {
    case TYPE_LIGHT:
        if (markingPass) return;
        element = ExportRectangleLight(context, object, linked, world);
        materialWritten = true;
        break;
    case TYPE_SPHERE:
    case TYPE_PLANE:
        GiveSkipName(context, object);
        if (markingPass) return;
        element = NodeType(linked) == TYPE_SPHERE ? ExportSphere(context, object, linked, world)
                                                  : ExportPlane(context, object, linked, world);
        break;
    default:
        return;
    }
    if (element) FinishElement(context, std::move(element), object, linked, materialWritten, false);
}

} // namespace

void ExportPrimitiveTree(ExportContext& context, HostObject* first, const HostMatrix& parentWorld, bool markingPass) {
    // Pre-order without recursion; `above` holds the world matrices of the current object's
    // parents in the walk.
    WalkStack<HostMatrix> above;
    HostObject* current = first;
    while (current) {
        const HostMatrix world = MultiplyMatrix(above.Empty() ? parentWorld : above.Top(), ObjectLocalMatrix(current));
        ExportPrimitiveObject(context, current, world, markingPass);
        HostObject* child = NodeFirstChild(current);
        if (child && above.Push(world)) {
            current = child;
            continue;
        }
        // No memory to go deeper: what lies below is missing, and the save says so.
        if (child) context.meshRecords.hostFailed = true;
        while (current && !NodeNext(current)) {
            current = above.Empty() ? nullptr : NodeParent(current);
            if (!above.Empty()) above.Pop();
        }
        if (current) current = NodeNext(current);
    }
}
