// `lumeno-host draw`: what a tag paints when the application shows it, saved as a picture.
#pragma once

#include <CLI/CLI.hpp>

namespace app {

/// `draw DOCUMENT --object PATH --tag NAME|ID [--size WxH] -o PICTURE.png`.
void addDrawCommand(CLI::App& cli);

} // namespace app
