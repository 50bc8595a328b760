// Forwarding functions of the host's image and drawing-surface groups. A host without pictures
// leaves those groups out: every function then answers none, false or 0 and draws nothing.
#pragma once

#include <cstdint>

#include "host_table.h"

// Images with pixels (not the registry's icon images)
HostImage* PictureCreate();
bool PictureInit(HostImage* image, int32_t width, int32_t height, int32_t depth);
int32_t PictureWidth(const HostImage* image);
int32_t PictureHeight(const HostImage* image);
void PictureScale(const HostImage* source, HostImage* dest, int32_t quality, int32_t flags,
                  int32_t reserved);
/// A material's preview picture, lent by the host, or none.
const HostImage* MaterialPreview(HostMaterial* material, int32_t flags);
void PictureFree(HostImage* image);

// Drawing surfaces
bool SurfaceIsValid(const HostSurface* surface);
int32_t SurfaceWidth(const HostSurface* surface);
int32_t SurfaceHeight(const HostSurface* surface);
void SurfaceDrawImage(HostSurface* surface, const HostImage* image, int32_t mode);
void SurfaceBegin(HostSurface* surface);
void SurfaceSetColour(HostSurface* surface, int32_t c1, int32_t c2, int32_t c3, int32_t c4);
void SurfaceRectangle(HostSurface* surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void SurfaceEnd(HostSurface* surface);
