#include "host/preview/material_looks.h"

#include <tinyxml.h>

#include <algorithm>
#include <string>

#include "host/preview/scene_values.h"

namespace host {
namespace {

constexpr Colour white{1, 1, 1};
/// How much of what lies behind shows through a transparent material in the preview.
constexpr float glassOpacity = 0.35f;

float unit(float value) { return std::clamp(value, 0.0f, 1.0f); }

Colour colourOf(Vec3 v) { return {unit(v.x), unit(v.y), unit(v.z)}; }

} // namespace

Look materialLook(const TiXmlElement& material) {
    Look look{defaultGrey, false, {}, 1};
    const TiXmlElement* form = nullptr;
    if ((form = material.FirstChildElement("diffuse"))) {
        look.colour = colourOf(vectorChild(*form, "colour", Vec3{0.8f, 0.8f, 0.8f}));
    } else if ((form = material.FirstChildElement("phong"))) {
        look.colour = colourOf(vectorChild(*form, "diffuse", Vec3{0.8f, 0.8f, 0.8f}));
    } else if ((form = material.FirstChildElement("specular"))) {
        if (childText(*form, "transparent").value_or("") == "true") {
            Vec3 absorbed = vectorChild(*form, "rgb_absorptivity", Vec3{0, 0, 0});
            look.colour = colourOf({1 - absorbed.x, 1 - absorbed.y, 1 - absorbed.z});
            look.opacity = glassOpacity;
        }
    }
    if (const TiXmlElement* texture = form ? form->FirstChildElement("albedo_texture") : nullptr)
        look.texture = childText(*texture, "path").value_or("");
    return look;
}

Look emitterLook(const TiXmlElement* spectrum) {
    Look look{white, true, {}, 1};
    const TiXmlElement* rgb = spectrum ? spectrum->FirstChildElement("rgb") : nullptr;
    if (!rgb) return look;
    Vec3 colour = vectorChild(*rgb, "rgb");
    float strongest = std::max({colour.x, colour.y, colour.z});
    // The emitted strength is the renderer's to show; the preview keeps only the hue.
    if (strongest > 0) look.colour = colourOf({colour.x / strongest, colour.y / strongest, colour.z / strongest});
    else look.colour = {0, 0, 0};
    return look;
}

} // namespace host
