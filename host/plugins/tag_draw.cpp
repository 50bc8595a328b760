#include "host/plugins/tag_draw.h"

#include "host/plugins/plugin_tags.h"

namespace host {

bool drawTag(HostNode& tag, HostSurface* surface)
{
    PluginTagAttachment* plugin = pluginTag(tag);
    if (!plugin || !plugin->record().draw)
        return false;
    return plugin->record().draw(plugin->instance(), &tag, surface);
}

} // namespace host
