#include "host/model/build.h"

#include <stdexcept>

#include "host/model/document.h"
#include "host/model/object_params.h"
#include "host_constants.h"

namespace host {

NodePtr newObject(int32_t type, std::string name)
{
    auto object = std::make_unique<HostNode>(NodeKind::Object, type, std::move(name));
    setObjectDefaults(type, object->params);
    return object;
}

NodePtr newMaterial(std::string name)
{
    return std::make_unique<HostNode>(NodeKind::Material, TYPE_MATERIAL, std::move(name));
}

NodePtr newTag(int32_t type)
{
    return std::make_unique<HostNode>(NodeKind::Tag, type);
}

HostNode* makeObject(HostNode& document, int32_t type, std::string name, HostNode* parent)
{
    return appendObject(document, newObject(type, std::move(name)), parent);
}

HostNode* makeMaterial(HostNode& document, std::string name)
{
    return appendMaterial(document, newMaterial(std::move(name)));
}

HostNode* appendTag(HostNode& object, NodePtr tag)
{
    if (!object.isObject())
        throw std::invalid_argument("tags go on objects");
    if (!tag || tag->kind() != NodeKind::Tag)
        throw std::invalid_argument("only tags go into an object's tag list");
    return object.tags().append(&object, std::move(tag));
}

HostNode* makeTag(HostNode& object, int32_t type)
{
    return appendTag(object, newTag(type));
}

HostNode* makeTextureTag(HostNode& object, const HostNode& material)
{
    HostNode* tag = makeTag(object, TYPE_TEXTURE_TAG);
    tag->params.setLink(TEXTURE_TAG_MATERIAL, &material);
    return tag;
}

HostNode* makeCameraTargetTag(HostNode& object, const HostNode& target)
{
    HostNode* tag = makeTag(object, TYPE_CAMERA_TARGET_TAG);
    tag->params.setLink(CAMERA_TARGET_LINK, &target);
    return tag;
}

HostNode* makeUvwTag(HostNode& object, std::vector<UvwPolygon> uvws)
{
    HostNode* tag = makeTag(object, TYPE_UVW_TAG);
    tag->uvws = std::move(uvws);
    return tag;
}

const HostNode* findUvwTag(const HostNode& object)
{
    for (const HostNode* tag = object.tags().first(); tag; tag = tag->next())
        if (tag->type() == TYPE_UVW_TAG)
            return tag;
    return nullptr;
}

MaterialChannel& channel(HostNode& material, int32_t id)
{
    if (!material.material)
        throw std::invalid_argument("channels belong to materials");
    return material.material->channels[id];
}

const MaterialChannel* findChannel(const HostNode& material, int32_t id)
{
    if (!material.material)
        return nullptr;
    const auto it = material.material->channels.find(id);
    return it == material.material->channels.end() ? nullptr : &it->second;
}

HostNode* findObjectByPath(const HostNode& document, const std::string& path)
{
    HostNode* level = firstObject(document);
    HostNode* found = nullptr;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = path.find('/', start);
        const std::string name = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        found = nullptr;
        for (HostNode* node = level; node; node = node->next())
            if (node->name == name) {
                found = node;
                break;
            }
        if (!found || slash == std::string::npos)
            return found;
        level = found->children().first();
        start = slash + 1;
    }
    return found;
}

HostNode* findMaterial(const HostNode& document, const std::string& name)
{
    for (HostNode* material = firstMaterial(document); material; material = material->next())
        if (material->name == name)
            return material;
    return nullptr;
}

} // namespace host
