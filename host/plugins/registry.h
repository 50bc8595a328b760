// The plug-ins a module registered: savers (kind 25), tags (kind 10) and commands (kind 7), each
// under its ID with its name, flags, its own copy of the record (and of the icon and texts the
// record points to), plus the description resources registered under plug-in IDs.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/model/image.h"
#include "host/resources/description_resource.h"
#include "host/text/host_text.h"
#include "plugin_records.h"

namespace host {

struct RegisteredPlugin {
    int32_t id = 0;
    int32_t kind = 0;     // PLUGIN_KIND_SCENE_SAVER, PLUGIN_KIND_TAG or PLUGIN_KIND_COMMAND
    std::string name;
    int32_t flags = 0;
    std::string description; // the description resource registered under the ID, "" for none
    std::string suffix;      // savers: the file suffix
    std::string help;        // commands: the help text
    bool hasIcon = false;    // a tag or command carried a loaded icon

    // The host's copies of the records; their text and icon pointers point into this entry.
    SaverRecord saver{};
    TagRecord tag{};
    CommandRecord command{};

    const IconImage* icon() const { return iconImage_.pixels ? &*iconImage_.pixels : nullptr; }

private:
    friend class Registry;
    std::string tagDescription_;
    HostImage iconImage_;
    HostString helpText_;
    bool commandDestroyed_ = false;
};

class PluginTagAttachment;

class Registry {
public:
    Registry() = default;
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    /// Registers a plug-in from the record a module handed over (SaverRecord, TagRecord or
    /// CommandRecord by kind). Throws HostError for an unknown kind, an ID already taken, a
    /// missing record or a record without the entries its kind needs.
    const RegisteredPlugin& add(int32_t kind, int32_t id, const std::string& name, const void* record);

    const RegisteredPlugin* find(int32_t id) const;
    /// The first plug-in of a kind with that name, or nullptr.
    const RegisteredPlugin* findByName(int32_t kind, const std::string& name) const;
    /// Every plug-in, in registration order.
    std::vector<const RegisteredPlugin*> list() const;
    std::size_t size() const { return order_.size(); }

    /// Keeps a description resource under a plug-in ID (replacing an earlier one).
    void addDescription(int32_t pluginId, DescriptionResource description);
    /// The description registered under an ID, or nullptr.
    const DescriptionResource* description(int32_t pluginId) const;

    /// Plug-in tags that live in some document; they are told when the module goes away.
    void trackTag(PluginTagAttachment* tag) { liveTags_.insert(tag); }
    void untrackTag(PluginTagAttachment* tag) { liveTags_.erase(tag); }
    std::size_t liveTagCount() const { return liveTags_.size(); }

    /// Destroys the instances of every live plug-in tag (the tags stay, without instance).
    void releaseTagInstances();
    /// Destroys each command's instance through its record (once).
    void destroyCommands();

private:
    std::map<int32_t, std::unique_ptr<RegisteredPlugin>> plugins_;
    std::vector<int32_t> order_;
    std::map<int32_t, DescriptionResource> descriptions_;
    std::set<PluginTagAttachment*> liveTags_;
};

/// "saver", "tag", "command", or the number.
std::string pluginKindName(int32_t kind);

} // namespace host
