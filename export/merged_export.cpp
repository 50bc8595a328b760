#include "export/merged_export.h"

#include "export/camera_export.h"
#include "export/finish_element.h"
#include "export/lumeno_saver_data.h"
#include "export/material_export.h"
#include "export/matrix_helpers.h"
#include "export/merge_targets.h"
#include "export/merge_walk.h"
#include "export/merged_mesh_files.h"
#include "export/polygonize.h"
#include "export/primitive_walk.h"
#include "export/printed_elements.h"
#include "export/scene_defaults.h"
#include "export/settings_export.h"
#include "export/xml_helpers.h"
#include "frame/host_api.h"
#include "frame/host_text.h"

namespace {

/// The two empty target documents. False when the host cannot make them.
bool CreateTargets(MergeTargets& targets) {
    targets.documents[kUnsmoothedTarget] = DocumentCreate();
    targets.documents[kSmoothTarget] = DocumentCreate();
    return targets.documents[kUnsmoothedTarget] && targets.documents[kSmoothTarget];
}

void ReleaseTargets(MergeTargets& targets) {
    for (int32_t which : {kUnsmoothedTarget, kSmoothTarget}) {
        DocumentFree(targets.documents[which]);
        targets.documents[which] = nullptr;
        HostFree(targets.materials[which]);
        targets.materials[which] = nullptr;
    }
}

int32_t CountMaterials(const HostDocument* document) {
    int32_t count = 0;
    for (HostMaterial* m = DocumentFirstMaterial(document); m; m = NodeNext(m)) ++count;
    return count;
}

/// A copy of `material` named `name` in `target` (inserted with no predecessor, flag 1), or none.
HostMaterial* NamedCopyInto(HostDocument* target, const HostMaterial* material, const HostString* name) {
    HostMaterial* copy = NodeCopy(material, COPY_FLAGS_DEFAULT);
    if (!copy) return nullptr;
    NodeSetName(copy, name);
    DocumentInsertMaterial(target, copy, nullptr, 1);
    if (NodeDocument(copy) == target) return copy;
    NodeFree(copy);
    return nullptr;
}

/// "Mat_i" for the i-th material of the polygon document, its copies in both targets
/// and the material itself. False when the host failed on the way.
bool NameMaterials(HostDocument* polygons, MergeTargets& targets) {
    const int32_t count = CountMaterials(polygons);
    if (count == 0) return true;
    for (int32_t which : {kUnsmoothedTarget, kSmoothTarget}) {
        targets.materials[which] = static_cast<HostMaterial**>(HostAlloc(sizeof(HostMaterial*) * static_cast<size_t>(count)));
        if (!targets.materials[which]) return false;
        for (int32_t i = 0; i < count; ++i) targets.materials[which][i] = nullptr;
    }
    targets.materialCount = count;
    bool complete = true;
    int32_t i = 0;
    for (HostMaterial* material = DocumentFirstMaterial(polygons); material; material = NodeNext(material), ++i) {
        char name[32];
        FormatC(name, sizeof name, "Mat_%d", static_cast<int>(i));
        HostText text = HostText::FromCString(name);
        if (!text.get()) {
            complete = false;
            continue;
        }
        for (int32_t which : {kUnsmoothedTarget, kSmoothTarget}) {
            targets.materials[which][i] = NamedCopyInto(targets.documents[which], material, text.get());
            if (!targets.materials[which][i]) complete = false;
        }
        NodeSetName(material, text.get());
    }
    return complete;
}

/// The target's mesh file and `mesh`, when it holds an object. Answers whether
/// the file was written.
bool WriteTargetMesh(ExportContext& context, const MergeTargets& targets, int32_t which) {
    HostDocument* target = targets.documents[which];
    if (!DocumentFirstObject(target)) return false;
    const bool smooth = which == kSmoothTarget;
    return WriteMergedMeshFile(context, target, smooth ? "smoothmesh" : "nosmoothmesh",
                               MergedMeshFileName(context.outputPath, smooth).text,
                               MergedMeshFileName(context.outputName, smooth).text);
}

/// The `model` of a merged mesh, without material or name comment; each face
/// takes its material from the file.
void AppendMergedModel(ExportContext& context, bool smooth) {
    ElementPtr model = NewElement("model");
    if (!smooth) AddTextChild(model.get(), "normal_smoothing", "false");
    AddTextChild(model.get(), "pos", "0 0 0");
    AddTextChild(model.get(), "scale", SceneScaleText(context));
    AddTextChild(model.get(), "mesh_name", smooth ? "smoothmesh" : "nosmoothmesh");
    LinkChild(context.sceneElement, std::move(model));
}

/// Everything that needs the polygon document: targets, names, merge walk, files, materials, models.
void MergeGeometry(ExportContext& context, MergeTargets& targets, HostDocument* polygons) {
    if (!CreateTargets(targets)) {
        context.meshRecords.hostFailed = true;
        AppendDefaultMaterial(context.sceneElement);
        return;
    }
    context.targetDocuments = targets.documents;
    if (!NameMaterials(polygons, targets)) context.meshRecords.hostFailed = true;
    MergeObjectTree(context, DocumentFirstObject(polygons), targets, IdentityMatrix());
    const bool smoothWritten = WriteTargetMesh(context, targets, kSmoothTarget);
    const bool unsmoothedWritten = WriteTargetMesh(context, targets, kUnsmoothedTarget);
    WriteMaterialList(context, context.sceneElement, targets.documents[kSmoothTarget]);
    AppendDefaultMaterial(context.sceneElement);
    // A model only for a mesh whose file was written.
    if (smoothWritten) AppendMergedModel(context, true);
    if (unsmoothedWritten) AppendMergedModel(context, false);
}

} // namespace

void ExportMergedGeometry(ExportContext& context) {
    ExportCamera(context);
    HostDocument* user = context.document;
    HostDocument* copy = DocumentCopy(user);
    if (!copy) {
        context.meshRecords.hostFailed = true;
        AppendDefaultMaterial(context.sceneElement);
        return;
    }
    context.document = copy;
    ExportRenderSettings(context, DocumentFirstObject(copy));
    CompleteSceneFront(context);
    ExportPrimitiveTree(context, DocumentFirstObject(copy), IdentityMatrix(), true);

    MergeTargets targets{};
    HostDocument* polygons = Polygonize(copy, false);
    if (polygons) {
        MergeGeometry(context, targets, polygons);
    } else {
        context.meshRecords.hostFailed = true;
        AppendDefaultMaterial(context.sceneElement);
    }
    // Primitives are finished with the merged material rule, against the smooth target.
    ExportPrimitiveTree(context, DocumentFirstObject(copy), IdentityMatrix(), false);

    context.targetDocuments = nullptr;
    ReleaseTargets(targets);
    DocumentFree(polygons);
    DocumentFree(copy);
    context.document = user;
}
