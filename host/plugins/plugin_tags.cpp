#include "host/plugins/plugin_tags.h"

#include "host/model/build.h"
#include "host/plugins/host_error.h"
#include "host/plugins/registry.h"
#include "host_constants.h"

namespace host {

PluginTagAttachment::PluginTagAttachment(Registry& registry, const TagRecord& record, void* instance)
    : registry_(&registry), record_(record), instance_(instance)
{
    registry_->trackTag(this);
}

PluginTagAttachment::~PluginTagAttachment()
{
    releaseInstance();
    if (registry_)
        registry_->untrackTag(this);
}

void PluginTagAttachment::releaseInstance()
{
    void* instance = instance_;
    instance_ = nullptr;
    if (instance && record_.destroy)
        record_.destroy(instance);
}

std::unique_ptr<NodeAttachment> PluginTagAttachment::cloneFor(HostNode& copy) const
{
    if (!registry_ || !instance_ || !record_.allocate)
        return nullptr;
    void* instance = record_.allocate();
    if (!instance)
        return nullptr;
    auto attachment = std::make_unique<PluginTagAttachment>(*registry_, record_, instance);
    if (record_.init && !record_.init(instance, &copy))
        return nullptr;
    return attachment;
}

NodePtr createPluginTag(Registry& registry, int32_t pluginId)
{
    const RegisteredPlugin* plugin = registry.find(pluginId);
    if (!plugin || plugin->kind != PLUGIN_KIND_TAG)
        throw HostError("no tag plug-in is registered under ID " + std::to_string(pluginId));
    void* instance = plugin->tag.allocate();
    if (!instance)
        throw HostError("tag plug-in " + std::to_string(pluginId) + " (\"" + plugin->name +
                        "\") could not make an instance");
    NodePtr tag = newTag(pluginId);
    tag->name = plugin->name;
    tag->attachment = std::make_unique<PluginTagAttachment>(registry, plugin->tag, instance);
    if (plugin->tag.init && !plugin->tag.init(instance, tag.get()))
        throw HostError("tag plug-in " + std::to_string(pluginId) + " (\"" + plugin->name +
                        "\") refused to initialise");
    return tag;
}

HostNode* addPluginTag(Registry& registry, HostNode& object, int32_t pluginId)
{
    return appendTag(object, createPluginTag(registry, pluginId));
}

PluginTagAttachment* pluginTag(const HostNode& node)
{
    auto* tag = dynamic_cast<PluginTagAttachment*>(node.attachment.get());
    return (tag && tag->instance()) ? tag : nullptr;
}

bool sendMessage(HostNode& node, int32_t type, void* data)
{
    PluginTagAttachment* tag = pluginTag(node);
    if (!tag || !tag->record().message)
        return true;
    return tag->record().message(tag->instance(), &node, type, data);
}

DescribeResult describeTag(HostNode& tag)
{
    DescribeResult result;
    PluginTagAttachment* plugin = pluginTag(tag);
    if (!plugin || !plugin->record().describe)
        return result;
    result.answered =
        plugin->record().describe(plugin->instance(), &tag, &result.description, &result.flags);
    return result;
}

bool tagParameterEnabled(HostNode& tag, int32_t parameterId, const HostValue* data, int32_t flags,
                         const HostContainer* itemDescription)
{
    PluginTagAttachment* plugin = pluginTag(tag);
    if (!plugin || !plugin->record().is_enabled)
        return true;
    return plugin->record().is_enabled(plugin->instance(), &tag, parameterId, data, flags,
                                       itemDescription);
}

int32_t executeTag(HostNode& tag, HostNode* document, HostNode* object, int32_t priority,
                   int32_t flags)
{
    PluginTagAttachment* plugin = pluginTag(tag);
    if (!plugin || !plugin->record().execute)
        return 0;
    return plugin->record().execute(plugin->instance(), &tag, document, object, priority, flags);
}

} // namespace host
