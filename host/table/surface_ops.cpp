#include "host/model/image.h"
#include "host/pictures/surface.h"
#include "host/table/host_table_impl.h"
#include "host/table/table_guard.h"

namespace host {
namespace {

bool surfaceIsValid(const HostSurface* surface)
{
    return surface && surfaceValid(*surface);
}

int32_t surfaceWidth(const HostSurface* surface)
{
    return surfaceIsValid(surface) ? surface->picture.width : 0;
}

int32_t surfaceHeight(const HostSurface* surface)
{
    return surfaceIsValid(surface) ? surface->picture.height : 0;
}

void surfaceDrawImage(HostSurface* surface, const HostImage* image, int32_t mode)
{
    guardedVoid("surface.draw_image", [&] {
        if (surface && image && image->pixels)
            drawImage(*surface, *image->pixels, mode);
    });
}

void surfaceBegin(HostSurface* surface)
{
    if (surface)
        surface->drawing = true;
}

void surfaceSetColour(HostSurface* surface, int32_t c1, int32_t c2, int32_t c3, int32_t c4)
{
    if (surface)
        setColour(*surface, c1, c2, c3, c4);
}

void surfaceRectangle(HostSurface* surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    guardedVoid("surface.rectangle", [&] {
        if (surface)
            drawRectangle(*surface, x1, y1, x2, y2);
    });
}

void surfaceEnd(HostSurface* surface)
{
    if (surface)
        surface->drawing = false;
}

} // namespace

const HostSurfaceOps& surfaceOps()
{
    static const HostSurfaceOps ops = {surfaceIsValid, surfaceWidth,     surfaceHeight,
                                       surfaceDrawImage, surfaceBegin, surfaceSetColour,
                                       surfaceRectangle, surfaceEnd};
    return ops;
}

} // namespace host
