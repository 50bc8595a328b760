#include "export/mesh_conversion.h"

#include "export/object_rules.h"
#include "export/own_exports.h"
#include "export/polygonize.h"
#include "frame/host_api.h"
#include "frame/plugin_ids.h"
#include "tags/lumeno_generic_obj_tag_ids.h"

void ReadExportTags(const HostObject* object, MeshConversion& result) {
    for (HostTag* tag = ObjectFirstTag(object); tag; tag = NodeNext(tag)) {
        const int32_t type = NodeType(tag);
        if (type == kLumenoGenericObjTagId)
            result.smoothingOff = ContainerGetBool(NodeContainer(tag), LOBJ_NO_NORMAL_SMOOTHING, false);
        else if (type == kLumenoLightTagId)
            result.lightTag = tag;
    }
}

namespace {

/// Puts a copy of `tag` on `objectCopy`, first, applying a copy of `material` that goes into
/// `meshDocument`. Answers false when the host could not copy them.
bool CopyTextureTag(HostDocument* meshDocument, HostObject* objectCopy, const HostTag* tag,
                    const HostMaterial* material) {
    HostTag* tagCopy = NodeCopy(tag, COPY_FLAGS_DEFAULT);
    HostMaterial* materialCopy = NodeCopy(material, COPY_FLAGS_DEFAULT);
    if (!tagCopy || !materialCopy) {
        NodeFree(tagCopy);
        NodeFree(materialCopy);
        return false;
    }
    DocumentInsertMaterial(meshDocument, materialCopy, nullptr, 0);
    if (NodeDocument(materialCopy) != meshDocument) {
        NodeFree(tagCopy);
        NodeFree(materialCopy);
        return false;
    }
    SetTextureTagMaterial(tagCopy, materialCopy);
    NodeMessage(objectCopy, NODE_MSG_UPDATE, nullptr);
    ObjectInsertTag(objectCopy, tagCopy, nullptr);
    if (NodeParent(tagCopy) != objectCopy) {
        NodeFree(tagCopy);
        return false;
    }
    return true;
}

/// Copies every texture tag of `object` whose material belongs to the document onto the copy,
/// each with a copy of its material. Answers false when the host could not copy one.
bool CopyDocumentMaterials(const ExportContext& context, HostDocument* meshDocument,
                           const HostObject* object, HostObject* objectCopy) {
    for (HostTag* tag = ObjectFirstTag(object); tag; tag = NodeNext(tag)) {
        if (NodeType(tag) != TYPE_TEXTURE_TAG) continue;
        HostMaterial* material = TextureTagMaterial(tag);
        if (!IsInMaterialList(context.document, material)) continue;
        if (!CopyTextureTag(meshDocument, objectCopy, tag, material)) return false;
    }
    return true;
}

/// A new document holding a copy of `object` with its materials; none when the host cannot
/// make it.
HostDocument* MakeObjectDocument(const ExportContext& context, HostObject* object) {
    HostDocument* document = DocumentCreate();
    if (!document) return nullptr;
    HostObject* copy = CopyWhatStays(context, object, document);
    if (!copy || !CopyDocumentMaterials(context, document, object, copy)) {
        DocumentFree(document);
        return nullptr;
    }
    return document;
}

} // namespace

MeshConversion ConvertObjectToMesh(ExportContext& context, HostObject* object, const HostMatrix& world) {
    MeshConversion result{};
    if (!object) return result;
    ReadExportTags(object, result);
    // Without a material of the document or a light tag there is no mesh, so nothing is copied.
    if (!result.lightTag && !HasDocumentMaterial(context, object)) return result;
    // The object's document is ours alone, so it is converted where it stands.
    HostDocument* polygonized = MakeObjectDocument(context, object);
    if (polygonized && !PolygonizeInPlace(polygonized, false)) {
        DocumentFree(polygonized);
        polygonized = nullptr;
    }
    if (!polygonized) {
        result.hostFailed = true;
        return result;
    }
    HostObject* first = DocumentFirstObject(polygonized);
    if (CountTriangles(first) <= 0) {
        DocumentFree(polygonized);
        return result;
    }
    // World coordinates in the file: the model then stands at the origin. The children move
    // along and keep their places relative to the object.
    ObjectSetMatrix(first, &world, SET_MATRIX_CHILDREN_FOLLOW);
    result.meshDocument = polygonized;
    return result;
}
