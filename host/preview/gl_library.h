// The OpenGL drawing is a library of its own, loaded only when a picture is drawn: OSMesa brings
// its shader compiler with it, tens of megabytes and a twentieth of a second at every start of a
// program that links it, which an export that draws nothing should not pay.
#pragma once

#include <string>

#include "host/pictures/png_file.h"
#include "host/preview/preview_scene.h"

#define LUMENO_GL_DRAW_ENTRY lumenoDrawPreview

namespace host {

/// The library's entry: draws into `picture`, or answers false with the reason in `error`.
using GlDrawEntry = bool (*)(const PreviewScene& scene, PictureSize size, RgbPicture& picture,
                             std::string& error) noexcept;
constexpr const char* glDrawEntryName = "lumenoDrawPreview";

/// The drawing itself, inside the library. Throws HostError.
RgbPicture drawWithOpenGl(const PreviewScene& scene, PictureSize size);

} // namespace host
