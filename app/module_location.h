// Where lumeno-host finds a module folder when none is given.
#pragma once

#include <filesystem>
#include <string>

namespace app {

/// The folder of the running executable.
std::filesystem::path executableFolder();
/// <executable folder>/../modules/<90|95>/LumenoExporter for release "9.0" or "9.5".
std::filesystem::path defaultModuleFolder(const std::string& release);

} // namespace app
