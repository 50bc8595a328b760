#include "host/plugins/parameter_edit.h"

#include "host/plugins/plugin_tags.h"
#include "host_constants.h"

namespace host {

bool editParameter(HostNode& node, int32_t id, const Value& value)
{
    sendMessage(node, NODE_MSG_DESCRIPTION_EDIT_BEGIN, nullptr);
    const Value* before = node.params.find(id);
    bool changed = !before || !(*before == value);
    node.params.set(id, value);
    if (changed)
        sendMessage(node, NODE_MSG_DESCRIPTION_CHANGED, nullptr);
    return changed;
}

} // namespace host
