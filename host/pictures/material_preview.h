// A material's preview picture: a sphere in the material's colour, lit from the upper left in
// front of a checkered backdrop, as a material list shows it.
//
// - Colour: the vector 2100 when channel 0 (colour) is on, else the grey 0.8, the same colour
//   the 3DS files give such a material.
// - Highlight: when channel 9 (specular) is on, a highlight in the vector 3100 (white when
//   absent), the tighter the higher the real 3101 (0 to 1).
// - Textures, transparency and reflection are not shown.
//
// The picture is made on first need, kept with the material and lent to callers; it is made
// again when any of the values above has changed since (an update of the material, a write of
// its parameters or switches), at the latest when it is next asked for.
#pragma once

#include <cstdint>

#include "host/model/image.h"
#include "host/model/node.h"

namespace host {

/// The side of a preview picture in pixels.
constexpr int32_t PREVIEW_SIDE = 128;

/// Renders the preview of a material (which must be one).
IconImage renderMaterialPreview(const HostNode& material);

/// The material's preview, kept with it and brought up to date; nullptr for a node that is not
/// a material.
const HostImage* materialPreview(HostNode& material);

} // namespace host
