// Texture coordinates of one polygon, as the application's UVW tag keeps them.
#pragma once

#include "host_types.h"

namespace host {

/// The coordinates of a polygon's four corners a, b, c, d (a triangle's d repeats c). u runs
/// across a texture from its left edge, v down from its top edge, 0 to 1 over the texture; w is
/// kept but no texture uses it.
struct UvwPolygon {
    HostVector a, b, c, d;
};

} // namespace host
