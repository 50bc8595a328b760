#include "frame/host_api_materials.h"

#include "frame/host_call.h"

using host_call::Call;
using host_call::CallVoid;

bool MaterialChannelEnabled(const HostMaterial* material, int32_t channel) {
    return material && Call(&HostTable::material, &HostMaterialOps::channel_enabled, false, material, channel);
}
void MaterialSetChannelEnabled(HostMaterial* material, int32_t channel, bool enabled) {
    if (material) CallVoid(&HostTable::material, &HostMaterialOps::set_channel_enabled, material, channel, enabled);
}
HostChannel* MaterialGetChannel(HostMaterial* material, int32_t channel) {
    return material ? Call(&HostTable::material, &HostMaterialOps::channel, nullptr, material, channel) : nullptr;
}
HostContainer* ChannelData(HostChannel* channel) {
    return channel ? Call(&HostTable::material, &HostMaterialOps::channel_data, nullptr, channel) : nullptr;
}
HostNode* ChannelAttached(HostChannel* channel) {
    return channel ? Call(&HostTable::material, &HostMaterialOps::channel_attached, nullptr, channel) : nullptr;
}
bool ChannelMessage(HostChannel* channel, int32_t id, void* data) {
    return channel && Call(&HostTable::material, &HostMaterialOps::channel_message, false, channel, id, data);
}
bool MaterialCompare(const HostMaterial* a, const HostMaterial* b) {
    return a && b && Call(&HostTable::material, &HostMaterialOps::compare, false, a, b);
}
void MaterialUpdate(HostMaterial* material, int32_t preview, int32_t render) {
    if (material) CallVoid(&HostTable::material, &HostMaterialOps::update, material, preview, render);
}
HostFilename* MaterialFindTexture(const HostFilename* documentFolder, const HostFilename* name,
                                  const HostFilename* suggestion) {
    return Call(&HostTable::material, &HostMaterialOps::find_texture, nullptr, documentFolder, name, suggestion);
}
void NotifyChange(int32_t flags) { CallVoid(&HostTable::material, &HostMaterialOps::notify_change, flags); }

HostContainer* ContainerGetContainer(HostContainer* container, int32_t id) {
    return container ? Call(&HostTable::container, &HostContainerOps::get_container, nullptr, container, id) : nullptr;
}
