#include "host/table/material_channel_ops.h"

#include "host/files/texture_search.h"
#include "host/model/material.h"
#include "host/table/handle_factory.h"
#include "host/table/host_events.h"
#include "host/table/table_guard.h"

namespace host::material_channel {
namespace {

// A channel handle is the address of the material's channel record: lent, and valid as long as
// the material lives (channels are made on first use and never taken away).
MaterialChannel* record(HostChannel* channel)
{
    return reinterpret_cast<MaterialChannel*>(channel);
}

} // namespace

bool channelEnabled(const HostMaterial* material, int32_t number)
{
    const MaterialChannel* found = material ? findMaterialChannel(*material, number) : nullptr;
    return found && found->enabled;
}

void setChannelEnabled(HostMaterial* material, int32_t number, bool enabled)
{
    guardedVoid("material.set_channel_enabled", [&] {
        if (MaterialChannel* found = material ? materialChannel(*material, number) : nullptr)
            found->enabled = enabled;
    });
}

HostChannel* channel(HostMaterial* material, int32_t number)
{
    return guarded("material.channel", static_cast<HostChannel*>(nullptr), [&] {
        MaterialChannel* found = material ? materialChannel(*material, number) : nullptr;
        return reinterpret_cast<HostChannel*>(found);
    });
}

HostContainer* channelData(HostChannel* channel)
{
    MaterialChannel* found = record(channel);
    return found ? &found->data : nullptr;
}

HostNode* channelAttached(HostChannel* /*channel*/)
{
    // Channels of this host carry their texture as a file name in their data, never a shader.
    return nullptr;
}

bool channelMessage(HostChannel* channel, int32_t /*id*/, void* /*data*/)
{
    if (!channel)
        return false;
    ++hostEvents().channelMessages;
    return true;
}

bool compare(const HostMaterial* a, const HostMaterial* b)
{
    return a && b && materialsEqual(*a, *b);
}

void update(HostMaterial* material, int32_t /*preview*/, int32_t /*render*/)
{
    if (material && material->material)
        ++hostEvents().materialUpdates;
}

HostFilename* findTexture(const HostFilename* documentFolder, const HostFilename* name,
                          const HostFilename* /*suggestion*/)
{
    return guarded("material.find_texture", static_cast<HostFilename*>(nullptr), [&] {
        return newFilename(findTextureFile(documentFolder ? documentFolder->path : "",
                                           name ? name->path : ""));
    });
}

void notifyChange(int32_t /*flags*/)
{
    ++hostEvents().changeNotifications;
}

} // namespace host::material_channel
