#include "host/plugins/tag_draw.h"

#include "host/plugins/plugin_tags.h"

namespace host {

DrawResult drawTag(HostNode& tag, HostSurface& surface)
{
    DrawResult result;
    PluginTagAttachment* plugin = pluginTag(tag);
    if (!plugin || !plugin->record().draw)
        return result;
    result.answered = plugin->record().draw(plugin->instance(), &tag, &surface);
    // Shapes left open by the tag end with its Draw.
    surface.drawing = false;
    result.painted = surfacePainted(surface);
    return result;
}

} // namespace host
