// Pictures as PNG files: what the host shows a person instead of numbers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace host {

/// Rows of 8-bit red, green, blue pixels, top row first.
struct RgbPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb; // width * height * 3 bytes
};

/// Encodes the picture as PNG bytes (libpng). Throws HostError when the picture is empty or its
/// pixel block does not match its size.
std::vector<uint8_t> encodePng(const RgbPicture& picture);

/// Writes the picture as the PNG file `path`, whole or not at all (writeWholeFile). Throws
/// HostError with the reason.
void writePng(const std::filesystem::path& path, const RgbPicture& picture);

} // namespace host
