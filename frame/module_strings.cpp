#include "frame/module_strings.h"

#include "frame/host_api.h"
#include "frame/module_state.h"

bool LoadModuleStrings() {
    ModuleResource& resource = Module().resource;
    if (!resource.folder) {
        resource.folder = ModuleFolder();
        if (!resource.folder) return false;
    }
    // One attempt only: a missing resource stays missing until the module ends.
    if (resource.attempted) return resource.handle != nullptr;
    resource.handle = ResourceLoadStrings(resource.folder);
    resource.attempted = true;
    return resource.handle != nullptr;
}

HostString* GetModuleString(int32_t id) {
    const ModuleResource& resource = Module().resource;
    if (!resource.handle) return TextFromCString("");
    HostString* text = ResourceString(resource.handle, id);
    return text ? text : TextFromCString("");
}

void ReleaseModuleStrings() {
    ModuleResource& resource = Module().resource;
    if (!resource.borrowed) ResourceRelease(resource.handle);
    resource.handle = nullptr;
    FilenameFree(resource.folder);
    resource.folder = nullptr;
}
