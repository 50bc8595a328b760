#include "export/object_tree_export.h"

#include "export/camera_export.h"
#include "export/finish_element.h"
#include "export/lumeno_saver_data.h"
#include "export/matrix_helpers.h"
#include "export/mesh_conversion.h"
#include "export/mesh_files.h"
#include "export/object_rules.h"
#include "export/settings_export.h"
#include "export/xml_helpers.h"
#include "frame/host_api.h"

namespace {

/// Has the host write mesh `number` and, when it did, adds its `mesh` element:
/// `name` "meshName_N" and `external`/`path` "NAME.N.3DS" beside the scene file.
void WriteMesh(ExportContext& context, HostDocument* meshDocument, int32_t number) {
    if (!SaveMeshFile(meshDocument, MeshFileName(context.outputPath, number).text)) {
        // Left out of the scene, so nothing refers to a missing file; the save answers -1.
        NoteMeshFailure(context.meshFailures, number);
        return;
    }
    TiXmlElement mesh("mesh");
    AddTextChild(&mesh, "name", MeshName(number).text);
    TiXmlElement external("external");
    AddTextChild(&external, "path", MeshFileName(context.outputName, number).text);
    mesh.InsertEndChild(external);
    context.sceneElement->InsertEndChild(mesh);
}

/// The placed element of mesh `number`: `meshlight` for an object with a light tag, else
/// `model`, standing at the origin (the placement is in the file) at the save's scale.
TiXmlElement PlacedMeshElement(const ExportContext& context, const MeshConversion& mesh, int32_t number) {
    TiXmlElement element(mesh.lightTag ? "meshlight" : "model");
    AddTextChild(&element, "pos", "0 0 0");
    AddTextChild(&element, "scale", RealText(context.saver->posSizeMultiplier).text);
    AddTextChild(&element, "mesh_name", MeshName(number).text);
    if (mesh.smoothingOff) AddTextChild(&element, "normal_smoothing", "false");
    // The mesh light's emission follows here:
    //   ExportSpectrum(element, light tag's parameter container)  -- spectrum section
    return element;
}

/// Exports one object of the walk at its world matrix `world`.
void ExportObject(ExportContext& context, HostObject* object, const HostMatrix& world, bool meshPass) {
    if (IsPrimitiveDispatchType(NodeType(object))) {
        // Lights, spheres and planes (also through an instance) are written by the rectangle
        // light, sphere and plane exporters in the element pass, with the linked object; until
        // they exist nothing is written here. An instance of any other object writes nothing.
        return;
    }
    if (IsExcluded(object)) return;

    MeshConversion mesh = ConvertObjectToMesh(context, object, world);
    if (!mesh.meshDocument) return;
    const int32_t number = context.meshCounter++;
    if (meshPass) WriteMesh(context, mesh.meshDocument, number);
    DocumentFree(mesh.meshDocument);
    if (meshPass || IsFailedMesh(context.meshFailures, number)) return;

    TiXmlElement element = PlacedMeshElement(context, mesh, number);
    // A mesh light carries no material.
    FinishElement(context, element, object, object, mesh.lightTag != nullptr, meshPass);
}

} // namespace

void ExportObjectTree(ExportContext& context, HostObject* object, const HostMatrix& parentWorld, bool meshPass) {
    // Renderer settings, then the camera, each once per save and in front of the scene, so the
    // camera stands first. Deeper levels would only repeat a search of the whole document that
    // found no render-settings tag, so they are left out and the walk stays linear.
    if (!object || !NodeParent(object)) {
        ExportRenderSettings(context, DocumentFirstObject(context.document));
        ExportCamera(context);
    }
    for (HostObject* current = object; current; current = NodeNext(current)) {
        const HostMatrix world = MultiplyMatrix(parentWorld, ObjectLocalMatrix(current));
        ExportObject(context, current, world, meshPass);
        // Children are walked in every case, also below objects that wrote nothing.
        ExportObjectTree(context, NodeFirstChild(current), world, meshPass);
    }
}
