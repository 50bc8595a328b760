// The JSON tree type of document files: one that keeps the order of keys.
#pragma once

#include <nlohmann/json.hpp>

namespace host {

using JsonTree = nlohmann::ordered_json;

} // namespace host
