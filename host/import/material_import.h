// The model's materials as host materials: diffuse or base colour and its texture in channel 0,
// specular colour and exponent in channel 9, transparency or transmission in channel 2 with its
// index of refraction, a normal or height map in channel 6. Names are kept, told apart where
// two materials share one, since texture tags find their material by name.
#pragma once

#include <optional>
#include <vector>

#include "host/import/imported_model.h"

struct aiScene;

namespace host::import {

struct ImportedMaterials {
    std::vector<docfile::Material> materials;             // one per model material, in order
    std::vector<std::optional<docfile::Vector3>> emission; // per material: its emission colour
};

/// `modelFolder` is where the model's texture names are relative to; `collada` reads an opacity
/// of 0 as COLLADA exporters mean it (opaque).
ImportedMaterials importMaterials(const aiScene& scene, const std::filesystem::path& modelFolder,
                                  const ImportOptions& options, ImportedModel& model, bool collada = false);

} // namespace host::import
