#include "export/primitives_export.h"

#include "export/finish_element.h"
#include "export/lumeno_saver_data.h"
#include "export/matrix_helpers.h"
#include "export/object_rules.h"
#include "export/spectrum_export.h"
#include "export/tag_search.h"
#include "export/xml_helpers.h"
#include "frame/host_api.h"
#include "frame/plugin_ids.h"
#include "tags/lumeno_light_tag_ids.h"

namespace {

float Multiplier(const ExportContext& context) {
    return context.saver ? context.saver->posSizeMultiplier : 0.01f;
}

/// A node parameter read as a real: 0 when the node lacks it or holds no number.
float NodeReal(HostNode* node, int32_t id) {
    HostValue value;
    if (!NodeGetParameter(node, id, &value)) return 0.0f;
    if (value.type == HOST_VALUE_REAL) return value.real;
    if (value.type == HOST_VALUE_INT) return static_cast<float>(value.integer);
    return 0.0f;
}

/// Whether this save takes a rectangle light's size from the host light itself: the 9.5 build
/// does so in the per-object strategy, where the light's own area size is at hand.
bool SizeFromHostLight(const ExportContext& context) {
#if LUMENO_HOST_RELEASE >= 95
    return !(context.saver && context.saver->mergedMeshExport);
#else
    static_cast<void>(context);
    return false;
#endif
}

/// O's bounding-box centre placed by W, as "x z y" scaled.
ValueText PlacedCentre(HostObject* object, const HostMatrix& world, float multiplier) {
    return PointText(TransformPoint(world, ObjectBBoxCenter(object)), multiplier);
}

} // namespace

ElementPtr ExportRectangleLight(ExportContext& context, HostObject* object, HostObject* linked, const HostMatrix& world) {
    HostValue kind;
    NodeGetParameter(linked, kLightKindParameter, &kind);
    if (kind.integer != kLightKindArea) return nullptr;
    const float m = Multiplier(context);
    ElementPtr light = NewElement("rectanglelight");
    AddTextChild(light.get(), "pos", PlacedCentre(object, world, m).text);

    HostTag* tag = FindTagOfType(object, kLumenoLightTagId);
    const HostContainer* source = tag ? NodeContainer(tag) : nullptr;
    if (!source) source = NodeContainer(object);

    float width = ContainerGetReal(source, LLIGHT_WIDTH, kLightSizeDefault);
    float height = ContainerGetReal(source, LLIGHT_HEIGHT, kLightSizeDefault);
    if (SizeFromHostLight(context)) {
        const HostContainer* own = NodeContainer(linked);
        height = ContainerGetReal(own, kLightAreaHeightParameter, 0.2f);
        float w = NodeReal(linked, kLightAreaWidthParameter);
        // A light without a width of its own is taken as square.
        if (w < 0.0001f) w = height;
        width = w * m;
        height *= m;
    }
    AddTextChild(light.get(), "width", RealText(width).text);
    AddTextChild(light.get(), "height", RealText(height).text);
    ExportSpectrum(source, light.get());
    return light;
}

ElementPtr ExportSphere(ExportContext& context, HostObject* object, HostObject* linked, const HostMatrix& world) {
    if (IsExcluded(object)) return nullptr;
    const float m = Multiplier(context);
    ElementPtr sphere = NewElement("sphere");
    AddTextChild(sphere.get(), "center", PlacedCentre(object, world, m).text);
    // The object's own scale only: a scaled parent moves the centre but keeps the radius.
    const float radius = ObjectScale(object).x * ObjectBBoxRadius(linked).x * m;
    AddTextChild(sphere.get(), "radius", RealText(radius).text);
    return sphere;
}

ElementPtr ExportPlane(ExportContext& context, HostObject* object, HostObject* /*linked*/, const HostMatrix& world) {
    if (IsExcluded(object)) return nullptr;
    const HostVector normal = NormalizeVector(world.v2);
    ElementPtr plane = NewElement("plane");
    AddTextChild(plane.get(), "normal", DirectionText(normal).text);
    // The distance along the unit normal, so a plane scaled along its normal stays where it stands.
    const HostVector& o = world.off;
    const float dist = (o.x * normal.x + o.y * normal.y + o.z * normal.z) * Multiplier(context);
    AddTextChild(plane.get(), "dist", RealText(dist).text);
    return plane;
}

void ExportLinkedPrimitive(ExportContext& context, HostObject* object, HostObject* linked, const HostMatrix& world) {
    ElementPtr element;
    // A rectangle light is an emitter and carries no material.
    bool materialWritten = false;
    switch (NodeType(linked)) {
    case TYPE_LIGHT:
        element = ExportRectangleLight(context, object, linked, world);
        materialWritten = true;
        break;
    case TYPE_SPHERE:
        element = ExportSphere(context, object, linked, world);
        break;
    case TYPE_PLANE:
        element = ExportPlane(context, object, linked, world);
        break;
    default:
        break;
    }
    if (element) FinishElement(context, std::move(element), object, linked, materialWritten, false);
}
