#include "host/model/image.h"
#include "host/model/node.h"
#include "host/pictures/image_pixels.h"
#include "host/pictures/material_preview.h"
#include "host/table/handle_counts.h"
#include "host/table/host_table_impl.h"
#include "host/table/table_guard.h"

namespace host {
namespace {

constexpr int32_t IMAGE_DEPTH_RGB = 24;
constexpr int32_t QUALITY_SMOOTH = 256;

HostImage* imageCreate()
{
    return guarded("image.create", static_cast<HostImage*>(nullptr), [] {
        auto* image = new HostImage;
        ++handleCounts().images;
        return image;
    });
}

bool imageInit(HostImage* image, int32_t width, int32_t height, int32_t depth)
{
    return guarded("image.init", false, [&] {
        if (!image || depth != IMAGE_DEPTH_RGB || width < 1 || height < 1)
            return false;
        // A size beyond what the host makes is answered like memory running short.
        if (width > MAX_IMAGE_SIDE || height > MAX_IMAGE_SIDE)
            return false;
        image->pixels = blankImage(width, height);
        return true;
    });
}

int32_t imageWidth(const HostImage* image)
{
    return image && image->pixels ? static_cast<int32_t>(image->pixels->width) : 0;
}

int32_t imageHeight(const HostImage* image)
{
    return image && image->pixels ? static_cast<int32_t>(image->pixels->height) : 0;
}

void imageScale(const HostImage* source, HostImage* dest, int32_t quality, int32_t, int32_t)
{
    guardedVoid("image.scale", [&] {
        if (!source || !dest || !source->pixels || !dest->pixels || source == dest)
            return;
        scaleImage(*source->pixels, *dest->pixels, quality >= QUALITY_SMOOTH);
    });
}

const HostImage* imageMaterialPreview(HostMaterial* material, int32_t)
{
    return guarded("image.material_preview", static_cast<const HostImage*>(nullptr), [&] {
        return material ? materialPreview(*material) : nullptr;
    });
}

void imageFree(HostImage* image)
{
    if (!image)
        return;
    delete image;
    --handleCounts().images;
}

} // namespace

const HostImageOps& imageOps()
{
    static const HostImageOps ops = {imageCreate, imageInit, imageWidth, imageHeight,
                                     imageScale, imageMaterialPreview, imageFree};
    return ops;
}

} // namespace host
