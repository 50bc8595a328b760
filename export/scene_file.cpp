#include "export/scene_file.h"

#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

/// Whether an existing ordinary file may be written: opening it to append changes nothing.
bool MayWrite(const std::string& path) {
    std::FILE* probe = std::fopen(path.c_str(), "a");
    if (!probe) return false;
    std::fclose(probe);
    return true;
}

bool SameFileSystem(const fs::path& a, const fs::path& b) {
    struct stat first {}, second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev;
}

/// Creates the scene's temporary file: in the staging folder under the scene's name, or, when the
/// scene is a link to another file system (where no rename reaches), beside the linked file, with
/// a link to it in the staging folder so that the commit and a later export find it. "wx" fails
/// on any existing name, links included.
std::FILE* CreateTemporary(const char* path, const fs::path& target, ExportFiles& files) {
    char staged[kExportPathSize];
    if (!StagedPath(files, path, staged, sizeof staged)) return nullptr;
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    if (SameFileSystem(folder, files.staging)) return std::fopen(staged, "wx");
    // ".lumeno-KEY-R.new" gives ".lumeno-KEY-R.scene".
    const std::string staging = fs::path(files.staging).filename().string();
    const fs::path beside = folder / (staging.substr(0, staging.size() - 4) + ".scene");
    std::FILE* stream = std::fopen(beside.c_str(), "wx");
    if (stream && ::symlink(fs::absolute(beside).c_str(), staged) != 0) {
        std::fclose(stream);
        std::remove(beside.c_str());
        return nullptr;
    }
    return stream;
}

} // namespace

SceneFile::~SceneFile() {
    if (stream) std::fclose(stream);
}

bool OpenSceneFile(SceneFile& file, const char* path, ExportFiles& files) {
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
    file.stream = CreateTemporary(path, target, files);
    if (!file.stream) return false;
    file.staged = true;
    // The new file keeps the permissions of the one it replaces.
    if (fs::exists(status)) ::fchmod(fileno(file.stream), static_cast<mode_t>(status.permissions()));
    return true;
}

bool CloseSceneFile(SceneFile& file) {
    if (!file.stream) return false;
    const bool writeFailed = std::ferror(file.stream) != 0;
    const bool closeFailed = std::fclose(file.stream) != 0;
    file.stream = nullptr;
    return !writeFailed && !closeFailed;
}
