// Reads JSON text into a tree that keeps the order of keys, refusing what a person would not mean:
// syntax errors (reported with line and column) and a key given twice in one object.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace host {

using JsonTree = nlohmann::ordered_json;

/// Deeper nesting is refused: it would only come from a broken or hostile file, and the readers
/// after this one walk the tree recursively.
constexpr std::size_t maxJsonDepth = 2000;

/// Parses `text`; `file` names the source in errors. Throws DocumentError.
JsonTree parseJsonTree(const std::string& text, const std::string& file);

} // namespace host
