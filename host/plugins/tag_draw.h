// Drawing a plug-in tag as the application does when it shows the tag (its Draw operation on a
// drawing surface).
#pragma once

#include "host/model/node.h"

namespace host {

/// The tag's draw operation on `surface` (which may be null: no surface to paint on); false for
/// tags without one.
bool drawTag(HostNode& tag, HostSurface* surface);

} // namespace host
