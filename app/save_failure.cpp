#include "app/save_failure.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "host_constants.h"

namespace app {

namespace {

/// The exporter keeps the output path, its folder and its name in texts of 255 characters.
constexpr std::size_t maxExportPath = 255;

/// Opens the file for writing as the exporter would, without changing it: an existing file is
/// opened without truncating, a new one is created and removed again. Answers errno, 0 on success.
int probeOpen(const std::filesystem::path& file) {
    bool existed = ::access(file.c_str(), F_OK) == 0;
    int descriptor = existed ? ::open(file.c_str(), O_WRONLY) : ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (descriptor < 0) return errno;
    ::close(descriptor);
    if (!existed) ::unlink(file.c_str());
    return 0;
}

std::string openFailureReason(const std::filesystem::path& file) {
    namespace fs = std::filesystem;
    if (file.string().size() > maxExportPath)
        return "the path has " + std::to_string(file.string().size()) + " bytes; the exporter accepts at most " +
               std::to_string(maxExportPath);
    std::error_code error;
    fs::path folder = file.parent_path();
    if (!fs::exists(folder, error)) return "the folder " + folder.string() + " does not exist";
    if (!fs::is_directory(folder, error)) return folder.string() + " is not a folder";
    if (fs::is_directory(file, error)) return "it is a folder";
    if (int problem = probeOpen(file)) return std::strerror(problem);
    return "writing failed (disk full or I/O error)";
}

} // namespace

std::string saveFailureMessage(int32_t result, const std::filesystem::path& given, const std::filesystem::path& file) {
    std::string prefix = "cannot write " + given.string() + ": ";
    switch (result) {
    case FILE_RESULT_OPEN_FAILED: return prefix + openFailureReason(file);
    case FILE_RESULT_OUT_OF_MEMORY: return prefix + "the exporter ran out of memory";
    default: return prefix + "the exporter answered " + std::to_string(result);
    }
}

} // namespace app
