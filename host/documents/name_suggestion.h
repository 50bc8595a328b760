// "Did you mean ...?" for a misspelt parameter name.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

/// The candidate closest to `name` when it differs by a few letters (case ignored), else none.
std::optional<std::string> closestName(const std::string& name, const std::vector<std::string>& candidates);

} // namespace host
