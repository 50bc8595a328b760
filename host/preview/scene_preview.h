// The preview of a scene file: read it, draw it from its camera, save the picture as PNG.
#pragma once

#include <filesystem>
#include <optional>

#include "host/pictures/png_file.h"
#include "host/preview/preview_scene.h"

namespace host {

/// The picture's size: the one asked for, else the scene's `renderer_settings` width and height,
/// else 600 pixels wide and as high as the camera's aspect ratio makes it.
PictureSize previewSize(const PreviewScene& scene, std::optional<PictureSize> asked);

/// Reads the scene file and draws it (readPreviewScene, drawPreview).
RgbPicture previewScene(const std::filesystem::path& scene, std::optional<PictureSize> size);

/// Draws the scene file into the PNG file `picture`, written whole; nothing is written when the
/// scene cannot be read or drawn. Throws HostError naming the file and the reason.
void writeScenePreview(const std::filesystem::path& scene, const std::filesystem::path& picture,
                       std::optional<PictureSize> size);

} // namespace host
