// Colour textures for the preview, decoded by stb_image (PNG, JPEG, and the other kinds it reads:
// BMP, TGA, GIF, PSD, HDR, PIC, PNM). Part of lib/liblumeno_gl_drawing.so, so only drawing loads it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host {

/// Pixels of a texture: red, green, blue, alpha, the top row first.
struct TextureImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;
};

/// The decoded file; none when it is missing or not an image stb_image reads.
std::optional<TextureImage> decodeTexture(const std::string& file);

} // namespace host
