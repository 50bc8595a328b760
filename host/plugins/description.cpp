#include "host/plugins/description.h"

#include "host_constants.h"

HostContainer* HostDescription::entry(int32_t parameterId)
{
    for (auto& [parameter, properties] : entries)
        if (parameter == parameterId)
            return &properties;
    return nullptr;
}

const HostContainer* HostDescription::entry(int32_t parameterId) const
{
    return const_cast<HostDescription*>(this)->entry(parameterId);
}

bool HostDescription::hidden(int32_t parameterId) const
{
    const HostContainer* properties = entry(parameterId);
    return properties && properties->getBool(DESC_PROPERTY_HIDE, false);
}

namespace host {

void fillDescription(HostDescription& description, int32_t pluginId,
                     const DescriptionResource& resource)
{
    description.entries.clear();
    description.entries.reserve(resource.parameters().size());
    for (const DescriptionParameter& parameter : resource.parameters()) {
        HostContainer properties;
        properties.setString(DESC_PROPERTY_LABEL, parameter.label);
        properties.setString(DESC_PROPERTY_SYMBOL, parameter.symbol);
        properties.setString(DESC_PROPERTY_TYPE, parameterTypeName(parameter.type));
        properties.setString(DESC_PROPERTY_GROUP, parameter.group);
        if (parameter.min)
            properties.setReal(DESC_PROPERTY_MIN, static_cast<float>(*parameter.min));
        if (parameter.max)
            properties.setReal(DESC_PROPERTY_MAX, static_cast<float>(*parameter.max));
        HostContainer choices;
        for (const Choice& choice : parameter.choices)
            choices.setString(choice.code, choice.label);
        properties.setContainer(DESC_PROPERTY_CYCLE, choices);
        properties.setBool(DESC_PROPERTY_HIDE, false);
        description.entries.emplace_back(parameter.id, std::move(properties));
    }
    description.id = pluginId;
    description.loaded = true;
}

} // namespace host
