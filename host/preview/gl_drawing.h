// Drawing a preview scene with offscreen OpenGL (Mesa's OSMesa): fixed-function, lit by a light
// from the camera and one from above, emitters unlit at full brightness.
#pragma once

#include "host/pictures/png_file.h"
#include "host/preview/preview_scene.h"

namespace host {

/// The largest picture side the preview draws.
constexpr int32_t maxPictureSide = 8192;

/// Draws the scene from its camera into a picture of the size, the camera's sensor filling the
/// whole picture. Throws HostError when no OpenGL context can be made for it.
RgbPicture drawPreview(const PreviewScene& scene, PictureSize size);

} // namespace host
