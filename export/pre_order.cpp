#include "export/pre_order.h"

#include "frame/host_api.h"

const HostObject* NextInPreOrder(const HostObject* object, const HostObject* top) {
    if (HostObject* child = NodeFirstChild(object)) return child;
    while (object && object != top) {
        if (HostObject* next = NodeNext(object)) return next;
        object = NodeParent(object);
    }
    return nullptr;
}
