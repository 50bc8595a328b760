// The elements of the scene saver's settings that commands of lumeno-host read and set: its
// renderer folder and the last file a menu command exported to.
#pragma once

#include <cstdint>

namespace app {

constexpr int32_t rendererFolderId = 1000;
constexpr int32_t lastExportFileId = 1001;

} // namespace app
