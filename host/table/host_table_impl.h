// The function table the host hands to c4d_main, one group of C functions per file of this
// folder. The functions reach the live session through Session::current(); none lets an
// exception through (see table_guard.h).
#pragma once

#include <cstdint>

#include "host_table.h"

namespace host {

const HostMemoryOps& memoryOps();
const HostTextOps& textOps();
const HostFilenameOps& filenameOps();
const HostResourceOps& resourceOps();
const HostRegistryOps& registryOps();
const HostSettingsOps& settingsOps();
const HostNodeOps& nodeOps();
const HostObjectOps& objectOps();
const HostDocumentOps& documentOps();
const HostContainerOps& containerOps();
const HostMaterialOps& materialOps();
const HostImageOps& imageOps();
const HostSurfaceOps& surfaceOps();

/// The table with every group, reporting `version` as its interface version.
HostTable makeHostTable(int32_t version);

} // namespace host
