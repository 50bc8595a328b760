// Editing a node's parameter as the application's attribute panel does. The panel tells the node
// that an edit begins (message 16), writes the value, and, when the value changed, tells the node
// so (message 31) before it asks for the description again; a tag that shows or hides entries by
// a value can therefore rely on 31 arriving first.
#pragma once

#include <cstdint>

#include "host/model/container.h"
#include "host/model/node.h"

namespace host {

/// Writes `value` into the node's parameter `id` between the panel's messages. Answers whether
/// the value changed (a parameter that was missing always changes).
bool editParameter(HostNode& node, int32_t id, const Value& value);

} // namespace host
