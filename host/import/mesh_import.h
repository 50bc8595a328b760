// One assimp mesh as a polygon object: its points in the host's frame, its triangles with their
// corners reversed (the mirror would otherwise turn their fronts inwards), the first set of
// texture coordinates, a texture tag of its material, and a light tag when the material emits.
#pragma once

#include <optional>

#include "host/import/material_import.h"
#include "host/import/model_frame.h"

struct aiMesh;

namespace host::import {

/// The light tag's plug-in ID and the parameters of its RGB spectrum.
constexpr int32_t lightTagId = 10004;
constexpr int32_t spectrumTypeParam = 1100, spectrumRgb = 1103, spectrumColourParam = 1200;

/// None when the mesh holds no triangle (only points or lines, which are counted as left out).
/// Throws ImportError for a point that is not a finite number.
std::optional<docfile::Object> meshObject(const aiMesh& mesh, const std::string& name, const std::string& path,
                                          const Frame& frame, const ImportedMaterials& materials,
                                          const ImportOptions& options, ImportedModel& model);

/// A tag or parameter value with a JSON-like path for messages.
docfile::Param numberedParam(const std::string& owner, int32_t id, docfile::Value value);

} // namespace host::import
