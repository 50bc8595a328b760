// Icons: TIFF images decoded to 8-bit RGBA.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace host {

struct IconImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba; // width * height * 4 bytes, rows from the top

    /// The pixel at (x, y) as 0xRRGGBBAA; (0, 0) is the top-left corner.
    uint32_t pixel(uint32_t x, uint32_t y) const;
};

/// Decodes a TIFF file. A missing, empty or undecodable file throws ResourceError naming it,
/// with libtiff's own message; libtiff prints nothing.
IconImage loadIcon(const std::filesystem::path& tif);

/// Lets go of what decoding needed (lumeno-host loads libtiff with the first icon), once the
/// module has registered its plug-ins and with them its icons; an icon after that loads it again.
void releaseIconReading();

} // namespace host
