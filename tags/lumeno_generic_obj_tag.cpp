#include "tags/lumeno_generic_obj_tag.h"

#include "frame/host_api.h"
#include "frame/host_memory.h"
#include "frame/plugin_forwarding.h"
#include "frame/plugin_ids.h"
#include "frame/plugin_registration.h"
#include "tags/lumeno_generic_obj_tag_ids.h"

bool LumenoGenericObjTag::Init(HostNode* node) {
    HostContainer* settings = NodeContainer(node);
    ContainerSetBool(settings, LOBJ_NO_NORMAL_SMOOTHING, false);
    ContainerSetBool(settings, LOBJ_EXCLUDE, false);
    return true;
}

void* AllocLumenoGenericObjTag() {
    LumenoGenericObjTag* tag = NewInHostMemory<LumenoGenericObjTag>();
    return tag ? AsInstance(tag) : nullptr;
}

bool RegisterLumenoGenericObjTag() {
    return RegisterNamed(kStringGenericObjTagName, [](const HostString* name) {
        return AddTagPlugin(kLumenoGenericObjTagId, name, 1, AllocLumenoGenericObjTag,
                            "Tlumenogenericobjtag", "lumenogenericobjtag.tif", 0);
    });
}
