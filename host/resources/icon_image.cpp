#include "host/resources/icon_image.h"

#include <cstddef>

namespace host {

uint32_t IconImage::pixel(uint32_t x, uint32_t y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 4;
    return (uint32_t{rgba[at]} << 24) | (uint32_t{rgba[at + 1]} << 16) | (uint32_t{rgba[at + 2]} << 8) |
           uint32_t{rgba[at + 3]};
}

} // namespace host
