#include "export/export_files.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "export/export_lock.h"

namespace {

/// Staging folders to try before giving up: a killed export of another scene may hold a name.
constexpr int kStagingNameTries = 64;

bool Join(char* out, size_t size, const char* folder, const char* name) {
    const int written = std::snprintf(out, size, "%s/%s", folder, name);
    return written > 0 && static_cast<size_t>(written) < size;
}

/// Whether `entry` of the open folder `folder` is an ordinary file (not following a link).
bool IsPlainFile(int folder, const dirent& entry) {
    if (entry.d_type != DT_UNKNOWN) return entry.d_type == DT_REG;
    struct stat info {};
    return ::fstatat(folder, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode);
}

bool IsDot(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

/// Calls `visit(entry)` for every entry of `folder` but "." and "..". False when it cannot be read.
template <class Visit>
bool EachEntry(int folder, Visit&& visit) {
    const int listed = ::dup(folder);
    if (listed < 0) return false;
    DIR* directory = ::fdopendir(listed);
    if (!directory) {
        ::close(listed);
        return false;
    }
    ::rewinddir(directory);
    bool whole = true;
    while (dirent* entry = ::readdir(directory))
        if (!IsDot(entry->d_name) && !visit(*entry)) {
            whole = false;
            break;
        }
    ::closedir(directory);
    return whole;
}

/// The file the scene's name stands for in `folder`: the file a link there names, else the name.
void SceneTarget(const char* folder, const char* sceneName, char (&target)[kExportPathSize]) {
    Join(target, sizeof target, folder, sceneName);
    struct stat info {};
    char resolved[PATH_MAX];
    if (::lstat(target, &info) == 0 && S_ISLNK(info.st_mode) && ::realpath(target, resolved) &&
        std::strlen(resolved) < sizeof target)
        std::memcpy(target, resolved, std::strlen(resolved) + 1);
}

/// The scene's entry in a staging or commit folder: the one every other entry's name begins with.
bool FindSceneEntry(int staged, char (&scene)[NAME_MAX + 1]) {
    scene[0] = '\0';
    size_t shortest = SIZE_MAX;
    EachEntry(staged, [&](const dirent& entry) {
        const size_t length = std::strlen(entry.d_name);
        if (length < shortest) {
            shortest = length;
            std::snprintf(scene, sizeof scene, "%s", entry.d_name);
        }
        return true;
    });
    return scene[0] != '\0';
}

/// Puts the staged scene `scene` onto `target`. The entry is the scene file itself, or, for a
/// scene linked to another file system, a link to its temporary file beside the linked file.
bool PlaceScene(int staged, const char* scene, const char* target) {
    struct stat info {};
    if (::fstatat(staged, scene, &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (!S_ISLNK(info.st_mode)) return ::renameat(staged, scene, AT_FDCWD, target) == 0;
    char temporary[PATH_MAX];
    const ssize_t length = ::readlinkat(staged, scene, temporary, sizeof temporary - 1);
    if (length <= 0) return false;
    temporary[length] = '\0';
    if (::rename(temporary, target) != 0) return false;
    ::unlinkat(staged, scene, 0);
    return true;
}

/// Takes away a staging folder with everything in it, and the temporary a link in it names.
void RemoveStaging(int folder, const char* name) {
    const int staged = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (staged >= 0) {
        EachEntry(staged, [staged](const dirent& entry) {
            if (entry.d_type == DT_LNK || entry.d_type == DT_UNKNOWN) {
                char temporary[PATH_MAX];
                const ssize_t length = ::readlinkat(staged, entry.d_name, temporary, sizeof temporary - 1);
                if (length > 0) {
                    temporary[length] = '\0';
                    ::unlink(temporary);
                }
            }
            ::unlinkat(staged, entry.d_name, 0);
            return true;
        });
        ::close(staged);
    }
    ::unlinkat(folder, name, AT_REMOVEDIR);
}

/// Finishes the commit that a killed export left in `commit`: the mesh files first, the scene last.
void FinishCommit(int folder, const char* folderPath, const char* commit) {
    const int staged = ::openat(folder, commit, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (staged < 0) return;
    char scene[NAME_MAX + 1];
    if (FindSceneEntry(staged, scene)) {
        EachEntry(staged, [&](const dirent& entry) {
            if (std::strcmp(entry.d_name, scene) != 0) ::renameat(staged, entry.d_name, folder, entry.d_name);
            return true;
        });
        char target[kExportPathSize];
        SceneTarget(folderPath, scene, target);
        PlaceScene(staged, scene, target);
    }
    ::close(staged);
    ::unlinkat(folder, commit, AT_REMOVEDIR);
}

/// Looks through the scene's folder: finishes killed commits, takes away killed exports' staging
/// folders, and notes the mesh file names that something other than a plain file holds.
bool TidyFolder(ExportFiles& files, int folder) {
    NameList commits, stagings;
    bool listed = EachEntry(folder, [&](const dirent& entry) {
        switch (ClassifyExportEntry(files.key, entry.d_name)) {
        case ExportEntry::Commit: return AddName(commits, entry.d_name);
        case ExportEntry::Staging: return AddName(stagings, entry.d_name);
        case ExportEntry::Other: break;
        }
        if (IsSceneMeshFileName(files.sceneName, entry.d_name) && !IsPlainFile(folder, entry))
            return AddName(files.obstacles, entry.d_name);
        return true;
    });
    for (int32_t i = 0; i < commits.count; ++i) FinishCommit(folder, files.folder, commits.At(i));
    for (int32_t i = 0; i < stagings.count; ++i) RemoveStaging(folder, stagings.At(i));
    return listed;
}

bool MakeStaging(ExportFiles& files, int folder) {
    std::random_device seed;
    std::mt19937 pick(seed());
    for (int attempt = 0; attempt < kStagingNameTries; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, ".lumeno-%s-%08x.new", files.key, static_cast<unsigned>(pick()));
        if (::mkdirat(folder, name, 0700) == 0) return Join(files.staging, sizeof files.staging, files.folder, name);
        if (errno != EEXIST) return false;
    }
    return false;
}

/// The commit's name for the staging folder: ".lumeno-KEY-R.new" becomes ".lumeno-KEY-R.commit".
void CommitName(const char* staging, char (&commit)[kExportPathSize]) {
    std::snprintf(commit, sizeof commit, "%.*s.commit", static_cast<int>(std::strlen(staging) - 4), staging);
}

/// Takes away the earlier export's mesh files of the scene that are not among `kept`.
int32_t RemoveEarlierMeshFiles(const ExportFiles& files, int folder, NameList& kept) {
    NameList earlier;
    EachEntry(folder, [&](const dirent& entry) {
        if (IsSceneMeshFileName(files.sceneName, entry.d_name) && IsPlainFile(folder, entry) &&
            !HasName(kept, entry.d_name))
            return AddName(earlier, entry.d_name);
        return true;
    });
    int32_t removed = 0;
    for (int32_t i = 0; i < earlier.count; ++i)
        if (::unlinkat(folder, earlier.At(i), 0) == 0) ++removed;
    return removed;
}

} // namespace

ExportFiles::~ExportFiles() {
    if (staging[0] != '\0' && !committed) {
        const char* name = std::strrchr(staging, '/') + 1;
        const int parent = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (parent >= 0) {
            RemoveStaging(parent, name);
            ::close(parent);
        }
    }
    ReleaseExportLock(lock, lockPath);
}

bool BeginExportFiles(ExportFiles& files, const char* scenePath) {
    const char* slash = std::strrchr(scenePath, '/');
    const char* name = slash ? slash + 1 : scenePath;
    if (name[0] == '\0') return false;
    std::snprintf(files.sceneName, sizeof files.sceneName, "%s", name);
    if (!slash)
        std::snprintf(files.folder, sizeof files.folder, ".");
    else if (slash == scenePath)
        std::snprintf(files.folder, sizeof files.folder, "/");
    else
        std::snprintf(files.folder, sizeof files.folder, "%.*s", static_cast<int>(slash - scenePath), scenePath);

    struct stat info {};
    if (::stat(scenePath, &info) == 0 && !S_ISREG(info.st_mode)) return !S_ISDIR(info.st_mode);

    ExportKey(files.sceneName, files.key);
    char lockName[64];
    std::snprintf(lockName, sizeof lockName, ".lumeno-%s.lock", files.key);
    if (!Join(files.lockPath, sizeof files.lockPath, files.folder, lockName)) return false;
    files.lock = TakeExportLock(files.lockPath);
    if (files.lock < 0) return false;
    const int folder = ::open(files.folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return false;
    const bool ready = TidyFolder(files, folder) && MakeStaging(files, folder);
    ::close(folder);
    return ready;
}

bool StagedPath(ExportFiles& files, const char* path, char* out, size_t size) {
    const char* slash = std::strrchr(path, '/');
    const char* name = slash ? slash + 1 : path;
    if (files.staging[0] != '\0' && !HasName(files.obstacles, name)) {
        const int written = std::snprintf(out, size, "%s/%s", files.staging, name);
        if (written > 0 && static_cast<size_t>(written) < size) return true;
    }
    std::snprintf(out, size, "%s", path);
    return false;
}

CommitResult CommitExportFiles(ExportFiles& files, const char* sceneTarget, int32_t& removed) {
    removed = 0;
    if (files.staging[0] == '\0') {
        files.committed = true;
        return CommitResult::Done;
    }
    NameList staged;
    int stagedFolder = ::open(files.staging, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (stagedFolder < 0) return CommitResult::Failed;
    const bool listed = EachEntry(stagedFolder, [&](const dirent& entry) { return AddName(staged, entry.d_name); });
    // The staged files reach the disk before any of them is put in place, so that even a power
    // cut during the commit leaves whole files for the next export to finish it with.
    ::syncfs(stagedFolder);
    ::close(stagedFolder);
    if (!listed) return CommitResult::NoMemory;

    char commit[kExportPathSize];
    CommitName(files.staging, commit);
    if (::rename(files.staging, commit) != 0) return CommitResult::Failed;
    std::snprintf(files.staging, sizeof files.staging, "%s", commit); // what is taken away if this fails
    const int folder = ::open(files.folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    stagedFolder = ::open(commit, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    bool placed = folder >= 0 && stagedFolder >= 0;
    int32_t moved = 0;
    for (int32_t i = 0; placed && i < staged.count; ++i)
        if (std::strcmp(staged.At(i), files.sceneName) != 0) {
            placed = ::renameat(stagedFolder, staged.At(i), folder, staged.At(i)) == 0;
            moved += placed;
        }
    placed = placed && PlaceScene(stagedFolder, files.sceneName, sceneTarget);
    if (stagedFolder >= 0) ::close(stagedFolder);
    // Once a file has moved, the folder stays as the journal that the next export finishes;
    // before that, the earlier export is untouched and the folder goes.
    files.committed = placed || moved > 0;
    if (placed) {
        ::rmdir(commit);
        removed = RemoveEarlierMeshFiles(files, folder, staged);
    }
    if (folder >= 0) ::close(folder);
    return placed ? CommitResult::Done : CommitResult::Failed;
}
