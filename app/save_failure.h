// The reason a save through the scene saver failed, as the user should read it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace app {

/// "cannot write OUT: <reason>" for a saver's file result other than 0. `given` is the path as
/// the user wrote it, `file` the path handed to the saver. For result -1 the reason is found
/// by looking at the path and its folder.
std::string saveFailureMessage(int32_t result, const std::filesystem::path& given, const std::filesystem::path& file);

} // namespace app
