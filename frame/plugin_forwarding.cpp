#include "frame/plugin_forwarding.h"

#include <new>

#include "host_constants.h"

namespace {

template <class T>
T* As(void* instance) {
    return static_cast<T*>(static_cast<BaseData*>(instance));
}

} // namespace

// No exception may reach the host: the only one the module's libraries raise is running out of
// memory, which each entry answers as its failure result.

void ForwardDestroy(void* instance) {
    if (instance) As<BaseData>(instance)->Destroy(true);
}

bool ForwardInit(void* instance, HostNode* node) {
    if (!instance) return false;
    try {
        return As<NodeData>(instance)->Init(node);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool ForwardTagMessage(void* instance, HostNode* node, int32_t type, void* data) {
    if (!instance) return false;
    try {
        return As<TagData>(instance)->Message(node, type, data);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool ForwardTagDescribe(void* instance, HostNode* node, HostDescription* description,
                        int32_t* flags) {
    if (!instance) return false;
    try {
        return As<TagData>(instance)->Describe(node, description, flags);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool ForwardTagIsEnabled(void* instance, HostNode* node, int32_t parameterId, const HostValue* data,
                         int32_t flags, const HostContainer* itemDescription) {
    if (!instance) return true;
    try {
        return As<TagData>(instance)->IsEnabled(node, parameterId, data, flags, itemDescription);
    } catch (const std::bad_alloc&) {
        return true;
    }
}

int32_t ForwardTagExecute(void* instance, HostTag* tag, HostDocument* document, HostObject* object,
                          int32_t priority, int32_t flags) {
    if (!instance) return 0;
    try {
        return As<TagData>(instance)->Execute(tag, document, object, priority, flags);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

bool ForwardTagDraw(void* instance, HostTag* tag, HostSurface* surface) {
    if (!instance) return false;
    try {
        return As<TagData>(instance)->Draw(tag, surface);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

int32_t ForwardSaverSave(void* instance, HostNode* node, const HostFilename* file,
                         HostDocument* document, int32_t flags) {
    if (!instance) return FILE_RESULT_OUT_OF_MEMORY;
    try {
        return As<SceneSaverData>(instance)->Save(node, file, document, flags);
    } catch (const std::bad_alloc&) {
        return FILE_RESULT_OUT_OF_MEMORY;
    }
}

bool ForwardCommandExecute(void* instance, HostDocument* document) {
    if (!instance) return false;
    try {
        return As<CommandData>(instance)->Execute(document);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

int32_t ForwardCommandState(void* instance, HostDocument* document) {
    if (!instance) return COMMAND_STATE_DISABLED;
    try {
        return As<CommandData>(instance)->GetState(document);
    } catch (const std::bad_alloc&) {
        return COMMAND_STATE_DISABLED;
    }
}

bool ForwardCommandRestoreLayout(void* instance, void* data) {
    return instance ? As<CommandData>(instance)->RestoreLayout(data) : false;
}

HostString* ForwardCommandScriptName(void* instance) {
    return instance ? As<CommandData>(instance)->GetScriptName() : nullptr;
}

void ForwardCommandReserved(void* instance) {
    if (instance) As<CommandData>(instance)->Reserved();
}
