#include "host/import/material_import.h"

#include <cmath>

#include <assimp/material.h>
#include <assimp/scene.h>

#include "host/import/model_text.h"
#include "host/import/sibling_names.h"
#include "host/import/texture_names.h"

namespace host::import {

namespace {

namespace df = docfile;

// Host material parameters and channels.
constexpr int32_t colourChannel = 0, transparencyChannel = 2, bumpChannel = 6, specularChannel = 9;
constexpr int32_t colourParam = 2100, transparencyColourParam = 2400, refractionParam = 1005;
constexpr int32_t specularColourParam = 3100, specularExponentParam = 3101;
/// The export writes the phong exponent as this parameter times 10000.
constexpr double exponentUnit = 10000.0;

std::optional<aiColor3D> colour(const aiMaterial& material, const char* key, unsigned type, unsigned index) {
    aiColor3D value;
    if (material.Get(key, type, index, value) != AI_SUCCESS) return std::nullopt;
    if (!std::isfinite(value.r) || !std::isfinite(value.g) || !std::isfinite(value.b)) return std::nullopt;
    return value;
}

std::optional<double> number(const aiMaterial& material, const char* key, unsigned type, unsigned index) {
    ai_real value = 0;
    if (material.Get(key, type, index, value) != AI_SUCCESS || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<std::string> texture(const aiMaterial& material, aiTextureType type) {
    if (material.GetTextureCount(type) == 0) return std::nullopt;
    aiString path;
    if (material.GetTexture(type, 0, &path) != AI_SUCCESS || path.length == 0) return std::nullopt;
    return std::string(path.C_Str());
}

df::Vector3 vector(const aiColor3D& c) { return {c.r, c.g, c.b}; }

bool black(const aiColor3D& c) { return c.r <= 0 && c.g <= 0 && c.b <= 0; }

df::Param param(const std::string& path, int32_t id, df::Value value) {
    df::Param p;
    p.path = path + ".params." + std::to_string(id);
    p.id = id;
    p.value = std::move(value);
    return p;
}

df::Channel& channel(df::Material& material, int32_t number) {
    df::Channel& result = material.channels[number];
    result.path = material.path.text() + ".channels." + std::to_string(number);
    result.on = true;
    return result;
}

/// Sets the channel's texture, when the model names one the document can keep.
void setTexture(df::Material& material, int32_t number, const std::optional<std::string>& reference,
                TextureNames& names) {
    if (!reference) return;
    std::string name = names.name(*reference);
    if (!name.empty()) channel(material, number).texture = std::move(name);
}

df::Material convert(const aiMaterial& source, const std::string& name, const std::string& path, TextureNames& names,
                     bool collada) {
    df::Material material;
    material.path = path;
    material.name = name;

    auto base = colour(source, AI_MATKEY_BASE_COLOR);
    auto diffuse = base ? base : colour(source, AI_MATKEY_COLOR_DIFFUSE);
    if (diffuse) material.params.push_back(param(path, colourParam, vector(*diffuse)));
    channel(material, colourChannel);
    auto colourTexture = texture(source, aiTextureType_BASE_COLOR);
    setTexture(material, colourChannel, colourTexture ? colourTexture : texture(source, aiTextureType_DIFFUSE), names);

    auto specular = colour(source, AI_MATKEY_COLOR_SPECULAR);
    if (specular && !black(*specular)) {
        channel(material, specularChannel);
        material.params.push_back(param(path, specularColourParam, vector(*specular)));
        if (auto shininess = number(source, AI_MATKEY_SHININESS); shininess && *shininess > 0)
            material.params.push_back(param(path, specularExponentParam, *shininess / exponentUnit));
    }

    double opacity = number(source, AI_MATKEY_OPACITY).value_or(1.0);
    // COLLADA exporters write <transparency>0</transparency> with a white <transparent> colour
    // for a surface without transparency (the RGB_ZERO mode reads it so); assimp reads it in the
    // default A_ONE mode, as wholly invisible, which no model means.
    if (collada && opacity <= 0.0) opacity = 1.0;
    const double transmission = number(source, AI_MATKEY_TRANSMISSION_FACTOR).value_or(0.0);
    if ((opacity < 1.0 && opacity >= 0.0) || transmission > 0.0) {
        channel(material, transparencyChannel);
        const double through = std::max(transmission, 1.0 - opacity);
        auto filter = colour(source, AI_MATKEY_COLOR_TRANSPARENT);
        material.params.push_back(param(path, transparencyColourParam,
                                        filter && !black(*filter) ? vector(*filter) : df::Vector3{through, through, through}));
        if (auto ior = number(source, AI_MATKEY_REFRACTI); ior && *ior >= 1.0)
            material.params.push_back(param(path, refractionParam, *ior));
    }

    auto bump = texture(source, aiTextureType_NORMALS);
    setTexture(material, bumpChannel, bump ? bump : texture(source, aiTextureType_HEIGHT), names);
    return material;
}

/// The colour a material emits, when it emits at all.
std::optional<df::Vector3> emission(const aiMaterial& source) {
    auto emissive = colour(source, AI_MATKEY_COLOR_EMISSIVE);
    if (!emissive || black(*emissive)) return std::nullopt;
    const double intensity = number(source, AI_MATKEY_EMISSIVE_INTENSITY).value_or(1.0);
    if (!(intensity > 0)) return std::nullopt;
    return df::Vector3{emissive->r * intensity, emissive->g * intensity, emissive->b * intensity};
}

} // namespace

ImportedMaterials importMaterials(const aiScene& scene, const std::filesystem::path& modelFolder,
                                  const ImportOptions& options, ImportedModel& model, bool collada) {
    ImportedMaterials result;
    TextureNames names(scene, modelFolder, options, model);
    SiblingNames taken;
    for (unsigned i = 0; i < scene.mNumMaterials; ++i) {
        const aiMaterial& source = *scene.mMaterials[i];
        aiString given;
        std::string wanted = source.Get(AI_MATKEY_NAME, given) == AI_SUCCESS ? modelText(given) : "";
        const std::string name = taken.take(wanted, "Material " + std::to_string(i + 1));
        result.materials.push_back(convert(source, name, "materials[" + std::to_string(i) + "]", names, collada));
        result.emission.push_back(emission(source));
        for (const auto& [number, channel] : result.materials.back().channels)
            if (channel.texture) ++model.counts.textures;
    }
    model.counts.materials = static_cast<int>(result.materials.size());
    model.counts.renamed += taken.renamed();
    return result;
}

} // namespace host::import
