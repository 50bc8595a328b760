// Reading the 3DS mesh files a scene file names, with assimp, as triangles per material.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/preview/preview_scene.h"

namespace host {

/// The triangles of one mesh of a file that share a material, in the file's frame.
struct MeshPart {
    std::string material;          // the material name in the file, "" for none
    std::optional<Colour> diffuse; // that material's diffuse colour in the file
    std::vector<Vec3> corners;
    std::vector<TextureCoordinates> uvs; // the mesh's mapping coordinates per corner, or none
};

/// Reads every triangle of the mesh file. Throws HostError "cannot read FILE: REASON" when the file
/// is missing or not a mesh file assimp can read.
std::vector<MeshPart> loadMeshFile(const std::filesystem::path& file);

} // namespace host
