#include "host/model/links.h"
#include "host/model/node.h"
#include "host/table/material_channel_ops.h"
#include "host/table/host_table_impl.h"
#include "host/table/table_guard.h"
#include "host_constants.h"

namespace host {
namespace {

HostMaterial* textureMaterial(const HostTag* tag)
{
    if (!tag || tag->type() != TYPE_TEXTURE_TAG)
        return nullptr;
    return resolveLink(tag->params.getLinkToken(TEXTURE_TAG_MATERIAL), tag->document(), TYPE_MATERIAL);
}

void setTextureMaterial(HostTag* tag, const HostMaterial* material)
{
    guardedVoid("material.set_texture_material", [&] {
        if (tag && tag->type() == TYPE_TEXTURE_TAG)
            tag->params.setLink(TEXTURE_TAG_MATERIAL, material);
    });
}

} // namespace

const HostMaterialOps& materialOps()
{
    namespace mc = material_channel;
    static const HostMaterialOps ops = {textureMaterial,   setTextureMaterial, mc::channelEnabled,
                                        mc::setChannelEnabled, mc::channel,    mc::channelData,
                                        mc::channelAttached, mc::channelMessage, mc::compare,
                                        mc::update,        mc::findTexture,    mc::notifyChange};
    return ops;
}

} // namespace host
