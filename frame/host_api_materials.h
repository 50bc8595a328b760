// Forwarding functions of the host's material group beyond the texture tags (host_api.h):
// channels, comparison, update, the texture file search and the change notification. Neutral
// answers as in host_api.h.
#pragma once

#include <cstdint>

#include "host_table.h"

bool MaterialChannelEnabled(const HostMaterial* material, int32_t channel);
void MaterialSetChannelEnabled(HostMaterial* material, int32_t channel, bool enabled);
/// The channel object, lent by the material, or none.
HostChannel* MaterialGetChannel(HostMaterial* material, int32_t channel);
/// The channel's data container (lent), or none.
HostContainer* ChannelData(HostChannel* channel);
/// The object attached to the channel (lent), or none.
HostNode* ChannelAttached(HostChannel* channel);
bool ChannelMessage(HostChannel* channel, int32_t id, void* data);
/// The host's comparison: equal channels and parameters, names aside.
bool MaterialCompare(const HostMaterial* a, const HostMaterial* b);
void MaterialUpdate(HostMaterial* material, int32_t preview, int32_t render);
/// The texture file search (a new file name, or none).
HostFilename* MaterialFindTexture(const HostFilename* documentFolder, const HostFilename* name,
                                  const HostFilename* suggestion);
void NotifyChange(int32_t flags);

// Sub-containers (a description entry's choice list)
/// The sub-container of an ID, lent by the container, or none.
HostContainer* ContainerGetContainer(HostContainer* container, int32_t id);
