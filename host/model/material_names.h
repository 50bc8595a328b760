// Material names as a scene file carries them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/model/node.h"

namespace host {

/// The names that several materials of the document share once cut to the 255 bytes a scene
/// file keeps (at a character boundary), with how many share each, in list order.
std::vector<std::pair<std::string, int>> sharedMaterialNames(const HostNode& document);

} // namespace host
