// The object tag (plug-in and type ID 10005): excludes an object from the export or turns its
// normal smoothing off.
#pragma once

#include "host_types.h"
#include "plugin_bases.h"

class LumenoGenericObjTag : public TagData {
public:
    /// Writes LOBJ_NO_NORMAL_SMOOTHING and LOBJ_EXCLUDE, both false.
    bool Init(HostNode* node) override;
};

/// The registered allocator: a new tag in host memory (as BaseData), or none.
void* AllocLumenoGenericObjTag();

/// Registers the tag: name 10005, flags 1, "Tlumenogenericobjtag", icon "lumenogenericobjtag.tif".
bool RegisterLumenoGenericObjTag();
