// A plug-in tag's Draw: the host hands the tag a surface to paint on, as the application does
// when it shows the tag (the material helper tag paints its material's preview there).
#pragma once

#include <cstdint>

#include "host/model/node.h"
#include "host/pictures/surface.h"

namespace host {

/// What a tag's Draw did.
struct DrawResult {
    bool answered = false; // the tag's answer (false for a tag without a draw operation)
    bool painted = false;  // something landed on the surface
};

/// Calls the tag's draw operation with the surface.
DrawResult drawTag(HostNode& tag, HostSurface& surface);

} // namespace host
