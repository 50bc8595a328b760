#include "host/settings/preferences.h"
#include "host/table/handles.h"
#include "host/table/host_table_impl.h"
#include "host/table/table_guard.h"
#include "host/text/host_text.h"
#include "host_constants.h"

namespace host {
namespace {

HostContainer* pluginSettings(int32_t pluginId)
{
    return guarded("settings.plugin_settings", static_cast<HostContainer*>(nullptr),
                   [&] { return liveSession().prefs().find(pluginId); });
}

bool storePluginSettings(int32_t pluginId, const HostContainer* settings, int32_t flags)
{
    return guarded("settings.store_plugin_settings", false, [&] {
        if (!settings)
            return false;
        liveSession().prefs().store(pluginId, *settings, (flags & SETTINGS_MERGE) != 0);
        return true;
    });
}

const HostContainer* textContainer(HostDocument* /*document*/, int32_t pluginId)
{
    return guarded("settings.text_container", static_cast<const HostContainer*>(nullptr),
                   [&] { return liveSession().textContainer(pluginId); });
}

void showText(const HostString* text)
{
    guardedVoid("settings.show_text", [&] { liveSession().showText(text ? text->utf8 : ""); });
}

HostScratch* scratchAcquire()
{
    return guarded("settings.scratch_acquire", static_cast<HostScratch*>(nullptr), [] {
        return liveSession().scratchAvailable() ? new HostScratch : nullptr;
    });
}

void scratchRelease(HostScratch* scratch)
{
    delete scratch;
}

} // namespace

const HostSettingsOps& settingsOps()
{
    static const HostSettingsOps ops = {pluginSettings, storePluginSettings, textContainer,
                                        showText,       scratchAcquire,      scratchRelease};
    return ops;
}

} // namespace host
