#include "export/primitive_walk.h"

#include "export/matrix_helpers.h"
#include "export/object_rules.h"
#include "export/placed_walk.h"
#include "export/primitives_export.h"
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
    const int32_t type = NodeType(linked);
    if (type != TYPE_LIGHT && type != TYPE_SPHERE && type != TYPE_PLANE) return;
    // A sphere or plane is named so that the merge leaves it out; a rectangle light keeps its name.
    if (type != TYPE_LIGHT) GiveSkipName(context, object);
    if (markingPass) return;
    ExportLinkedPrimitive(context, object, linked, world);
}

} // namespace

void ExportPrimitiveTree(ExportContext& context, HostObject* first, const HostMatrix& parentWorld, bool markingPass) {
    WalkPlaced(context, first, parentWorld, [&](HostObject* current, const HostMatrix& world) {
        ExportPrimitiveObject(context, current, world, markingPass);
    });
}
