#include "export/tag_search.h"

#include "frame/host_api.h"

HostTag* FindTagOfType(const HostObject* object, int32_t type) {
    for (HostTag* tag = ObjectFirstTag(object); tag; tag = NodeNext(tag))
        if (NodeType(tag) == type) return tag;
    return nullptr;
}

HostTag* FindFirstTagInTree(const HostObject* start, int32_t type) {
    // Walked without recursion, so a deep hierarchy cannot exhaust the host's stack.
    const HostObject* top = NodeParent(start);
    const HostObject* object = start;
    while (object) {
        if (HostTag* tag = FindTagOfType(object, type)) return tag;
        if (HostObject* child = NodeFirstChild(object)) {
            object = child;
            continue;
        }
        while (object && object != top) {
            if (HostObject* next = NodeNext(object)) {
                object = next;
                break;
            }
            object = NodeParent(object);
        }
        if (object == top) break;
    }
    return nullptr;
}
