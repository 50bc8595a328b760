#include "export/tag_search.h"

#include "export/pre_order.h"
#include "frame/host_api.h"

HostTag* FindTagOfType(const HostObject* object, int32_t type) {
    for (HostTag* tag = ObjectFirstTag(object); tag; tag = NodeNext(tag))
        if (NodeType(tag) == type) return tag;
    return nullptr;
}

HostTag* FindFirstTagInTree(const HostObject* start, int32_t type) {
    const HostObject* top = NodeParent(start);
    for (const HostObject* object = start; object; object = NextInPreOrder(object, top))
        if (HostTag* tag = FindTagOfType(object, type)) return tag;
    return nullptr;
}
