// Plug-in tags: tag nodes whose behaviour lives in the module. The host makes one as the
// application does (the registered allocator, then the record's init on the new node), calls
// its operations through the record, and destroys the instance through the record when the node
// is freed.
#pragma once

#include <cstdint>

#include "host/model/node.h"
#include "host/plugins/description.h"
#include "plugin_records.h"

namespace host {

class Registry;

/// The instance of a plug-in tag, carried by its node.
class PluginTagAttachment : public NodeAttachment {
public:
    PluginTagAttachment(Registry& registry, const TagRecord& record, void* instance);
    ~PluginTagAttachment() override;
    std::unique_ptr<NodeAttachment> cloneFor(HostNode& copy) const override;

    void* instance() const { return instance_; }
    const TagRecord& record() const { return record_; }
    /// Destroys the instance now (the module is going away); the tag stays without one.
    void releaseInstance();
    /// The registry is going away: stop reporting to it.
    void forgetRegistry() { registry_ = nullptr; }

private:
    Registry* registry_;
    TagRecord record_;
    void* instance_;
};

/// A new plug-in tag of a registered tag plug-in, on no object. Throws HostError when the ID is
/// not a registered tag, or its allocator answers nothing, or its init answers false.
NodePtr createPluginTag(Registry& registry, int32_t pluginId);
/// Makes a plug-in tag and puts it last on an object.
HostNode* addPluginTag(Registry& registry, HostNode& object, int32_t pluginId);

/// The attachment of a plug-in tag, or nullptr for any other node (or one whose module is gone).
PluginTagAttachment* pluginTag(const HostNode& node);

/// A node message: forwarded to a plug-in tag's message operation; other nodes answer true.
bool sendMessage(HostNode& node, int32_t type, void* data);

/// Asks a plug-in tag for its description; `flags` receives what the tag set.
struct DescribeResult {
    bool answered = false;   // the tag's answer
    int32_t flags = 0;
    HostDescription description;
};
DescribeResult describeTag(HostNode& tag);

/// The tag's is-enabled answer for a parameter (true for tags without the operation).
bool tagParameterEnabled(HostNode& tag, int32_t parameterId, const HostValue* data = nullptr,
                         int32_t flags = 0, const HostContainer* itemDescription = nullptr);

/// The tag's execute operation; 0 when it has none.
int32_t executeTag(HostNode& tag, HostNode* document, HostNode* object, int32_t priority,
                   int32_t flags);

} // namespace host
