#include "host/model/material.h"

namespace host {
namespace {

const MaterialChannel& offChannel()
{
    static const MaterialChannel off;
    return off;
}

bool sameChannel(const MaterialChannel& a, const MaterialChannel& b)
{
    return a.enabled == b.enabled && a.data == b.data;
}

/// Every channel of `a` has its equal in `b` (or is off and empty where `b` lacks it).
bool channelsCovered(const MaterialData& a, const HostNode& b)
{
    for (const auto& [number, channel] : a.channels) {
        const MaterialChannel* other = findMaterialChannel(b, number);
        if (!sameChannel(channel, other ? *other : offChannel()))
            return false;
    }
    return true;
}

} // namespace

MaterialChannel* materialChannel(HostNode& material, int32_t number)
{
    if (!material.material || number < 0)
        return nullptr;
    return &material.material->channels[number];
}

const MaterialChannel* findMaterialChannel(const HostNode& material, int32_t number)
{
    if (!material.material)
        return nullptr;
    auto found = material.material->channels.find(number);
    return found == material.material->channels.end() ? nullptr : &found->second;
}

bool materialsEqual(const HostNode& a, const HostNode& b)
{
    if (&a == &b)
        return true;
    if (!a.material || !b.material)
        return false;
    if (!(a.params == b.params))
        return false;
    return channelsCovered(*a.material, b) && channelsCovered(*b.material, a);
}

} // namespace host
