// Writing a file all or nothing: readers of the path never see a half-written file, and a write
// that fails leaves what was there before (or nothing) behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace host {

/// Writes `bytes` as the file `path`. A regular file (or a new one) is written beside the target
/// under a temporary name and renamed over it once complete. A device or pipe (which cannot be
/// replaced) is written directly. Throws HostError with the reason ("No space left on device",
/// "it is a folder", ...); the temporary file never stays behind.
void writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);

/// What goes into a file, written into an open descriptor: answers 0 or the errno of the first
/// write that failed. It may be asked twice (once more when the quick way cannot replace the file).
using FileContent = std::function<int(int fd)>;
/// The same, for content made as it is written: a large file is never held whole.
void writeWholeFile(const std::string& path, const FileContent& content);

/// Takes away the temporary files that writing `path` left behind in processes that were killed.
void removeStaleTemporaries(const std::filesystem::path& path);

/// Writes `count` bytes into the open file `fd`, however many calls it takes: 0 or the errno.
int writeAll(int fd, const uint8_t* data, std::size_t count);

} // namespace host
