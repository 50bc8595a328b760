#include "export/object_tree_export.h"

#include "export/camera_export.h"
#include "export/finish_element.h"
#include "export/lumeno_saver_data.h"
#include "export/matrix_helpers.h"
#include "export/mesh_conversion.h"
#include "export/mesh_files.h"
#include "export/object_rules.h"
#include "export/placed_walk.h"
#include "export/primitives_export.h"
#include "export/printed_elements.h"
#include "export/settings_export.h"
#include "export/spectrum_export.h"
#include "export/xml_helpers.h"
#include "frame/host_api.h"

namespace {

/// Has the host write mesh `number` and, when it did, adds its `mesh` element:
/// `name` "meshName_N" and `external`/`path` "NAME.N.3DS" beside the scene file. Answers whether
/// the file was written; one that was not is left out of the scene and fails the save.
bool WriteMesh(ExportContext& context, HostDocument* meshDocument, int32_t number) {
    if (!SaveMeshFile(context, meshDocument, MeshFileName(context.outputPath, number).text)) return false;
    AppendMeshElement(context.sceneElement, MeshName(number).text, MeshFileName(context.outputName, number).text);
    PrintFinishedElements(context);
    return true;
}

/// The placed element of mesh `number`: `meshlight` for an object with a light tag, else
/// `model`, standing at the origin (the placement is in the file) at the save's scale.
ElementPtr PlacedMeshElement(ExportContext& context, const MeshConversion& tags, int32_t number) {
    ElementPtr element = NewElement(tags.lightTag ? "meshlight" : "model");
    AddTextChild(element.get(), "pos", "0 0 0");
    AddTextChild(element.get(), "scale", SceneScaleText(context));
    AddTextChild(element.get(), "mesh_name", MeshName(number).text);
    if (tags.smoothingOff) AddTextChild(element.get(), "normal_smoothing", "false");
    if (tags.lightTag) ExportSpectrum(NodeContainer(tags.lightTag), element.get());
    return element;
}

/// Mesh pass: converts the object, has its mesh file written and records the mesh.
void WriteObjectMesh(ExportContext& context, HostObject* object, const HostMatrix& world) {
    MeshConversion mesh = ConvertObjectToMesh(context, object, world);
    if (mesh.hostFailed) context.meshRecords.hostFailed = true;
    if (!mesh.meshDocument) return;
    const int32_t number = context.meshCounter++;
    const bool written = WriteMesh(context, mesh.meshDocument, number);
    DocumentFree(mesh.meshDocument);
    AddMeshRecord(context.meshRecords, object, number, written);
}

/// Element pass: places the mesh the mesh pass wrote for the object, if any. The conversion is
/// not repeated: the record says which mesh it gave, so both passes number alike.
void PlaceObjectMesh(ExportContext& context, HostObject* object) {
    const MeshRecord* record = TakeMeshRecord(context.meshRecords, object);
    if (!record) return;
    context.meshCounter = record->number + 1;
    if (!record->written) return;
    MeshConversion tags{};
    ReadExportTags(object, tags);
    // A mesh light carries no material.
    FinishElement(context, PlacedMeshElement(context, tags, record->number), object, object, tags.lightTag != nullptr,
                  false);
}

/// Element pass: a light, sphere or plane, or an instance of one, as the renderer's rectangle
/// light, sphere or plane. An instance of anything else, or with an empty link, writes nothing.
void ExportPrimitive(ExportContext& context, HostObject* object, const HostMatrix& world) {
    if (HostObject* linked = LinkedObject(context, object)) ExportLinkedPrimitive(context, object, linked, world);
}

/// Exports one object of the walk at its world matrix `world`.
void ExportObject(ExportContext& context, HostObject* object, const HostMatrix& world, bool meshPass) {
    if (IsPrimitiveDispatchType(NodeType(object))) {
        if (!meshPass) ExportPrimitive(context, object, world);
        return;
    }
    if (IsExcluded(object)) return;
    if (meshPass)
        WriteObjectMesh(context, object, world);
    else
        PlaceObjectMesh(context, object);
}

} // namespace

void ExportObjectTree(ExportContext& context, HostObject* object, const HostMatrix& parentWorld, bool meshPass) {
    // Renderer settings, then the camera, each once per save and in front of the scene, so the
    // camera stands first. Deeper levels would only repeat a search of the whole document that
    // found no render-settings tag, so they are left out and the walk stays linear.
    if (!object || !NodeParent(object)) {
        ExportRenderSettings(context, DocumentFirstObject(context.document));
        ExportCamera(context);
        CompleteSceneFront(context);
    }
    WalkPlaced(context, object, parentWorld, [&](HostObject* current, const HostMatrix& world) {
        ExportObject(context, current, world, meshPass);
    });
}
