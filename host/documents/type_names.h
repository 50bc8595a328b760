// The names that document files use for the host's object and tag types.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace host::typenames {

/// "polygon" -> 5100, "sphere" -> 5160, ...; none for an unknown name.
std::optional<int32_t> objectType(const std::string& name);
/// The name of an object type, or none when it has no name (written as its number).
std::optional<std::string> objectTypeName(int32_t type);
/// The list of names, for messages: "polygon, sphere, ..."
std::string objectTypeList();

inline constexpr const char* textureTag = "texture";
inline constexpr const char* cameraTargetTag = "camera-target";

} // namespace host::typenames
