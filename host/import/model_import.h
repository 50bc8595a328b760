// Reading a model file with assimp into a document description, which the document builder then
// makes into a host document as it does for a document file. The rules are in
// docs/model-import.md.
#pragma once

#include <filesystem>

#include "host/import/imported_model.h"

namespace host::import {

/// The post-processing the import asks of assimp; tests read models with the same steps to
/// compare their triangles.
unsigned readSteps();

/// Imports the model. Throws ImportError naming the file: a model assimp cannot read (with its
/// reason), one without a node tree, or one with a point or placement that is not a finite number.
ImportedModel importModel(const std::filesystem::path& model, const ImportOptions& options);

} // namespace host::import
