#include "export/camera_export.h"

#include <cmath>

#include "export/export_context.h"
#include "export/lumeno_saver_data.h"
#include "export/matrix_helpers.h"
#include "export/xml_helpers.h"
#include "frame/host_api.h"
#include "host_constants.h"

namespace {

/// The film width is given in millimetres; the scene file measures lenses in metres.
constexpr float kMillimetre = 0.001f;

/// The view's camera object, else its editor camera, else none.
HostObject* ActiveCamera(HostDocument* document) {
    HostView* view = DocumentActiveView(document);
    if (!view) return nullptr;
    if (HostObject* camera = ViewCamera(view, document)) return camera;
    return ViewEditorCamera(view);
}

float Distance(HostVector a, HostVector b) {
    float dx = a.x - b.x;
    float dy = a.y - b.y;
    float dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

/// The focus distance in scene units: the camera's own, unless a target tag names an object;
/// then the distance to it. Of several target tags the last with a linked object decides; a link
/// to a material or another non-object is no target (it has no position).
float FocusDistance(const ExportContext& context, HostObject* camera, float multiplier) {
    float focus = multiplier * CameraFocus(camera);
    HostVector position = ObjectPosition(camera);
    for (HostTag* tag = ObjectFirstTag(camera); tag; tag = NodeNext(tag)) {
        if (NodeType(tag) != TYPE_CAMERA_TARGET_TAG) continue;
        HostContainer* link = ContainerCopy(NodeContainer(tag));
        if (!link) continue;
        HostObject* target =
            ContainerGetLink(link, CAMERA_TARGET_LINK, context.document, LINK_FILTER_OBJECT);
        if (target) focus = multiplier * Distance(position, ObjectPosition(target));
        ContainerFree(link);
    }
    return focus;
}

/// A node parameter read as a real: an integer or boolean value counts by its number.
float ParameterAsReal(HostNode* node, int32_t id) {
    HostValue value;
    NodeGetParameter(node, id, &value);
    if (value.type == HOST_VALUE_REAL) return value.real;
    return static_cast<float>(value.integer);
}

} // namespace

float LensSensorDistance(float sensorWidth, float fieldOfView) {
    float distance = sensorWidth * 0.5f / std::tan(fieldOfView * 0.5f);
    return std::isfinite(distance) ? distance : sensorWidth;
}

void ExportCamera(ExportContext& context) {
    LumenoSaverData* saver = context.saver;
    if (!saver || saver->cameraWritten) return;
    saver->cameraWritten = true;
    HostObject* camera = ActiveCamera(context.document);
    if (!camera || !context.sceneElement) return;

    float m = saver->posSizeMultiplier;
    HostMatrix global = ObjectGlobalMatrix(camera);
    // Lens sizes do not depend on the multiplier: the film width is a size of the real camera.
    float sensorWidth = CameraFilmWidth(camera) * kMillimetre;
    float fieldOfView = ParameterAsReal(camera, CAMERA_FIELD_OF_VIEW);

    TiXmlElement element("camera");
    // Room for "%f" of the largest 32-bit real: 39 digits, the point and six decimals.
    char note[96];
    FormatC(note, sizeof note, "Global Pos/Size Multiplier: %f", static_cast<double>(m));
    element.InsertEndChild(MakeComment(note));
    AddTextChild(&element, "pos", PointText(ObjectPosition(camera), m).text);
    AddTextChild(&element, "up", DirectionText(NormalizeVector(global.v2)).text);
    AddTextChild(&element, "forwards", DirectionText(NormalizeVector(global.v3)).text);
    AddTextChild(&element, "aperture_radius", RealText(saver->apertureRadius).text);
    AddTextChild(&element, "focus_distance", RealText(FocusDistance(context, camera, m)).text);
    AddTextChild(&element, "sensor_width", RealText(sensorWidth).text);
    AddTextChild(&element, "lens_sensor_dist",
                 RealText(LensSensorDistance(sensorWidth, fieldOfView)).text);
    AddTextChild(&element, "aspect_ratio", RealText(saver->aspectRatio).text);
    AddTextChild(&element, "white_balance", saver->whiteBalance);
    PrependToScene(context.sceneElement, element);
}
