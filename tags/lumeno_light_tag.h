// The light tag (plug-in and type ID 10004): marks an emitter and holds its emission spectrum
// and, for an area light, the size of its rectangle light.
#pragma once

#include <cstdint>

#include "host_types.h"
#include "plugin_bases.h"

class LumenoLightTag : public TagData {
public:
    /// Writes every parameter with its value at creation: the peak spectrum 300, 550, 0, 200,
    /// size 0.4 by 0.4, colour (1, 1, 1), blackbody 6500 and 0.001.
    bool Init(HostNode* node) override;
    /// 16 hides every spectrum parameter; 31 takes the spectrum type as it now stands and shows
    /// its parameters again. Always true.
    bool Message(HostNode* node, int32_t type, void* data) override;
    /// Loads description 10004 and shows only the parameters of the spectrum type last seen.
    bool Describe(HostNode* node, HostDescription* description, int32_t* flags) override;

    bool hideSpectrum = false;     // the description hides every spectrum parameter
    int32_t spectrumType = 1102;   // LLIGHT_SPECTRUM_TYPE as last seen, for the description only
};

/// The registered allocator: a new tag in host memory (as BaseData), or none.
void* AllocLumenoLightTag();

/// Registers the tag: name 10004, flags 1, "Tlumenolighttag", icon "lumenolighttag.tif".
bool RegisterLumenoLightTag();
