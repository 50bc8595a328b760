#include "frame/module_state.h"

#include "frame/host_api.h"
#include "frame/host_text.h"

ModuleState& Module() {
    static ModuleState state{};
    return state;
}

HostFilename* ModuleFolder() {
#if LUMENO_HOST_RELEASE >= 95
    return FilenameFolderPart(Module().modulePathName);
#else
    if (Module().modulePath[0] == '\0') return nullptr;
    HostFile path = HostFile::FromCString(Module().modulePath);
    return FilenameFolderPart(path.get());
#endif
}
