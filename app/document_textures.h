// A document file names its textures relative to its own folder (as `import` writes them); a
// scene written into another folder names them relative to its own, as the renderer reads them.
#pragma once

#include <filesystem>

#include "host/model/node.h"

namespace app {

/// Renames every relative texture file name of the document's materials that names a file in
/// `documentFolder` so that it names the same file from `sceneFolder`. Names of files that are
/// not there are kept, so that the export warns about them as given.
void resolveTextures(HostNode& document, const std::filesystem::path& documentFolder,
                     const std::filesystem::path& sceneFolder);

} // namespace app
