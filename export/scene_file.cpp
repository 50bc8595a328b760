#include "export/scene_file.h"

#include <filesystem>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace {

/// Names to try before giving up: another save (or one that was killed) may hold a name.
constexpr int kTemporaryNameTries = 64;

/// Whether an existing ordinary file may be written: opening it to append changes nothing.
bool MayWrite(const std::string& path) {
    std::FILE* probe = std::fopen(path.c_str(), "a");
    if (!probe) return false;
    std::fclose(probe);
    return true;
}

/// Creates a new temporary file in `folder`: "wx" fails on any existing name, links included.
/// A short name of its own, so that a target name near the system's limit still has room.
bool CreateTemporary(SceneFile& file, const fs::path& folder) {
    std::random_device seed;
    std::mt19937 pick(seed());
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        char name[40];
        std::snprintf(name, sizeof name, ".lumeno-scene-%08x.part", static_cast<unsigned>(pick()));
        std::string candidate = (folder / name).string();
        file.stream = std::fopen(candidate.c_str(), "wx");
        if (file.stream) {
            file.temporary = candidate;
            return true;
        }
        std::error_code error;
        // Only a name that is taken is worth another try; a missing or locked folder is not.
        if (!fs::exists(fs::symlink_status(candidate, error))) return false;
    }
    return false;
}

} // namespace

SceneFile::~SceneFile() {
    if (stream) std::fclose(stream);
    if (!temporary.empty()) std::remove(temporary.c_str());
}

bool OpenSceneFile(SceneFile& file, const char* path) {
    if (!path || path[0] == '\0') return false;
    std::error_code error;
    fs::path target(path);
    // A link stays a link: the file it names is the one replaced.
    if (fs::is_symlink(fs::symlink_status(target, error))) {
        fs::path resolved = fs::canonical(target, error);
        if (!error) target = resolved;
    }
    file.target = target.string();
    const fs::file_status status = fs::status(target, error);
    if (fs::is_directory(status)) return false;
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        file.stream = std::fopen(file.target.c_str(), "w");
        return file.stream != nullptr;
    }
    // Renaming over it would replace a file the user may not write.
    if (fs::exists(status) && !MayWrite(file.target)) return false;
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    if (!CreateTemporary(file, folder)) return false;
    // The new file keeps the permissions of the one it replaces.
    if (fs::exists(status)) fs::permissions(file.temporary, status.permissions(), error);
    return true;
}

bool CommitSceneFile(SceneFile& file) {
    if (!file.stream) return false;
    const bool writeFailed = std::ferror(file.stream) != 0;
    // A full disk may only show when the data leaves the cache.
    const bool closeFailed = std::fclose(file.stream) != 0;
    file.stream = nullptr;
    if (writeFailed || closeFailed) return false;  // the temporary file goes with `file`
    if (file.temporary.empty()) return true;
    std::error_code error;
    fs::rename(file.temporary, file.target, error);
    if (error) return false;
    file.temporary.clear();
    return true;
}
