#include "host/report/leave_reason.h"

#include "host/documents/type_names.h"
#include "host/model/document.h"
#include "host/model/links.h"
#include "host/model/object_params.h"
#include "host_constants.h"

namespace host {
namespace {

// The module's tags as the host knows them, by plug-in ID and parameter.
constexpr int32_t objectTagId = 10005, objectTagExclude = 1001;
constexpr int32_t lightTagId = 10004;

const HostNode* tagOfType(const HostNode& object, int32_t type) {
    for (const HostNode* tag = object.tags().first(); tag; tag = tag->next())
        if (tag->type() == type) return tag;
    return nullptr;
}

bool excluded(const HostNode& object) {
    const HostNode* tag = tagOfType(object, objectTagId);
    return tag && tag->params.getBool(objectTagExclude, false);
}

/// Whether a texture tag of the object names a material of the document's own list.
bool hasDocumentMaterial(const HostNode& object, const HostNode& document) {
    for (const HostNode* tag = object.tags().first(); tag; tag = tag->next()) {
        if (tag->type() != TYPE_TEXTURE_TAG) continue;
        const HostNode* material = resolveLink(tag->params.getLinkToken(TEXTURE_TAG_MATERIAL), &document, 0);
        if (material && material->kind() == NodeKind::Material && material->owner() == &document) return true;
    }
    return false;
}

std::string typeText(int32_t type) {
    auto name = typenames::objectTypeName(type);
    return name ? *name : "type " + std::to_string(type);
}

LeaveReason lightReason(const HostNode& light, const char* what) {
    const int32_t kind = light.params.getInt(LIGHT_KIND, 0);
    if (kind != LIGHT_KIND_AREA)
        return {"not-area-light", std::string(what) + " of kind " + std::to_string(kind) + ", not an area light (kind " +
                                      std::to_string(LIGHT_KIND_AREA) + "), which is the only kind exported"};
    return {"unexplained", "an area light the export passed over"};
}

LeaveReason instanceReason(const HostNode& instance, const HostNode& document) {
    const HostNode* linked = resolveLink(instance.params.getLinkToken(INSTANCE_LINK), &document, LINK_FILTER_OBJECT);
    if (!linked) return {"instance-without-link", "an instance whose link names no object of the document"};
    switch (linked->type()) {
    case TYPE_LIGHT: return lightReason(*linked, "an instance of a light");
    case TYPE_SPHERE:
    case TYPE_PLANE: return {"unexplained", "an instance of a " + typeText(linked->type()) + " the export passed over"};
    default:
        return {"instance-of-" + typeText(linked->type()),
                "an instance of a " + typeText(linked->type()) +
                    " object; only instances of spheres, planes and area lights are written"};
    }
}

} // namespace

LeaveReason leaveReason(const HostNode& object, const HostNode& document) {
    const int32_t type = object.type();
    if (type == TYPE_LIGHT) return lightReason(object, "a light");
    if (excluded(object)) return {"excluded", "excluded by its Lumeno Object tag"};
    if (type == TYPE_INSTANCE) return instanceReason(object, document);
    if (type == TYPE_CAMERA) return {"camera", "a camera that is not the view's camera"};
    if (type == TYPE_NULL) return {"null", "a null object, which holds no geometry of its own"};
    if (type == TYPE_SPHERE || type == TYPE_PLANE) return {"unexplained", "a " + typeText(type) + " the export passed over"};
    if (!hasDocumentMaterial(object, document) && !tagOfType(object, lightTagId))
        return {"no-material", "no texture tag with a material of the document, and no Lumeno Light tag"};
    if (type == TYPE_POLYGON_OBJECT && object.polygons.empty())
        return {"empty-polygon-object", "a polygon object without polygons"};
    return {"no-geometry", "a " + typeText(type) + " object whose current state holds no polygons"};
}

} // namespace host
