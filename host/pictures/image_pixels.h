// Pixels of images: making blank ones and scaling one into another.
#pragma once

#include <cstdint>

#include "host/resources/icon_image.h"

namespace host {

/// The largest side of an image a module may ask for; larger asks are refused before any
/// pixel is allocated.
constexpr int32_t MAX_IMAGE_SIDE = 16384;

/// An opaque black image of width x height (each 1 to MAX_IMAGE_SIDE). Throws HostError
/// otherwise.
IconImage blankImage(int32_t width, int32_t height);

/// Scales the whole of `source` into the whole of `dest`, keeping dest's size. Smooth scaling
/// averages the source pixels a destination pixel covers when shrinking and interpolates
/// between neighbours when enlarging; otherwise each destination pixel takes the nearest
/// source pixel. Either image without pixels leaves dest as it is.
void scaleImage(const IconImage& source, IconImage& dest, bool smooth);

} // namespace host
