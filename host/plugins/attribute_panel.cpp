#include "host/plugins/attribute_panel.h"

#include "host/plugins/description.h"
#include "host/plugins/plugin_tags.h"
#include "host/plugins/registry.h"
#include "host_constants.h"

namespace host {
namespace {

/// The label of a group symbol in the resource the description came from, else the symbol.
std::string groupLabel(const DescriptionResource* resource, const std::string& symbol)
{
    if (!resource || symbol.empty())
        return symbol;
    for (const DescriptionGroup& group : resource->groups())
        if (group.symbol == symbol)
            return group.label;
    return symbol;
}

} // namespace

AttributePanel attributePanel(HostNode& tag, const Registry& registry)
{
    AttributePanel panel;
    DescribeResult described = describeTag(tag);
    // A tag that keeps the base behaviour loads nothing itself; the application then shows the
    // description registered for its type.
    if (described.answered && !described.description.loaded)
        if (const DescriptionResource* registered = registry.description(tag.type()))
            fillDescription(described.description, tag.type(), *registered);
    panel.described = described.answered && described.description.loaded;
    panel.flags = described.flags;
    panel.description = std::move(described.description);
    if (!panel.described)
        return panel;

    const DescriptionResource* resource = registry.description(panel.description.id);
    for (auto& [id, properties] : panel.description.entries) {
        if (properties.getBool(DESC_PROPERTY_HIDE, false))
            continue;
        PanelRow row;
        row.id = id;
        row.label = properties.getString(DESC_PROPERTY_LABEL);
        row.symbol = properties.getString(DESC_PROPERTY_SYMBOL);
        row.type = properties.getString(DESC_PROPERTY_TYPE);
        row.group = groupLabel(resource, properties.getString(DESC_PROPERTY_GROUP));
        row.enabled = tagParameterEnabled(tag, id, nullptr, 0, &properties);
        if (const Value* value = tag.params.find(id))
            row.value = *value;
        if (const HostContainer* choices = properties.getContainer(DESC_PROPERTY_CYCLE))
            for (const auto& [code, label] : choices->elements)
                if (const std::string* text = std::get_if<std::string>(&label))
                    row.choices.emplace_back(code, *text);
        panel.rows.push_back(std::move(row));
    }
    return panel;
}

} // namespace host
