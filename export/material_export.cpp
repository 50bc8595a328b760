#include "export/material_export.h"

#include "export/lumeno_saver_data.h"
#include "export/xml_helpers.h"
#include "frame/host_api.h"
#include "frame/host_api_materials.h"
#include "frame/host_text.h"
#include "host_constants.h"
#include "tags/lumeno_material_helper_tag_ids.h"
#include "tags/material_helper_search.h"

namespace {

constexpr HostVector kGrey{0.8f, 0.8f, 0.8f};
constexpr int32_t kNameSize = 256;

bool On(HostMaterial* material, int32_t channel) { return MaterialChannelEnabled(material, channel); }

float Real(HostMaterial* material, int32_t id, float fallback) {
    return ContainerGetReal(NodeContainer(material), id, fallback);
}

HostVector Vector(HostMaterial* material, int32_t id, HostVector fallback) {
    return ContainerGetVector(NodeContainer(material), id, fallback);
}

void AddReal(TiXmlElement& form, const char* name, float value) { AddTextChild(&form, name, RealText(value).text); }

void AddVector(TiXmlElement& form, const char* name, HostVector value) {
    AddTextChild(&form, name, VectorText(value).text);
}

/// The colour of channel 0: vector 2100 when the channel is on, else the grey 0.8.
HostVector Colour(HostMaterial* material) {
    return On(material, MATERIAL_CHANNEL_COLOUR) ? Vector(material, MATERIAL_COLOUR, kGrey) : kGrey;
}

void WriteTransparent(TiXmlElement& form, HostMaterial* material) {
    AddReal(form, "normal_reflectance",
            On(material, MATERIAL_CHANNEL_SPECULAR) ? Real(material, MATERIAL_SPECULAR_WIDTH, 0.04f) : 0.04f);
    AddReal(form, "ior", Real(material, MATERIAL_REFRACTION, 0.25f));
    AddReal(form, "cauchy_b_coeff", Real(material, MATERIAL_DISPERSION, 0.25f));
    const HostVector t = On(material, MATERIAL_CHANNEL_COLOUR) ? Vector(material, MATERIAL_TRANSMISSION, HostVector{0, 0, 0})
                                                               : HostVector{0, 0, 0};
    AddVector(form, "rgb_absorptivity", HostVector{1.0f - t.x, 1.0f - t.y, 1.0f - t.z});
    AddTextChild(&form, "transparent", "true");
}

void WriteOpaque(TiXmlElement& form, HostMaterial* material) {
    AddReal(form, "normal_reflectance", Real(material, MATERIAL_REFLECTANCE, 0.04f));
    AddTextChild(&form, "ior", "1.0");
    AddTextChild(&form, "cauchy_b_coeff", "0.0");
    AddTextChild(&form, "rgb_absorptivity", "0 0 0");
    AddTextChild(&form, "transparent", "false");
}

/// The catalogue entry the material's helper tag chooses, or none.
const NkDataEntry* ChosenNkData(ExportContext& context, HostMaterial* material) {
    HostTag* tag = FindMaterialHelperTag(context, material);
    if (!tag) return nullptr;
    HostValue choice;
    NodeGetParameter(tag, LMAT_NK_DATA, &choice);
    if (!context.saver) return nullptr;
    const NkDataCatalogue& catalogue = context.saver->nkCatalogue;
    const int32_t entry = choice.integer - kNkDataFirstEntry;
    if (choice.integer <= LMAT_NK_DATA_NONE || catalogue.count == 0 || entry < 0 || entry >= catalogue.count)
        return nullptr;
    return &catalogue.entries[entry];
}

void WritePhong(ExportContext& context, TiXmlElement& form, HostMaterial* material) {
    if (const NkDataEntry* nk = ChosenNkData(context, material)) {
        AddTextChild(&form, "nk_data", nk->nkPath);
    } else {
        AddVector(form, "diffuse", Colour(material));
        AddVector(form, "specular", Vector(material, MATERIAL_SPECULAR_COLOUR, kGrey));
    }
    // The exponent is scaled at double precision before it is printed.
    char exponent[64];
    FormatC(exponent, sizeof exponent, "%f", static_cast<double>(Real(material, MATERIAL_SPECULAR_WIDTH, 0.5f)) * 10000.0);
    AddTextChild(&form, "exponent", exponent);
}

struct TextureSettings {
    HostTag* tag;  // the material's helper tag, or none
    bool resolve;  // write full paths
};

/// The texture path of a channel: its file name, or what the host's search makes of it.
bool TexturePath(ExportContext& context, HostMaterial* material, int32_t channel, bool resolve, char* path) {
    HostText name(ContainerGetString(ChannelData(MaterialGetChannel(material, channel)), CHANNEL_TEXTURE_NAME));
    name.ToBuffer(path, kNameSize);
    if (path[0] == '\0') return false;
    if (resolve) {
        HostFile folder(DocumentSettingFilename(context.document, DOCUMENT_PATH));
        HostFile file(FilenameFromText(name.get()));
        HostFile found(MaterialFindTexture(folder.get(), file.get(), nullptr));
        found.ToBuffer(path, kNameSize);
    }
    return true;
}

void WriteTexture(ExportContext& context, TiXmlElement* form, HostMaterial* material, const TextureSettings& settings,
                  int32_t channel, const char* element, int32_t gainId, int32_t exponentId) {
    if (!On(material, channel)) return;
    char path[kNameSize];
    if (!TexturePath(context, material, channel, settings.resolve, path)) return;
    float gain = 1.0f;
    float exponent = 2.3f;
    if (settings.tag) {
        gain = ContainerGetReal(NodeContainer(settings.tag), gainId, 1.0f);
        exponent = ContainerGetReal(NodeContainer(settings.tag), exponentId, 2.3f);
    }
    TiXmlElement texture(element);
    AddTextChild(&texture, "path", path);
    AddTextChild(&texture, "uv_set", "albedo");
    AddTextChild(&texture, "gain", RealText(gain).text);
    AddTextChild(&texture, "exponent", RealText(exponent).text);
    form->InsertEndChild(texture);
}

} // namespace

void WriteTextureMaps(ExportContext& context, TiXmlElement* formElement, HostMaterial* material) {
    if (!formElement || !material) return;
    TextureSettings settings{FindMaterialHelperTag(context, material), false};
    if (settings.tag) settings.resolve = ContainerGetBool(NodeContainer(settings.tag), LMAT_RESOLVE_TEXTURE_PATHS, false);
    WriteTexture(context, formElement, material, settings, MATERIAL_CHANNEL_COLOUR, "albedo_texture", LMAT_ALBEDO_GAIN,
                 LMAT_ALBEDO_EXPONENT);
    WriteTexture(context, formElement, material, settings, MATERIAL_CHANNEL_BUMP, "bump_map", LMAT_BUMP_GAIN,
                 LMAT_BUMP_EXPONENT);
}

void WriteMaterial(ExportContext& context, HostMaterial* material, TiXmlElement& materialElement) {
    // A catalogue that memory ran out for may lack the nk data a material names: a failed save.
    if (context.saver && context.saver->nkCatalogue.count == 0 && !LoadNkDataCatalogue(context.saver->nkCatalogue))
        context.meshRecords.hostFailed = true;

    const bool transparent = On(material, MATERIAL_CHANNEL_TRANSPARENCY);
    const bool opaque = !transparent && On(material, MATERIAL_CHANNEL_REFLECTION);
    const bool phong = !transparent && !opaque && On(material, MATERIAL_CHANNEL_SPECULAR);
    TiXmlElement form(transparent || opaque ? "specular" : phong ? "phong" : "diffuse");
    if (transparent)
        WriteTransparent(form, material);
    else if (opaque)
        WriteOpaque(form, material);
    else if (phong)
        WritePhong(context, form, material);
    else
        AddVector(form, "colour", Colour(material));
    WriteTextureMaps(context, &form, material);
    materialElement.InsertEndChild(form);
}

void WriteMaterialList(ExportContext& context, TiXmlElement* parent, HostDocument* document) {
    for (HostMaterial* material = DocumentFirstMaterial(document); material && parent; material = NodeNext(material)) {
        char name[kNameSize];
        HostText text(NodeName(material));
        text.ToBuffer(name, kNameSize);
        TiXmlElement element("material");
        AddTextChild(&element, "name", name);
        WriteMaterial(context, material, element);
        parent->InsertEndChild(element);
    }
    // The index belongs to this list: the next save walks its document anew.
    ReleaseHelperTagIndex(context.helperTags);
}
