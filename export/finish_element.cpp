#include "export/finish_element.h"

#include "export/lumeno_saver_data.h"
#include "export/printed_elements.h"
#include "export/scene_defaults.h"
#include "export/xml_helpers.h"
#include "frame/host_api.h"
#include "frame/host_api_materials.h"
#include "frame/host_text.h"

NameText NodeNameText(const HostNode* node) {
    NameText out;
    HostText name(NodeName(node));
    name.ToBuffer(out.text, sizeof out.text);
    return out;
}

namespace {

/// The material whose name is written for `material`: itself, or in the merged strategy the
/// first material of the smooth target that the host's comparison finds equal to it (names are
/// not compared), none when the target holds no such material.
const HostMaterial* NamedMaterial(const ExportContext& context, const HostMaterial* material) {
    if (!context.saver || !context.saver->mergedMeshExport) return material;
    HostDocument* smooth = context.targetDocuments ? context.targetDocuments[1] : nullptr;
    for (HostMaterial* candidate = DocumentFirstMaterial(smooth); candidate; candidate = NodeNext(candidate))
        if (MaterialCompare(candidate, material)) return candidate;
    return nullptr;
}

} // namespace

HostMaterial* FirstTextureMaterial(const HostObject* object) {
    for (HostTag* tag = ObjectFirstTag(object); tag; tag = NodeNext(tag)) {
        if (NodeType(tag) != TYPE_TEXTURE_TAG) continue;
        if (HostMaterial* material = TextureTagMaterial(tag)) return material;
    }
    return nullptr;
}

void FinishElement(ExportContext& context, ElementPtr element, const HostObject* object,
                   const HostObject* linked, bool materialWritten, bool meshPass) {
    if (linked && !meshPass && !materialWritten) {
        const HostMaterial* material = FirstTextureMaterial(object);
        if (const HostMaterial* named = material ? NamedMaterial(context, material) : nullptr) {
            AddTextChild(element.get(), "material_name", NodeNameText(named).text);
            materialWritten = true;
        }
    }
    if (!materialWritten && !meshPass) AddTextChild(element.get(), "material_name", kDefaultMaterialName);

    TiXmlComment comment = MakeComment(NodeNameText(object).text);
    if (TiXmlNode* first = element->FirstChild())
        element->InsertBeforeChild(first, comment);
    else
        element->InsertEndChild(comment);
    LinkChild(context.sceneElement, std::move(element));
    PrintFinishedElements(context);
}

const char* SceneScaleText(ExportContext& context) {
    if (context.scaleText.text[0] == '\0') context.scaleText = RealText(context.saver->posSizeMultiplier);
    return context.scaleText.text;
}
