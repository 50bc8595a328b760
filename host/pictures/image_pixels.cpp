#include "host/pictures/image_pixels.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "host/plugins/host_error.h"

namespace host {
namespace {

/// One source pixel's share in one destination pixel along an axis.
struct Tap {
    uint32_t at;
    float weight;
};

/// For each destination index along one axis, the source indices it draws from with weights
/// that sum to one. Shrinking: the source span the destination pixel covers (box filter);
/// enlarging: the two neighbours of its centre (linear); not smooth: the nearest one.
std::vector<std::vector<Tap>> axisTaps(uint32_t from, uint32_t to, bool smooth)
{
    std::vector<std::vector<Tap>> taps(to);
    const double ratio = static_cast<double>(from) / to;
    for (uint32_t d = 0; d < to; ++d) {
        std::vector<Tap>& list = taps[d];
        if (!smooth) {
            const auto s = static_cast<uint32_t>((d + 0.5) * ratio);
            list.push_back({std::min(s, from - 1), 1.0f});
        } else if (ratio > 1.0) {
            const double begin = d * ratio;
            const double end = begin + ratio;
            for (auto s = static_cast<uint32_t>(begin); s < from && s < end; ++s) {
                const double covered = std::min<double>(end, s + 1.0) - std::max<double>(begin, s);
                if (covered > 0)
                    list.push_back({s, static_cast<float>(covered / ratio)});
            }
        } else {
            const double centre = std::clamp((d + 0.5) * ratio - 0.5, 0.0, static_cast<double>(from - 1));
            const auto low = static_cast<uint32_t>(centre);
            const uint32_t high = std::min(low + 1, from - 1);
            const auto share = static_cast<float>(centre - low);
            list.push_back({low, 1.0f - share});
            if (high != low)
                list.push_back({high, share});
        }
    }
    return taps;
}

} // namespace

IconImage blankImage(int32_t width, int32_t height)
{
    if (width < 1 || height < 1 || width > MAX_IMAGE_SIDE || height > MAX_IMAGE_SIDE)
        throw HostError("an image of " + std::to_string(width) + " x " + std::to_string(height) +
                        " pixels cannot be made (each side 1 to " + std::to_string(MAX_IMAGE_SIDE) + ")");
    IconImage image;
    image.width = static_cast<uint32_t>(width);
    image.height = static_cast<uint32_t>(height);
    image.rgba.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
    for (std::size_t at = 3; at < image.rgba.size(); at += 4)
        image.rgba[at] = 255;
    return image;
}

void scaleImage(const IconImage& source, IconImage& dest, bool smooth)
{
    if (source.width == 0 || source.height == 0 || dest.width == 0 || dest.height == 0)
        return;
    // Separable: rows first into a float buffer of dest.width x source.height, then columns.
    const auto across = axisTaps(source.width, dest.width, smooth);
    const auto down = axisTaps(source.height, dest.height, smooth);
    std::vector<float> rows(static_cast<std::size_t>(dest.width) * source.height * 4);
    for (uint32_t y = 0; y < source.height; ++y)
        for (uint32_t x = 0; x < dest.width; ++x) {
            float* out = &rows[(static_cast<std::size_t>(y) * dest.width + x) * 4];
            for (const Tap& tap : across[x]) {
                const uint8_t* in = &source.rgba[(static_cast<std::size_t>(y) * source.width + tap.at) * 4];
                for (int c = 0; c < 4; ++c)
                    out[c] += tap.weight * in[c];
            }
        }
    for (uint32_t y = 0; y < dest.height; ++y)
        for (uint32_t x = 0; x < dest.width; ++x) {
            float sum[4] = {0, 0, 0, 0};
            for (const Tap& tap : down[y]) {
                const float* in = &rows[(static_cast<std::size_t>(tap.at) * dest.width + x) * 4];
                for (int c = 0; c < 4; ++c)
                    sum[c] += tap.weight * in[c];
            }
            uint8_t* out = &dest.rgba[(static_cast<std::size_t>(y) * dest.width + x) * 4];
            for (int c = 0; c < 4; ++c)
                out[c] = static_cast<uint8_t>(std::clamp(std::lround(sum[c]), 0L, 255L));
        }
}

} // namespace host
