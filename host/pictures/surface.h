// Drawing surfaces: what the host hands to a tag's Draw. A surface holds opaque RGB pixels (a
// fresh one is black) that the host can save as PNG; coordinates are pixels from the top left.
// Shapes are drawn only between begin and end, as the application's drawing does; images at
// any time. Whatever falls outside the surface is clipped.
#pragma once

#include <array>
#include <cstdint>

#include "host/pictures/png_file.h"
#include "host/resources/icon_image.h"

struct HostSurface {
    host::RgbPicture picture;        // no pixels: the surface is not valid
    bool drawing = false;            // between begin and end
    std::array<uint8_t, 4> colour{255, 255, 255, 255}; // red, green, blue, alpha
    int32_t imagesDrawn = 0;         // what the tag painted, so the host can tell "nothing"
    int32_t shapesDrawn = 0;
    int32_t lastImageMode = -1;      // the mode of the last image drawn (128 or 0), -1: none
};

namespace host {

/// A valid, black surface of width x height (each 1 to MAX_IMAGE_SIDE). Throws HostError
/// otherwise.
HostSurface makeSurface(int32_t width, int32_t height);

bool surfaceValid(const HostSurface& surface);
/// Whether anything was painted on the surface (an image or a shape).
bool surfacePainted(const HostSurface& surface);

/// Copies the image onto the surface with its top left at (0, 0), blended by its alpha.
void drawImage(HostSurface& surface, const IconImage& image, int32_t mode);
/// The drawing colour, each component held to 0 to 255; alpha 255 paints opaque.
void setColour(HostSurface& surface, int32_t red, int32_t green, int32_t blue, int32_t alpha);
/// The outline (one pixel wide) of the rectangle with the corners (x1, y1) and (x2, y2), both
/// included, in either order; ignored outside begin and end.
void drawRectangle(HostSurface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2);

} // namespace host
