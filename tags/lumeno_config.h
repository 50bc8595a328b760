// The render-settings tag (plug-in and type ID 10000): the document's scene-wide renderer
// settings, held in the tag's parameter container.
#pragma once

#include <cstdint>

#include "host_types.h"
#include "plugin_bases.h"

class LumenoConfig : public TagData {
public:
    /// Writes every parameter with its value at creation.
    bool Init(HostNode* node) override;
    /// 16 hides the environment map; 31 refreshes the map type and shows it again. Always true.
    bool Message(HostNode* node, int32_t type, void* data) override;
    /// Loads description 10000 and shows the environment-map entries that apply.
    bool Describe(HostNode* node, HostDescription* description, int32_t* flags) override;
    /// The post scale (1024) is enabled only for reinhard tone mapping.
    bool IsEnabled(HostNode* node, int32_t id, const HostValue* data, int32_t flags,
                   const HostContainer* itemDescription) override;

    bool hideEnvironment = false; // the description hides every environment-map parameter
    int32_t envMapType = 2002;    // LCFG_ENV_MAP_TYPE as last seen, for the description only
};

/// The registered allocator: a new tag in host memory (as BaseData), or none.
void* AllocLumenoConfig();

/// Registers the tag: name 10000, flags 1, "Tlumenoconfig", icon "lumenoconfig.tif".
bool RegisterLumenoConfig();
