// `preview`: a scene file drawn from its camera into a PNG picture, and the same for `export`.
#pragma once

#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "host/preview/preview_scene.h"

namespace app {

/// `preview SCENE.xml -o PICTURE.png [--size WxH]`.
void addPreviewCommand(CLI::App& cli);

/// Reads "WxH" ("800x600"): both whole numbers of 1 to the largest side the preview draws.
/// Answers none for any other text.
std::optional<host::PictureSize> parsePictureSize(const std::string& text);

} // namespace app
