// What the application's attribute panel shows for a tag: the tag describes itself (its
// description resource, with the entries it hides), and the panel lists every entry that is not
// hidden, in description order, asking the tag whether each is enabled.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/model/container.h"
#include "host/model/node.h"
#include "host/plugins/description.h"

namespace host {

class Registry;

struct PanelRow {
    int32_t id = 0;
    std::string label;
    std::string symbol;
    std::string type;           // "BOOL", "LONG", "REAL", "VECTOR", "FILENAME", "LINK", "CHOICE"
    std::string group;          // the label of the enclosing group, "" at the top level
    bool enabled = true;        // the tag's is-enabled answer
    std::optional<Value> value; // none when the tag's container lacks the parameter
    std::vector<std::pair<int32_t, std::string>> choices; // CHOICE: code and label (property 14)
};

struct AttributePanel {
    bool described = false; // the tag answered its describe operation with true
    int32_t flags = 0;      // the flags the tag set
    HostDescription description;
    std::vector<PanelRow> rows;
};

/// The panel of a tag: describe, leave out the hidden entries, ask is-enabled for the others.
/// `described` is false (and no row is listed) for a tag that has no description or refuses it.
AttributePanel attributePanel(HostNode& tag, const Registry& registry);

} // namespace host
