#include "host/pictures/surface.h"

#include <algorithm>

#include "host/pictures/image_pixels.h"

namespace host {
namespace {

uint8_t blend(uint8_t under, uint8_t over, uint32_t alpha)
{
    return static_cast<uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255);
}

void paint(HostSurface& surface, int32_t x, int32_t y)
{
    RgbPicture& p = surface.picture;
    if (x < 0 || y < 0 || x >= p.width || y >= p.height)
        return;
    uint8_t* at = &p.rgb[(static_cast<std::size_t>(y) * p.width + x) * 3];
    for (int c = 0; c < 3; ++c)
        at[c] = blend(at[c], surface.colour[c], surface.colour[3]);
}

uint8_t component(int32_t value)
{
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

} // namespace

HostSurface makeSurface(int32_t width, int32_t height)
{
    const IconImage blank = blankImage(width, height); // checks the size
    HostSurface surface;
    surface.picture.width = width;
    surface.picture.height = height;
    surface.picture.rgb.assign(static_cast<std::size_t>(blank.width) * blank.height * 3, 0);
    return surface;
}

bool surfaceValid(const HostSurface& surface)
{
    const RgbPicture& p = surface.picture;
    return p.width > 0 && p.height > 0 &&
           p.rgb.size() == static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 3;
}

bool surfacePainted(const HostSurface& surface)
{
    return surface.imagesDrawn > 0 || surface.shapesDrawn > 0;
}

void drawImage(HostSurface& surface, const IconImage& image, int32_t mode)
{
    if (!surfaceValid(surface) || image.width == 0 || image.height == 0)
        return;
    RgbPicture& p = surface.picture;
    const auto w = std::min<uint32_t>(image.width, static_cast<uint32_t>(p.width));
    const auto h = std::min<uint32_t>(image.height, static_cast<uint32_t>(p.height));
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t* in = &image.rgba[(static_cast<std::size_t>(y) * image.width + x) * 4];
            uint8_t* out = &p.rgb[(static_cast<std::size_t>(y) * p.width + x) * 3];
            for (int c = 0; c < 3; ++c)
                out[c] = blend(out[c], in[c], in[3]);
        }
    ++surface.imagesDrawn;
    surface.lastImageMode = mode;
}

void setColour(HostSurface& surface, int32_t red, int32_t green, int32_t blue, int32_t alpha)
{
    surface.colour = {component(red), component(green), component(blue), component(alpha)};
}

void drawRectangle(HostSurface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (!surface.drawing || !surfaceValid(surface))
        return;
    const RgbPicture& p = surface.picture;
    const int32_t left = std::min(x1, x2), right = std::max(x1, x2);
    const int32_t top = std::min(y1, y2), bottom = std::max(y1, y2);
    // Clipped to one pixel beyond the surface, so a huge rectangle costs no more than the surface.
    const int32_t fromX = std::max(left, -1), toX = std::min(right, p.width);
    const int32_t fromY = std::max(top, -1), toY = std::min(bottom, p.height);
    for (int32_t x = fromX; x <= toX; ++x) {
        paint(surface, x, top);
        if (bottom != top)
            paint(surface, x, bottom);
    }
    for (int32_t y = fromY; y <= toY; ++y) {
        if (y == top || y == bottom)
            continue;
        paint(surface, left, y);
        if (right != left)
            paint(surface, right, y);
    }
    ++surface.shapesDrawn;
}

} // namespace host
