#include "export/object_rules.h"

#include "export/tag_search.h"
#include "frame/host_api.h"
#include "frame/host_node_cache.h"
#include "frame/plugin_ids.h"
#include "tags/lumeno_generic_obj_tag_ids.h"

bool IsPrimitiveDispatchType(int32_t type) {
    return type == TYPE_LIGHT || type == TYPE_INSTANCE || type == TYPE_SPHERE || type == TYPE_PLANE;
}

bool IsExcluded(const HostObject* object) {
    HostTag* tag = FindTagOfType(object, kLumenoGenericObjTagId);
    return tag && ContainerGetBool(NodeContainer(tag), LOBJ_EXCLUDE, false);
}

HostObject* LinkedObject(const ExportContext& context, HostObject* object) {
    if (NodeType(object) != TYPE_INSTANCE) return object;
    // The host is asked for what it generated for the instance before its link is read, as the
    // application expects of a module; the answer is not used.
    static_cast<void>(NodeCache(object, 0));
    HostValue link;
    if (!NodeGetParameter(object, INSTANCE_LINK, &link) || link.type != HOST_VALUE_LINK) return nullptr;
    return NodeResolveLink(link.link, context.document, LINK_FILTER_OBJECT);
}

bool IsInMaterialList(const HostDocument* document, const HostMaterial* material) {
    // A material is in exactly the document whose list holds it, so asking the material for its
    // document answers at once where walking the list would cost its length for every tag.
    return material && document && NodeDocument(material) == document;
}

bool HasDocumentMaterial(const ExportContext& context, const HostObject* object) {
    for (HostTag* tag = ObjectFirstTag(object); tag; tag = NodeNext(tag))
        if (NodeType(tag) == TYPE_TEXTURE_TAG && IsInMaterialList(context.document, TextureTagMaterial(tag)))
            return true;
    return false;
}
