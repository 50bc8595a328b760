#include "host/documents/type_names.h"

#include <array>
#include <utility>

#include "host_constants.h"

namespace host::typenames {

namespace {

constexpr std::array<std::pair<const char*, int32_t>, 12> objectTypes{{
    {"polygon", TYPE_POLYGON_OBJECT},
    {"sphere", TYPE_SPHERE},
    {"plane", TYPE_PLANE},
    {"cube", TYPE_CUBE},
    {"cylinder", TYPE_CYLINDER},
    {"cone", TYPE_CONE},
    {"disc", TYPE_DISC},
    {"torus", TYPE_TORUS},
    {"light", TYPE_LIGHT},
    {"camera", TYPE_CAMERA},
    {"instance", TYPE_INSTANCE},
    {"null", TYPE_NULL},
}};

} // namespace

std::optional<int32_t> objectType(const std::string& name) {
    for (const auto& [typeName, id] : objectTypes)
        if (name == typeName) return id;
    return std::nullopt;
}

std::optional<std::string> objectTypeName(int32_t type) {
    for (const auto& [typeName, id] : objectTypes)
        if (type == id) return std::string(typeName);
    return std::nullopt;
}

std::string objectTypeList() {
    std::string list;
    for (const auto& entry : objectTypes) {
        if (!list.empty()) list += ", ";
        list += entry.first;
    }
    return list;
}

} // namespace host::typenames
