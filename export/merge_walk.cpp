#include "export/merge_walk.h"

#include <cstring>

#include "export/finish_element.h"
#include "export/lumeno_saver_data.h"
#include "export/matrix_helpers.h"
#include "export/merged_mesh_files.h"
#include "export/spectrum_export.h"
#include "export/tag_search.h"
#include "export/walk_stack.h"
#include "export/xml_helpers.h"
#include "frame/host_api.h"
#include "frame/host_text.h"
#include "frame/plugin_ids.h"
#include "tags/lumeno_generic_obj_tag_ids.h"

namespace {

/// What the walk knows of an object while its children are walked: its world matrix and the
/// material its ancestry gives (the nearest object, itself included, whose first texture tag has
/// a material), so the search up the parents costs nothing per object.
struct Level {
    HostMatrix world;
    HostTag* tag;            // that first texture tag, or none
    HostMaterial* material;  // its material, or none
};

/// The object's first texture tag and its material when it has one, else what `above` gives.
Level LevelOf(const Level& above, HostObject* object) {
    Level level{MultiplyMatrix(above.world, ObjectLocalMatrix(object)), above.tag, above.material};
    if (HostTag* tag = FindTagOfType(object, TYPE_TEXTURE_TAG)) {
        if (HostMaterial* material = TextureTagMaterial(tag)) {
            level.tag = tag;
            level.material = material;
        }
    }
    return level;
}

/// The level above the walk's first object: `parentWorld` and the material of its parents, if
/// the walk starts below the top level.
Level StartLevel(const HostObject* first, const HostMatrix& parentWorld) {
    Level level{parentWorld, nullptr, nullptr};
    for (HostObject* above = first ? NodeParent(first) : nullptr; above; above = NodeParent(above)) {
        HostTag* tag = FindTagOfType(above, TYPE_TEXTURE_TAG);
        HostMaterial* material = tag ? TextureTagMaterial(tag) : nullptr;
        if (material) {
            level.tag = tag;
            level.material = material;
            break;
        }
    }
    return level;
}

/// Puts `copy` at `world` at the top level of `document`. Answers false (the copy freed) when the
/// host did not take it.
bool PlaceCopy(HostDocument* document, HostObject* copy, const HostMatrix& world) {
    ObjectSetMatrix(copy, &world, SET_MATRIX_CHILDREN_FOLLOW);
    DocumentInsertObject(document, copy, nullptr, nullptr, 1);
    if (NodeDocument(copy) == document) return true;
    NodeFree(copy);
    return false;
}

/// Mesh light: the object alone in "NAME.lightN.3DS", a `mesh` "lightN" and a `meshlight` with
/// the light tag's spectrum. A file that could not be written leaves out both elements.
void ExportMeshLight(ExportContext& context, HostObject* object, HostTag* lightTag, const HostMatrix& world) {
    HostDocument* document = DocumentCreate();
    HostObject* copy = document ? NodeCopy(object, COPY_FLAGS_DEFAULT) : nullptr;
    if (!copy || !PlaceCopy(document, copy, world)) {
        context.meshRecords.hostFailed = true;
        DocumentFree(document);
        return;
    }
    const int32_t n = context.meshCounter++;
    const MeshFileText name = MeshLightName(n);
    if (WriteMergedMeshFile(context, document, name.text, MeshLightFileName(context.outputPath, n).text,
                            MeshLightFileName(context.outputName, n).text)) {
        ElementPtr light = NewElement("meshlight");
        AddTextChild(light.get(), "pos", "0 0 0");
        AddTextChild(light.get(), "scale", SceneScaleText(context));
        AddTextChild(light.get(), "mesh_name", name.text);
        ExportSpectrum(NodeContainer(lightTag), light.get());
        LinkChild(context.sceneElement, std::move(light));
    }
    DocumentFree(document);
}

/// A copy of the object in its target, its first texture tag (or a copy of the ancestry's)
/// pointing at the target's "Mat_%d" material.
void MergeIntoTarget(ExportContext& context, HostObject* object, const Level& level, const MergeTargets& targets,
                     bool smoothingOff) {
    if (!level.material) return;
    const int32_t which = smoothingOff ? kUnsmoothedTarget : kSmoothTarget;
    HostMaterial* material = TargetMaterialNamed(targets, which, NodeNameText(level.material).text);
    if (!material) return;
    HostObject* copy = NodeCopy(object, COPY_FLAGS_DEFAULT);
    if (!copy) {
        context.meshRecords.hostFailed = true;
        return;
    }
    HostTag* tag = FindTagOfType(copy, TYPE_TEXTURE_TAG);
    if (!tag) {
        tag = NodeCopy(level.tag, COPY_FLAGS_DEFAULT);
        if (tag) ObjectInsertTag(copy, tag, nullptr);
        if (!tag || NodeParent(tag) != copy) {
            NodeFree(tag);
            NodeFree(copy);
            context.meshRecords.hostFailed = true;
            return;
        }
    }
    SetTextureTagMaterial(tag, material);
    if (!PlaceCopy(targets.documents[which], copy, level.world)) context.meshRecords.hostFailed = true;
}

/// One object of the walk, its children already done.
void MergeObject(ExportContext& context, HostObject* object, const Level& level, const MergeTargets& targets) {
    if (NodeType(object) != TYPE_POLYGON_OBJECT) return;
    HostTag* objectTag = FindTagOfType(object, kLumenoGenericObjTagId);
    const HostContainer* settings = objectTag ? NodeContainer(objectTag) : nullptr;
    if (settings && ContainerGetBool(settings, LOBJ_EXCLUDE, false)) return;
    if (std::strstr(NodeNameText(object).text, "_SKIP_")) return;
    if (HostTag* lightTag = FindTagOfType(object, kLumenoLightTagId)) {
        ExportMeshLight(context, object, lightTag, level.world);
        return;
    }
    const bool smoothingOff = settings && ContainerGetBool(settings, LOBJ_NO_NORMAL_SMOOTHING, false);
    MergeIntoTarget(context, object, level, targets, smoothingOff);
}

} // namespace

void MergeObjectTree(ExportContext& context, HostObject* object, const MergeTargets& targets,
                     const HostMatrix& parentWorld) {
    const Level start = StartLevel(object, parentWorld);
    // Post-order without recursion: `levels` holds the current object's level on top of those of
    // its ancestors in the walk. An object is done, removed and freed only after its children,
    // so nothing freed is touched and a freed object takes no subtree with it.
    WalkStack<Level> levels;
    HostObject* current = object;
    bool descend = true;
    while (current) {
        if (descend) {
            const Level level = LevelOf(levels.Empty() ? start : levels.Top(), current);
            if (!levels.Push(level)) {
                // No memory for one more level: what is left is not merged, and the save says so.
                context.meshRecords.hostFailed = true;
                return;
            }
            if (HostObject* child = NodeFirstChild(current)) {
                current = child;
                continue;
            }
        }
        const Level level = levels.Top();
        levels.Pop();
        // Taken before the object goes.
        HostObject* next = NodeNext(current);
        HostObject* parent = NodeParent(current);
        MergeObject(context, current, level, targets);
        NodeRemove(current);
        NodeFree(current);
        if (next) {
            current = next;
            descend = true;
        } else {
            // The level is done: its parent's turn, unless it was the walk's first level.
            current = levels.Empty() ? nullptr : parent;
            descend = false;
        }
    }
}
