#include "tags/lumeno_material_helper_tag.h"

#include "export/lumeno_saver_data.h"
#include "frame/host_api.h"
#include "frame/host_api_images.h"
#include "frame/host_api_materials.h"
#include "frame/host_memory.h"
#include "frame/host_text.h"
#include "frame/plugin_forwarding.h"
#include "frame/plugin_ids.h"
#include "frame/plugin_registration.h"
#include "host_constants.h"
#include "tags/lumeno_material_helper_tag_ids.h"

namespace {

#if LUMENO_HOST_RELEASE >= 95
constexpr int32_t kDrawImageMode = 0;
#else
constexpr int32_t kDrawImageMode = 128;
#endif

void SetHidden(HostDescription* description, int32_t id, bool hidden) {
    if (HostContainer* entry = DescriptionEntry(description, id))
        ContainerSetBool(entry, DESC_PROPERTY_HIDE, hidden);
}

HostValue Parameter(HostNode* node, int32_t id) {
    HostValue value;
    NodeGetParameter(node, id, &value);
    return value;
}

bool Channel(HostMaterial* material, int32_t channel) { return MaterialChannelEnabled(material, channel); }

void Switch(HostMaterial* material, int32_t channel, bool on) { MaterialSetChannelEnabled(material, channel, on); }

void AddCatalogueChoices(HostDescription* description, const NkDataCatalogue& catalogue) {
    HostContainer* choices = ContainerGetContainer(DescriptionEntry(description, LMAT_NK_DATA), DESC_PROPERTY_CYCLE);
    if (!choices) return;
    for (int32_t i = 0; i < catalogue.count; ++i) {
        HostText label = HostText::FromCString(catalogue.entries[i].label);
        if (label.get()) ContainerSetString(choices, kNkDataFirstEntry + i, label.get());
    }
}

} // namespace

HostMaterial* LinkedMaterial(HostNode* tag) {
    const HostValue link = Parameter(tag, LMAT_MATERIAL);
    if (link.type != HOST_VALUE_LINK || link.link == 0) return nullptr;
    return NodeResolveLink(link.link, NodeDocument(tag), LINK_FILTER_ANY);
}

LumenoMaterialHelperTag::~LumenoMaterialHelperTag() { ReleaseNkDataCatalogue(catalogue); }

bool LumenoMaterialHelperTag::Init(HostNode* node) {
    HostContainer* c = NodeContainer(node);
    ContainerSetLink(c, LMAT_MATERIAL, nullptr);
    ContainerSetVector(c, LMAT_COLOUR, HostVector{1.0f, 1.0f, 1.0f});
    ContainerSetInt(c, LMAT_KIND, LMAT_KIND_DIFFUSE);
    ContainerSetInt(c, LMAT_NK_DATA, LMAT_NK_DATA_NONE);
    ContainerSetReal(c, LMAT_ALBEDO_GAIN, 1.0f);
    ContainerSetReal(c, LMAT_BUMP_GAIN, 1.0f);
    ContainerSetReal(c, LMAT_ALBEDO_EXPONENT, 2.3f);
    ContainerSetReal(c, LMAT_BUMP_EXPONENT, 2.3f);
    return true;
}

bool LumenoMaterialHelperTag::Message(HostNode* node, int32_t type, void* /*data*/) {
    if (type == NODE_MSG_DESCRIPTION_EDIT_BEGIN) {
        editing = true;
    } else if (type == NODE_MSG_DESCRIPTION_CHANGED) {
        WriteBackMaterial(node);
        editing = false;
    } else if (type == kMessageForgetLastExport) {
        // A saver the host would make and delete forgets the last export file on its way out.
        DeleteInHostMemory(NewInHostMemory<LumenoSaverData>());
    }
    return true;
}

bool LumenoMaterialHelperTag::Describe(HostNode* node, HostDescription* description, int32_t* flags) {
    if (!DescriptionLoad(description, kLumenoMaterialHelperTagId)) return false;
    if (catalogue.count == 0) LoadNkDataCatalogue(catalogue);
    AddCatalogueChoices(description, catalogue);
    // Only a material that is still linked is shown: one the tag mirrored and that was unlinked
    // (or deleted) since must not be read.
    HostMaterial* linked = LinkedMaterial(node);
    ApplyVisibility(description, linked && linked == shownMaterial ? shownMaterial : nullptr);
    if (flags) *flags |= DESCFLAGS_DESC_LOADED;
    return true;
}

void LumenoMaterialHelperTag::ApplyVisibility(HostDescription* description, HostMaterial* material) {
    for (int32_t id = LMAT_KIND; id <= LMAT_NORMAL_REFLECTANCE; ++id) SetHidden(description, id, true);
    SetHidden(description, LMAT_NK_DATA, true);
    if (!material || editing) return;
    SetHidden(description, LMAT_KIND, false);
    if (Channel(material, MATERIAL_CHANNEL_SPECULAR)) {
        for (int32_t id : {LMAT_PHONG_DIFFUSE, LMAT_PHONG_SPECULAR, LMAT_PHONG_EXPONENT, LMAT_NK_DATA})
            SetHidden(description, id, false);
    } else if (Channel(material, MATERIAL_CHANNEL_TRANSPARENCY) || Channel(material, MATERIAL_CHANNEL_REFLECTION)) {
        for (int32_t id : {LMAT_TRANSPARENT, LMAT_CAUCHY_B_COEFF, LMAT_IOR, LMAT_NORMAL_REFLECTANCE,
                           LMAT_TRANSMISSION_COLOUR})
            SetHidden(description, id, false);
    } else {
        SetHidden(description, LMAT_COLOUR, false);
    }
}

bool LumenoMaterialHelperTag::IsEnabled(HostNode* node, int32_t id, const HostValue* /*data*/,
                                        int32_t /*flags*/, const HostContainer* /*itemDescription*/) {
    if (id != LMAT_IOR) return true;
    const HostContainer* c = NodeContainer(node);
    return ContainerGetInt(c, LMAT_KIND, 0) == LMAT_KIND_SPECULAR && ContainerGetBool(c, LMAT_TRANSPARENT, false);
}

HostMaterial* LumenoMaterialHelperTag::MirrorMaterial(HostTag* tag) {
    HostMaterial* material = LinkedMaterial(tag);
    if (!material) {
        shownMaterial = nullptr;
        return nullptr;
    }
    if (editing) return material;
    shownMaterial = material;
    HostContainer* c = NodeContainer(tag);
    const HostContainer* m = NodeContainer(material);
    if (Channel(material, MATERIAL_CHANNEL_TRANSPARENCY)) {
        ContainerSetInt(c, LMAT_KIND, LMAT_KIND_SPECULAR);
        ContainerSetBool(c, LMAT_TRANSPARENT, true);
    } else if (Channel(material, MATERIAL_CHANNEL_REFLECTION)) {
        ContainerSetInt(c, LMAT_KIND, LMAT_KIND_SPECULAR);
        ContainerSetBool(c, LMAT_TRANSPARENT, false);
    } else if (Channel(material, MATERIAL_CHANNEL_SPECULAR)) {
        ContainerSetInt(c, LMAT_KIND, LMAT_KIND_PHONG);
    } else {
        ContainerSetInt(c, LMAT_KIND, LMAT_KIND_DIFFUSE);
    }
    const HostVector zero{0.0f, 0.0f, 0.0f};
    const HostVector colour = ContainerGetVector(m, MATERIAL_COLOUR, zero);
    ContainerSetVector(c, LMAT_COLOUR, colour);
    ContainerSetVector(c, LMAT_PHONG_DIFFUSE, colour);
    ContainerSetVector(c, LMAT_PHONG_SPECULAR, ContainerGetVector(m, MATERIAL_SPECULAR_COLOUR, zero));
    ContainerSetVector(c, LMAT_TRANSMISSION_COLOUR, ContainerGetVector(m, MATERIAL_TRANSMISSION, zero));
    ContainerSetReal(c, LMAT_PHONG_EXPONENT, ContainerGetReal(m, MATERIAL_SPECULAR_WIDTH, 0.0f) * 10000.0f);
    ContainerSetReal(c, LMAT_CAUCHY_B_COEFF, ContainerGetReal(m, MATERIAL_DISPERSION, 0.0f));
    ContainerSetReal(c, LMAT_IOR, ContainerGetReal(m, MATERIAL_REFRACTION, 0.0f));
    ContainerSetReal(c, LMAT_NORMAL_REFLECTANCE, ContainerGetReal(m, MATERIAL_REFLECTANCE, 0.0f));
    return material;
}

void LumenoMaterialHelperTag::Refresh(HostMaterial* material) {
    if (!refreshPending) return;
    HostChannel* colour = MaterialGetChannel(material, MATERIAL_CHANNEL_COLOUR);
    if (HostNode* attached = ChannelAttached(colour)) NodeMessage(attached, NODE_MSG_UPDATE, nullptr);
    ChannelMessage(colour, NODE_MSG_UPDATE, nullptr);
    NodeMessage(material, NODE_MSG_UPDATE, nullptr);
    MaterialUpdate(material, 1, 1);
    NotifyChange(0);
    refreshPending = false;
}

bool LumenoMaterialHelperTag::DrawPreview(HostMaterial* material, HostSurface* surface) {
    const HostImage* preview = MaterialPreview(material, 0);
    if (!preview || !SurfaceIsValid(surface)) return false;
    const int32_t w = SurfaceWidth(surface);
    const int32_t h = SurfaceHeight(surface);
    HostImage* image = PictureCreate();
    if (!image) return false;
    const bool made = PictureInit(image, w, h, 24);
    if (made) {
        PictureScale(preview, image, 256, 0, 0);
        SurfaceDrawImage(surface, image, kDrawImageMode);
        if (w > 2) {
            SurfaceBegin(surface);
            SurfaceSetColour(surface, 244, 255, 108, 255);
            SurfaceRectangle(surface, 1, 1, w - 2, h - 2);
            SurfaceEnd(surface);
        }
    }
    PictureFree(image);
    return made;
}

bool LumenoMaterialHelperTag::Draw(HostTag* tag, HostSurface* surface) {
    HostMaterial* material = MirrorMaterial(tag);
    if (!material) return false;
    Refresh(material);
    return DrawPreview(material, surface);
}

void LumenoMaterialHelperTag::WriteBackMaterial(HostNode* node) {
    HostMaterial* material = LinkedMaterial(node);
    if (!material || material != shownMaterial) return;
    HostContainer* m = NodeContainer(material);
    ContainerSetVector(m, MATERIAL_COLOUR, Parameter(node, LMAT_COLOUR).vector);
    switch (Parameter(node, LMAT_KIND).integer) {
    case LMAT_KIND_DIFFUSE:
        Switch(material, MATERIAL_CHANNEL_REFLECTION, false);
        Switch(material, MATERIAL_CHANNEL_TRANSPARENCY, false);
        Switch(material, MATERIAL_CHANNEL_SPECULAR, false);
        Switch(material, MATERIAL_CHANNEL_SPECULAR_COLOUR, false);
        Switch(material, MATERIAL_CHANNEL_COLOUR, true);
        break;
    case LMAT_KIND_PHONG:
        Switch(material, MATERIAL_CHANNEL_SPECULAR_COLOUR, true);
        Switch(material, MATERIAL_CHANNEL_SPECULAR, true);
        Switch(material, MATERIAL_CHANNEL_COLOUR, true);
        ContainerSetVector(m, MATERIAL_COLOUR, Parameter(node, LMAT_PHONG_DIFFUSE).vector);
        ContainerSetVector(m, MATERIAL_SPECULAR_COLOUR, Parameter(node, LMAT_PHONG_SPECULAR).vector);
        ContainerSetReal(m, MATERIAL_SPECULAR_WIDTH, Parameter(node, LMAT_PHONG_EXPONENT).real / 10000.0f);
        Switch(material, MATERIAL_CHANNEL_TRANSPARENCY, false);
        Switch(material, MATERIAL_CHANNEL_REFLECTION, false);
        break;
    case LMAT_KIND_SPECULAR: {
        const bool transparent = Parameter(node, LMAT_TRANSPARENT).integer >= 1;
        Switch(material, MATERIAL_CHANNEL_TRANSPARENCY, transparent);
        Switch(material, MATERIAL_CHANNEL_REFLECTION, !transparent);
        ContainerSetReal(m, MATERIAL_REFLECTANCE, Parameter(node, LMAT_NORMAL_REFLECTANCE).real);
        ContainerSetReal(m, MATERIAL_REFRACTION, Parameter(node, LMAT_IOR).real);
        ContainerSetReal(m, MATERIAL_DISPERSION, Parameter(node, LMAT_CAUCHY_B_COEFF).real);
        ContainerSetVector(m, MATERIAL_TRANSMISSION, Parameter(node, LMAT_TRANSMISSION_COLOUR).vector);
        Switch(material, MATERIAL_CHANNEL_SPECULAR, false);
        Switch(material, MATERIAL_CHANNEL_SPECULAR_COLOUR, false);
        Switch(material, MATERIAL_CHANNEL_COLOUR, true);
        break;
    }
    default: break;
    }
    refreshPending = true;
}

void* AllocLumenoMaterialHelperTag() {
    LumenoMaterialHelperTag* tag = NewInHostMemory<LumenoMaterialHelperTag>();
    return tag ? AsInstance(tag) : nullptr;
}

bool RegisterLumenoMaterialHelperTag() {
    return RegisterNamed(kStringMaterialHelperTagName, [](const HostString* name) {
        return AddTagPlugin(kLumenoMaterialHelperTagId, name, 3, AllocLumenoMaterialHelperTag,
                            "Tlumenomaterialhelpertag", "lumenomaterialhelpertag.tif", 0);
    });
}
