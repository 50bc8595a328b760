// The module-wide state: set at initialise and start, read by everything afterwards. The
// module creates no threads; the host calls in on its own thread only.
#pragma once

#include <cstdint>

#include "host_types.h"

#ifndef LUMENO_HOST_RELEASE
#error "LUMENO_HOST_RELEASE must be 90 or 95"
#endif

/// Bytes of the module path buffer: a path of at most 1031 characters.
constexpr int32_t kModulePathSize = 1032;

/// The module's string resource.
struct ModuleResource {
    HostResource* handle;  // the loaded string tables; none until loaded
    bool attempted;        // a load has been attempted, successful or not
    bool borrowed;         // the handle belongs to somebody else; always false here
    HostFilename* folder;  // the folder the strings are loaded from, made on demand
};

struct ModuleState {
    int32_t startCount;  // initialise calls minus end calls
    char modulePath[kModulePathSize];
#if LUMENO_HOST_RELEASE >= 95
    HostFilename* modulePathName;  // the 9.5 host keeps the path as a host file name
#endif
    ModuleResource resource;
};

/// The one module state.
ModuleState& Module();

/// The module folder (the folder part of the module path) as a new host file name, or none
/// before a successful initialise.
HostFilename* ModuleFolder();
