// Prints JSON for people: two-space indents, and lists of plain values on one line, so that a
// vector reads [0.0, 100.0, 0.0] and a list of points has one point per line.
#pragma once

#include <string>

#include "host/documents/json_tree.h"

namespace host {

/// Throws nlohmann::json::type_error for text that is not valid UTF-8.
std::string printJson(const JsonTree& tree);

} // namespace host
