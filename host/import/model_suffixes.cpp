#include <assimp/Importer.hpp>

#include "host/import/model_reading.h"

namespace host::import {

bool readsModelSuffix(const std::string& suffix) { return Assimp::Importer().IsExtensionSupported(suffix); }

} // namespace host::import
