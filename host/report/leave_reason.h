// Why an object left nothing in the scene, read from its own facts: its type, its tags, its
// kind of light, its link, its polygons.
#pragma once

#include <string>

#include "host/model/node.h"

namespace host {

struct LeaveReason {
    std::string code;
    std::string text;
};

LeaveReason leaveReason(const HostNode& object, const HostNode& document);

} // namespace host
