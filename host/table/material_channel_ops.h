// The material group's operations on channels, comparison, update, the texture file search and
// the change notification; material_ops.cpp puts them into the group.
#pragma once

#include <cstdint>

#include "host_table.h"

namespace host::material_channel {

bool channelEnabled(const HostMaterial* material, int32_t channel);
void setChannelEnabled(HostMaterial* material, int32_t channel, bool enabled);
HostChannel* channel(HostMaterial* material, int32_t channel);
HostContainer* channelData(HostChannel* channel);
HostNode* channelAttached(HostChannel* channel);
bool channelMessage(HostChannel* channel, int32_t id, void* data);
bool compare(const HostMaterial* a, const HostMaterial* b);
void update(HostMaterial* material, int32_t preview, int32_t render);
HostFilename* findTexture(const HostFilename* documentFolder, const HostFilename* name,
                          const HostFilename* suggestion);
void notifyChange(int32_t flags);

} // namespace host::material_channel
