#include "host/preview/scene_preview.h"

#include <algorithm>
#include <cmath>

#include "host/plugins/host_error.h"
#include "host/preview/gl_drawing.h"
#include "host/preview/scene_file_reader.h"

namespace host {

PictureSize previewSize(const PreviewScene& scene, std::optional<PictureSize> asked) {
    if (asked) return *asked;
    if (scene.rendererSize) return *scene.rendererSize;
    constexpr int32_t width = 600;
    double height = std::round(width / static_cast<double>(scene.camera.aspectRatio));
    return {width, static_cast<int32_t>(std::clamp(height, 1.0, static_cast<double>(maxPictureSide)))};
}

RgbPicture previewScene(const std::filesystem::path& scene, std::optional<PictureSize> size) {
    PreviewScene read = readPreviewScene(scene);
    try {
        return drawPreview(read, previewSize(read, size));
    } catch (const HostError& error) {
        throw HostError(scene.string() + ": " + error.what());
    }
}

void writeScenePreview(const std::filesystem::path& scene, const std::filesystem::path& picture,
                       std::optional<PictureSize> size) {
    RgbPicture drawn = previewScene(scene, size);
    try {
        writePng(picture, drawn);
    } catch (const HostError& error) {
        throw HostError("cannot write " + picture.string() + ": " + error.what());
    }
}

} // namespace host
