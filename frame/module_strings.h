// The module's string resource: the string tables of the module folder, loaded by module
// message 1 and released at the last end.
#pragma once

#include <cstdint>

#include "host_types.h"

/// Loads the string resource once; answers whether it is available.
bool LoadModuleStrings();
/// The text of a string ID as a new host text: the host's empty text when the resource is not
/// loaded or lacks the ID.
HostString* GetModuleString(int32_t id);
/// Gives the handle back to the host (unless borrowed) and frees the folder.
void ReleaseModuleStrings();
