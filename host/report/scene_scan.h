// The quick reading of a scene file as the module prints it.
#pragma once

#include <filesystem>
#include <optional>

#include "host/report/scene_contents.h"

namespace host {

/// What the scene file holds, read in one pass that looks only at the marks of elements and
/// comments, with their names sorted later by the caller. None when the file holds anything this
/// pass does not take for certain: a character given by number, a CDATA section or document type,
/// a name outside ASCII, anything not well formed, a root other than `scene`. The XML parsers read
/// those. Throws HostError naming the file when it cannot be read.
std::optional<SceneContents> scanSceneContents(const std::filesystem::path& sceneFile);

} // namespace host
