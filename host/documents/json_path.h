// JSON paths as document errors show them: objects[2].tags[0].params.LCFG_WIDTH
#pragma once

#include <cstddef>
#include <string>

namespace host::jsonpath {

/// "parent.key", or "parent[\"key\"]" when the key is not a plain word.
std::string member(const std::string& parent, const std::string& key);
/// "parent[i]"
std::string index(const std::string& parent, std::size_t i);

} // namespace host::jsonpath
