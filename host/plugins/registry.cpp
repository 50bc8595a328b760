#include "host/plugins/registry.h"

#include "host/plugins/host_error.h"
#include "host/plugins/plugin_tags.h"
#include "host_constants.h"

namespace host {
namespace {

[[noreturn]] void refuse(int32_t id, const std::string& name, const std::string& problem)
{
    throw HostError("plug-in " + std::to_string(id) + (name.empty() ? "" : " \"" + name + "\"") +
                    ": " + problem);
}

} // namespace

std::string pluginKindName(int32_t kind)
{
    switch (kind) {
    case PLUGIN_KIND_SCENE_SAVER: return "saver";
    case PLUGIN_KIND_TAG: return "tag";
    case PLUGIN_KIND_COMMAND: return "command";
    default: return std::to_string(kind);
    }
}

Registry::~Registry()
{
    // Tags that outlive the registry keep their instances but must not report back here.
    for (PluginTagAttachment* tag : liveTags_)
        tag->forgetRegistry();
}

const RegisteredPlugin& Registry::add(int32_t kind, int32_t id, const std::string& name,
                                      const void* record)
{
    if (!record)
        refuse(id, name, "no registration record");
    if (const auto it = plugins_.find(id); it != plugins_.end())
        refuse(id, name, "the ID is already taken by \"" + it->second->name + "\"");

    auto entry = std::make_unique<RegisteredPlugin>();
    entry->id = id;
    entry->kind = kind;
    entry->name = name;
    if (const auto it = descriptions_.find(id); it != descriptions_.end())
        entry->description = it->second.name();

    // The module may release what its record points to once registration returns, so the
    // entry keeps its own copies and the record is pointed at them.
    auto keepIcon = [&entry](HostImage* icon) -> HostImage* {
        if (!icon || !icon->pixels)
            return nullptr;
        entry->iconImage_.pixels = icon->pixels;
        entry->hasIcon = true;
        return &entry->iconImage_;
    };

    switch (kind) {
    case PLUGIN_KIND_SCENE_SAVER: {
        SaverRecord r = *static_cast<const SaverRecord*>(record);
        if (!r.allocate || !r.save)
            refuse(id, name, "a saver needs an allocator and a save entry");
        entry->flags = r.flags;
        entry->suffix = r.suffix ? r.suffix : "";
        r.suffix = entry->suffix.c_str();
        entry->saver = r;
        break;
    }
    case PLUGIN_KIND_TAG: {
        TagRecord r = *static_cast<const TagRecord*>(record);
        if (!r.allocate)
            refuse(id, name, "a tag needs an allocator");
        entry->flags = r.flags;
        entry->tagDescription_ = r.description ? r.description : "";
        r.description = entry->tagDescription_.c_str();
        if (entry->description.empty())
            entry->description = entry->tagDescription_;
        r.icon = keepIcon(r.icon);
        entry->tag = r;
        break;
    }
    case PLUGIN_KIND_COMMAND: {
        CommandRecord r = *static_cast<const CommandRecord*>(record);
        if (!r.instance)
            refuse(id, name, "a command needs its instance");
        entry->flags = r.flags;
        entry->help = r.help ? r.help->utf8 : "";
        entry->helpText_.utf8 = entry->help;
        r.help = &entry->helpText_;
        r.icon = keepIcon(r.icon);
        entry->command = r;
        break;
    }
    default:
        refuse(id, name, "unknown plug-in kind " + std::to_string(kind));
    }

    order_.push_back(id);
    return *plugins_.emplace(id, std::move(entry)).first->second;
}

const RegisteredPlugin* Registry::find(int32_t id) const
{
    const auto it = plugins_.find(id);
    return it == plugins_.end() ? nullptr : it->second.get();
}

const RegisteredPlugin* Registry::findByName(int32_t kind, const std::string& name) const
{
    for (int32_t id : order_) {
        const RegisteredPlugin& plugin = *plugins_.at(id);
        if (plugin.kind == kind && plugin.name == name)
            return &plugin;
    }
    return nullptr;
}

std::vector<const RegisteredPlugin*> Registry::list() const
{
    std::vector<const RegisteredPlugin*> all;
    all.reserve(order_.size());
    for (int32_t id : order_)
        all.push_back(plugins_.at(id).get());
    return all;
}

void Registry::addDescription(int32_t pluginId, DescriptionResource description)
{
    if (const auto it = plugins_.find(pluginId); it != plugins_.end())
        it->second->description = description.name();
    descriptions_.insert_or_assign(pluginId, std::move(description));
}

const DescriptionResource* Registry::description(int32_t pluginId) const
{
    const auto it = descriptions_.find(pluginId);
    return it == descriptions_.end() ? nullptr : &it->second;
}

void Registry::releaseTagInstances()
{
    // Releasing calls into the module, which may free further tags; work on a snapshot.
    const std::vector<PluginTagAttachment*> live(liveTags_.begin(), liveTags_.end());
    for (PluginTagAttachment* tag : live)
        if (liveTags_.count(tag))
            tag->releaseInstance();
}

void Registry::destroyCommands()
{
    for (int32_t id : order_) {
        RegisteredPlugin& plugin = *plugins_.at(id);
        if (plugin.kind != PLUGIN_KIND_COMMAND || plugin.commandDestroyed_)
            continue;
        plugin.commandDestroyed_ = true;
        if (plugin.command.destroy)
            plugin.command.destroy(plugin.command.instance);
    }
}

} // namespace host
