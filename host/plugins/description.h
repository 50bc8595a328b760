// A tag's parameter description as the host hands it to the tag's describe operation: one entry
// per parameter, in resource order, each with a property container:
//
//   DESC_PROPERTY_LABEL  (1)  text      the label
//   DESC_PROPERTY_SYMBOL (2)  text      the symbolic name ("LCFG_WIDTH")
//   DESC_PROPERTY_TYPE   (3)  text      "BOOL", "LONG", "REAL", "VECTOR", "FILENAME", "LINK", "CHOICE"
//   DESC_PROPERTY_GROUP  (4)  text      symbol of the enclosing group, "" at the top level
//   DESC_PROPERTY_MIN    (5)  real      when the resource gives a range
//   DESC_PROPERTY_MAX    (6)  real
//   DESC_PROPERTY_CYCLE  (14) container choices: code -> label (CHOICE parameters; empty otherwise)
//   DESC_PROPERTY_HIDE   (15) bool      false when loaded; a tag's describe may set it
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "host/model/container.h"
#include "host/resources/description_resource.h"

struct HostDescription {
    int32_t id = 0;       // the plug-in ID it was loaded for; 0 until loaded
    bool loaded = false;
    std::vector<std::pair<int32_t, HostContainer>> entries;

    /// The property container of a parameter, or nullptr.
    HostContainer* entry(int32_t parameterId);
    const HostContainer* entry(int32_t parameterId) const;
    /// Whether a parameter's entry carries DESC_PROPERTY_HIDE true.
    bool hidden(int32_t parameterId) const;
};

namespace host {

constexpr int32_t DESC_PROPERTY_LABEL = 1;
constexpr int32_t DESC_PROPERTY_SYMBOL = 2;
constexpr int32_t DESC_PROPERTY_TYPE = 3;
constexpr int32_t DESC_PROPERTY_GROUP = 4;
constexpr int32_t DESC_PROPERTY_MIN = 5;
constexpr int32_t DESC_PROPERTY_MAX = 6;

/// Replaces the description's entries with those of a resource.
void fillDescription(HostDescription& description, int32_t pluginId,
                     const DescriptionResource& resource);

} // namespace host
