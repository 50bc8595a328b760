#include "tags/material_helper_search.h"

#include "export/export_context.h"
#include "export/pre_order.h"
#include "frame/host_api.h"
#include "frame/host_api_materials.h"
#include "frame/plugin_ids.h"
#include "tags/lumeno_material_helper_tag_ids.h"

namespace {

HostMaterial* TagMaterial(HostTag* tag, HostDocument* document) {
    return ContainerGetLink(NodeContainer(tag), LMAT_MATERIAL, document, LINK_FILTER_ANY);
}

bool Describes(HostMaterial* linked, HostMaterial* material) {
    return linked && (linked == material || MaterialCompare(material, linked));
}

bool Append(HelperTagIndex& index, HostTag* tag, HostMaterial* material) {
    if (index.count == index.capacity) {
        const int32_t capacity = index.capacity ? index.capacity * 2 : 16;
        auto* grown = static_cast<HelperTagEntry*>(HostAlloc(sizeof(HelperTagEntry) * static_cast<size_t>(capacity)));
        if (!grown) return false;
        for (int32_t i = 0; i < index.count; ++i) grown[i] = index.entries[i];
        HostFree(index.entries);
        index.entries = grown;
        index.capacity = capacity;
    }
    index.entries[index.count++] = HelperTagEntry{tag, material};
    return true;
}

template <class Visit>
void ForEachHelperTag(HostDocument* document, Visit visit) {
    for (const HostObject* object = DocumentFirstObject(document); object; object = NextInPreOrder(object, nullptr))
        for (HostTag* tag = ObjectFirstTag(object); tag; tag = NodeNext(tag))
            if (NodeType(tag) == kLumenoMaterialHelperTagId && !visit(tag)) return;
}

void Build(HelperTagIndex& index, HostDocument* document) {
    ReleaseHelperTagIndex(index);
    index.document = document;
    ForEachHelperTag(document, [&](HostTag* tag) {
        HostMaterial* linked = TagMaterial(tag, document);
        if (!linked) return true;
        if (Append(index, tag, linked)) return true;
        index.incomplete = true;
        return false;
    });
}

/// The search without an index, for when no memory was left to build one.
HostTag* WalkFor(HostDocument* document, HostMaterial* material) {
    HostTag* found = nullptr;
    ForEachHelperTag(document, [&](HostTag* tag) {
        if (Describes(TagMaterial(tag, document), material)) found = tag;
        return found == nullptr;
    });
    return found;
}

} // namespace

HostTag* FindMaterialHelperTag(ExportContext& context, HostMaterial* material) {
    if (!material || !context.document) return nullptr;
    HelperTagIndex& index = context.helperTags;
    if (index.document != context.document) {
        Build(index, context.document);
        // The search still answers rightly by walking, but a save that ran out of memory fails.
        if (index.incomplete) context.meshRecords.hostFailed = true;
    }
    if (index.incomplete) return WalkFor(context.document, material);
    for (int32_t i = 0; i < index.count; ++i)
        if (Describes(index.entries[i].material, material)) return index.entries[i].tag;
    return nullptr;
}

void ReleaseHelperTagIndex(HelperTagIndex& index) {
    HostFree(index.entries);
    index = HelperTagIndex{};
}
