// Prints JSON for people: two-space indents, and lists of plain values on one line, so that a
// vector reads [0.0, 100.0, 0.0] and a list of points has one point per line.
#pragma once

#include <string>

#include "host/documents/json_tree.h"

namespace host {

/// Throws nlohmann::json::type_error for text that is not valid UTF-8.
std::string printJson(const JsonTree& tree);
/// The same onto `out`, for a value that stands `indent` spaces in (its first line is not indented).
void printJson(const JsonTree& tree, std::size_t indent, std::string& out);

} // namespace host
