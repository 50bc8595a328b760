#include "frame/host_api_images.h"

#include "frame/host_call.h"

using host_call::Call;
using host_call::CallVoid;

// Images
HostImage* PictureCreate() { return Call(&HostTable::image, &HostImageOps::create, nullptr); }
bool PictureInit(HostImage* image, int32_t width, int32_t height, int32_t depth) {
    return image && Call(&HostTable::image, &HostImageOps::init, false, image, width, height, depth);
}
int32_t PictureWidth(const HostImage* image) {
    return image ? Call(&HostTable::image, &HostImageOps::width, 0, image) : 0;
}
int32_t PictureHeight(const HostImage* image) {
    return image ? Call(&HostTable::image, &HostImageOps::height, 0, image) : 0;
}
void PictureScale(const HostImage* source, HostImage* dest, int32_t quality, int32_t flags,
                  int32_t reserved) {
    if (source && dest) CallVoid(&HostTable::image, &HostImageOps::scale, source, dest, quality, flags, reserved);
}
const HostImage* MaterialPreview(HostMaterial* material, int32_t flags) {
    return material ? Call(&HostTable::image, &HostImageOps::material_preview, nullptr, material, flags) : nullptr;
}
void PictureFree(HostImage* image) {
    if (image) CallVoid(&HostTable::image, &HostImageOps::free, image);
}

// Surfaces
bool SurfaceIsValid(const HostSurface* surface) {
    return surface && Call(&HostTable::surface, &HostSurfaceOps::is_valid, false, surface);
}
int32_t SurfaceWidth(const HostSurface* surface) {
    return surface ? Call(&HostTable::surface, &HostSurfaceOps::width, 0, surface) : 0;
}
int32_t SurfaceHeight(const HostSurface* surface) {
    return surface ? Call(&HostTable::surface, &HostSurfaceOps::height, 0, surface) : 0;
}
void SurfaceDrawImage(HostSurface* surface, const HostImage* image, int32_t mode) {
    if (surface && image) CallVoid(&HostTable::surface, &HostSurfaceOps::draw_image, surface, image, mode);
}
void SurfaceBegin(HostSurface* surface) {
    if (surface) CallVoid(&HostTable::surface, &HostSurfaceOps::begin, surface);
}
void SurfaceSetColour(HostSurface* surface, int32_t c1, int32_t c2, int32_t c3, int32_t c4) {
    if (surface) CallVoid(&HostTable::surface, &HostSurfaceOps::set_colour, surface, c1, c2, c3, c4);
}
void SurfaceRectangle(HostSurface* surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (surface) CallVoid(&HostTable::surface, &HostSurfaceOps::rectangle, surface, x1, y1, x2, y2);
}
void SurfaceEnd(HostSurface* surface) {
    if (surface) CallVoid(&HostTable::surface, &HostSurfaceOps::end, surface);
}
