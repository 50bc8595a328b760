#include "host/pictures/material_preview.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "host/model/build.h"

namespace host {
namespace {

constexpr int32_t CHANNEL_COLOUR = 0;
constexpr int32_t CHANNEL_SPECULAR = 9;
constexpr int32_t PARAM_COLOUR = 2100;
constexpr int32_t PARAM_SPECULAR_COLOUR = 3100;
constexpr int32_t PARAM_SPECULAR_WIDTH = 3101;
constexpr float DEFAULT_GREY = 0.8f;
constexpr int32_t CHECKER = 16; // pixels per square of the backdrop
constexpr int SAMPLES = 3;       // per pixel and axis, for a smooth outline

struct Look {
    HostVector colour{DEFAULT_GREY, DEFAULT_GREY, DEFAULT_GREY};
    bool highlight = false;
    HostVector highlightColour{1, 1, 1};
    float sharpness = 0; // 3101
};

bool channelOn(const HostNode& material, int32_t id)
{
    const MaterialChannel* channel = findChannel(material, id);
    return channel && channel->enabled;
}

Look lookOf(const HostNode& material)
{
    Look look;
    if (channelOn(material, CHANNEL_COLOUR))
        look.colour = material.params.getVector(PARAM_COLOUR, look.colour);
    look.highlight = channelOn(material, CHANNEL_SPECULAR);
    if (look.highlight) {
        look.highlightColour = material.params.getVector(PARAM_SPECULAR_COLOUR, look.highlightColour);
        look.sharpness = material.params.getReal(PARAM_SPECULAR_WIDTH, 0.0f);
    }
    return look;
}

/// The values as text, exactly, to tell whether a kept picture still shows them.
std::string lookKey(const Look& look)
{
    char text[256];
    std::snprintf(text, sizeof text, "%a %a %a %d %a %a %a %a", look.colour.x, look.colour.y, look.colour.z,
                  look.highlight ? 1 : 0, look.highlightColour.x, look.highlightColour.y,
                  look.highlightColour.z, look.sharpness);
    return text;
}

/// A colour component held to 0 to 1 (a value that is not a number counts as 0).
float unit(float value)
{
    return std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f;
}

struct Rgb {
    float r, g, b;
};

Rgb backdrop(int32_t x, int32_t y)
{
    const float grey = ((x / CHECKER + y / CHECKER) % 2 == 0) ? 0.30f : 0.42f;
    return {grey, grey, grey};
}

/// The sphere's shade at a point of the unit disc (x right, y up), or nothing outside it.
bool shade(const Look& look, float x, float y, Rgb& out)
{
    const float rr = x * x + y * y;
    if (rr > 1.0f)
        return false;
    const float z = std::sqrt(1.0f - rr);
    // Light from the upper left, in front.
    const float lx = -0.48f, ly = 0.62f, lz = 0.62f;
    const float diffuse = std::max(0.0f, x * lx + y * ly + z * lz);
    const float light = 0.12f + 0.88f * diffuse;
    out = {unit(look.colour.x) * light, unit(look.colour.y) * light, unit(look.colour.z) * light};
    if (look.highlight) {
        // Half vector between the light and the viewer (0, 0, 1).
        float hx = lx, hy = ly, hz = lz + 1.0f;
        const float length = std::sqrt(hx * hx + hy * hy + hz * hz);
        hx /= length, hy /= length, hz /= length;
        const float exponent = 4.0f + 200.0f * unit(look.sharpness);
        const float spot = std::pow(std::max(0.0f, x * hx + y * hy + z * hz), exponent);
        out.r += unit(look.highlightColour.x) * spot;
        out.g += unit(look.highlightColour.y) * spot;
        out.b += unit(look.highlightColour.z) * spot;
    }
    return true;
}

uint8_t byte(float value)
{
    return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

IconImage render(const Look& look)
{
    IconImage image;
    image.width = image.height = PREVIEW_SIDE;
    image.rgba.resize(static_cast<std::size_t>(PREVIEW_SIDE) * PREVIEW_SIDE * 4);
    const float centre = PREVIEW_SIDE / 2.0f;
    const float radius = PREVIEW_SIDE * 0.42f;
    for (int32_t py = 0; py < PREVIEW_SIDE; ++py)
        for (int32_t px = 0; px < PREVIEW_SIDE; ++px) {
            const Rgb back = backdrop(px, py);
            Rgb sum{0, 0, 0};
            for (int sy = 0; sy < SAMPLES; ++sy)
                for (int sx = 0; sx < SAMPLES; ++sx) {
                    const float x = (px + (sx + 0.5f) / SAMPLES - centre) / radius;
                    const float y = (centre - py - (sy + 0.5f) / SAMPLES) / radius;
                    Rgb sample = back;
                    shade(look, x, y, sample);
                    sum.r += sample.r, sum.g += sample.g, sum.b += sample.b;
                }
            uint8_t* out = &image.rgba[(static_cast<std::size_t>(py) * PREVIEW_SIDE + px) * 4];
            constexpr float n = SAMPLES * SAMPLES;
            out[0] = byte(sum.r / n);
            out[1] = byte(sum.g / n);
            out[2] = byte(sum.b / n);
            out[3] = 255;
        }
    return image;
}

} // namespace

IconImage renderMaterialPreview(const HostNode& material)
{
    return render(lookOf(material));
}

const HostImage* materialPreview(HostNode& material)
{
    if (!material.material)
        return nullptr;
    const Look look = lookOf(material);
    std::string key = lookKey(look);
    MaterialPreview& kept = material.material->preview;
    if (!kept.image)
        kept.image = std::make_unique<HostImage>();
    // Made again in the same image, so a caller holding the lent pointer sees the new picture.
    if (!kept.image->pixels || kept.madeFrom != key) {
        kept.image->pixels = render(look);
        kept.madeFrom = std::move(key);
    }
    return kept.image.get();
}

} // namespace host
