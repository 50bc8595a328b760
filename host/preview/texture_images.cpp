#include "host/preview/texture_images.h"

#include <stb_image.h>

#include <memory>

namespace host {

std::optional<TextureImage> decodeTexture(const std::string& file) {
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(stbi_load(file.c_str(), &width, &height, &channels, 4),
                                                     stbi_image_free);
    if (!pixels || width <= 0 || height <= 0) return std::nullopt;
    TextureImage image;
    image.width = width;
    image.height = height;
    image.rgba.assign(pixels.get(), pixels.get() + static_cast<std::size_t>(width) * height * 4);
    return image;
}

} // namespace host
