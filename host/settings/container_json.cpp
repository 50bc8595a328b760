#include "host/settings/container_json.h"

#include <charconv>
#include <cmath>

#include "host/plugins/host_error.h"

namespace host {
namespace {

/// A real as the shortest decimal that reads back as the same 32-bit value, so 0.01 is kept
/// as 0.01 rather than its widened binary value.
nlohmann::json realToJson(float value)
{
    if (!std::isfinite(value))
        return 0.0;
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::stod(std::string(text, result.ptr));
}

nlohmann::json valueToJson(const Value& value)
{
    return std::visit(
        [](const auto& v) -> nlohmann::json {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, int32_t> ||
                          std::is_same_v<T, std::string>)
                return v;
            else if constexpr (std::is_same_v<T, float>)
                return realToJson(v);
            else if constexpr (std::is_same_v<T, HostVector>)
                return nlohmann::json::array({realToJson(v.x), realToJson(v.y), realToJson(v.z)});
            else if constexpr (std::is_same_v<T, FileValue>)
                return {{"file", v.path}};
            else if constexpr (std::is_same_v<T, LinkValue>)
                return {{"link", v.token}};
            else
                return {{"container", containerToJson(v.get())}};
        },
        value);
}

[[noreturn]] void refuse(const std::string& where, const std::string& problem)
{
    throw HostError(where + ": " + problem);
}

/// A number as a 32-bit real; one beyond its range (1e300) is refused rather than turned into
/// infinity, which the file cannot hold.
float realFromJson(const nlohmann::json& json, const std::string& where)
{
    if (!json.is_number())
        refuse(where, "expected a number");
    const float value = json.get<float>();
    if (!std::isfinite(value))
        refuse(where, "the number " + json.dump() + " does not fit a 32-bit real (at most 3.4e38 in size)");
    return value;
}

Value valueFromJson(const nlohmann::json& json, const std::string& where)
{
    if (json.is_boolean())
        return json.get<bool>();
    if (json.is_number_integer()) {
        const auto n = json.get<int64_t>();
        if (n < INT32_MIN || n > INT32_MAX)
            refuse(where, "integer out of range");
        return static_cast<int32_t>(n);
    }
    if (json.is_number_float())
        return realFromJson(json, where);
    if (json.is_string())
        return json.get<std::string>();
    if (json.is_array()) {
        if (json.size() != 3)
            refuse(where, "a vector needs three numbers");
        return HostVector{realFromJson(json[0], where + "[0]"), realFromJson(json[1], where + "[1]"),
                          realFromJson(json[2], where + "[2]")};
    }
    if (json.is_object() && json.size() == 1) {
        if (json.contains("file") && json["file"].is_string())
            return FileValue{json["file"].get<std::string>()};
        if (json.contains("link") && json["link"].is_number_unsigned())
            return LinkValue{json["link"].get<uint64_t>()};
        if (json.contains("container"))
            return SubContainer(containerFromJson(json["container"], where + ".container"));
    }
    refuse(where, "a value of no known form");
}

} // namespace

nlohmann::json containerToJson(const HostContainer& container)
{
    nlohmann::json json = nlohmann::json::object();
    for (const auto& [id, value] : container.elements)
        json[std::to_string(id)] = valueToJson(value);
    return json;
}

HostContainer containerFromJson(const nlohmann::json& json, const std::string& where)
{
    if (!json.is_object())
        refuse(where, "expected an object of elements");
    HostContainer container;
    for (const auto& [key, value] : json.items()) {
        int32_t id = 0;
        const auto result = std::from_chars(key.data(), key.data() + key.size(), id);
        if (result.ec != std::errc() || result.ptr != key.data() + key.size())
            refuse(where + "." + key, "an element ID must be a number");
        container.set(id, valueFromJson(value, where + "." + key));
    }
    return container;
}

} // namespace host
