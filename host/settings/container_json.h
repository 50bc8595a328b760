// Containers in JSON, as the preferences file keeps them (see preferences.h for the forms).
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "host/model/container.h"

namespace host {

nlohmann::json containerToJson(const HostContainer& container);
/// Throws HostError with `where` (a place in the file, e.g. "plugins.1019430.1000") for an ID
/// that is not a number or a value of no known form.
HostContainer containerFromJson(const nlohmann::json& json, const std::string& where);

} // namespace host
