// What an import says: what it made of the model and what it left out.
#pragma once

#include <string>
#include <vector>

#include "host/import/imported_model.h"

namespace host::import {

/// One line of what was imported ("12 objects (3 polygon objects, 1200 triangles), ..."), then
/// one line for each thing left out or changed, and the notes of the import.
std::vector<std::string> importReport(const ImportedModel& model);

} // namespace host::import
