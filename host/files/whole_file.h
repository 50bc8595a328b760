// Writing a file all or nothing: readers of the path never see a half-written file, and a write
// that fails leaves what was there before (or nothing) behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace host {

/// Writes `bytes` as the file `path`. A regular file (or a new one) is written beside the target
/// under a temporary name and renamed over it once complete. A device or pipe (which cannot be
/// replaced) is written directly. Throws HostError with the reason ("No space left on device",
/// "it is a folder", ...); the temporary file never stays behind.
void writeWholeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

} // namespace host
