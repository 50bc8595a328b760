// Reading a scene file as the renderer reads it (TinyXML), with the mesh files it names (assimp),
// into what the preview draws.
#pragma once

#include <filesystem>

#include "host/preview/preview_scene.h"

namespace host {

/// Reads the scene file and every mesh file its `mesh` elements name (paths relative to the scene
/// file's folder). Models and mesh lights are placed (`pos` + `scale` times each point) and take
/// the look of their `material_name`, else of the material each face has in its mesh file (by name
/// among the scene's materials, else the file's own colour), else the default grey.
/// Throws HostError "FILE: REASON" when the file cannot be read, is not XML, has no `scene` or no
/// `camera`, names a mesh file that cannot be read or a mesh it does not define, or holds a value
/// that is not a number where one belongs.
PreviewScene readPreviewScene(const std::filesystem::path& file);

} // namespace host
