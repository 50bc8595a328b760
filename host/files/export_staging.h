// The exporter's own files beside a scene file "NAME", which an export replaces as a whole:
//   ".lumeno-KEY.lock"        held (flock) while an export to NAME runs
//   ".lumeno-KEY-R.new/"      the files of a running export, each under its final name
//   ".lumeno-KEY-R.commit/"   the same once complete; the commit moves the other files into the
//                             folder, then NAME itself (onto the file a link at NAME names)
// KEY is 16 hexadecimal digits made from NAME (FNV-1a), R 8 random ones. The module writes its
// scene files this way; the host writes the files of an import (a document and its embedded
// textures) the same way, and finishes an export that was killed in its commit before it reads
// the scene. A link in a staging folder stands for NAME's temporary file beside a linked file on
// another file system.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <string_view>

namespace host {

/// The 16 hexadecimal digits of `name`'s key (FNV-1a: the same from one run and machine to the next).
inline std::string exportKey(std::string_view name) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : name) hash = (hash ^ c) * 1099511628211ull;
    static const char digits[] = "0123456789abcdef";
    std::string key(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) key[static_cast<size_t>(i)] = digits[hash & 15];
    return key;
}

/// A path inside an export's staging folder, as the file will be named once the export has
/// committed: "D/.lumeno-KEY-R.new/a.xml.0.3DS" is "D/a.xml.0.3DS". Any other path stays.
std::string committedPath(const std::string& path);
/// Whether `path` is inside an export's staging folder.
bool isStagedPath(const std::string& path);
/// The same for every staged path within a text (a message that names files).
std::string committedPathsIn(std::string text);

/// Whether `entry` is a name the exporter gives a mesh file of the scene `sceneName`:
/// "NAME.%d.3DS", "NAME.smooth.3DS", "NAME.nosmooth.3DS" or "NAME.light%d.3DS".
bool isSceneMeshFileName(const std::string& sceneName, const std::string& entry);

/// Which file a name stands for now: its device and inode ("none" when there is none). A commit
/// puts a new file in place, so the identity tells whether an export changed the scene.
std::string fileIdentity(const std::filesystem::path& file);

/// The names of the scene's mesh files that are in its folder now.
std::set<std::string> sceneMeshFileNames(const std::filesystem::path& scene);

/// A lock of the exports to one file, ".lumeno-KEY.KIND" beside it: "lock" is the one the module
/// takes for the scene and its mesh files; waits while another process holds it.
class ExportLock {
public:
    /// Throws HostError naming the folder when the lock file cannot be made.
    explicit ExportLock(const std::filesystem::path& file, const std::string& kind = "lock");
    ~ExportLock();
    ExportLock(const ExportLock&) = delete;
    ExportLock& operator=(const ExportLock&) = delete;

private:
    std::filesystem::path path_;
    int descriptor_ = -1;
};

/// Finishes an export to `file` that was killed in its commit, and takes away the staging
/// folders of exports to it that were killed before; the caller holds the file's lock.
void tidyInterruptedExports(const std::filesystem::path& file);
/// Whether an export to `file` left a commit that is not finished.
bool interruptedExportPending(const std::filesystem::path& file);
/// Before `file` is read: finishes an export to it that was killed in its commit, under the
/// lock. Does nothing (and needs no right to write) when there is none.
void finishInterruptedExport(const std::filesystem::path& file);

/// An export of files that replaces the earlier one as a whole: `main` and the files that go with
/// it are written into a staging folder beside `main` and put in place by commit(), `main` last.
/// Until then the earlier files stay as they were; a failure or a kill leaves nothing behind that
/// the next export to `main` does not take away.
class StagedFiles {
public:
    /// Takes the lock of `main`, tidies what interrupted exports left and makes the staging
    /// folder. Throws HostError naming the folder when it cannot.
    explicit StagedFiles(const std::filesystem::path& main);
    /// Takes away the staging folder unless committed.
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    /// Where the file that goes to `final` (beside `main`, or `main` itself) is written.
    std::filesystem::path staged(const std::filesystem::path& final) const;

    /// Puts the files in place, `main` last, then removes the files beside it that `earlier`
    /// says belong to an earlier export of `main` and that this one did not write. Answers how
    /// many it removed. Throws HostError naming a file that cannot be put in place; nothing has
    /// changed then.
    int commit(const std::function<bool(const std::string& name)>& earlier);

private:
    std::filesystem::path main_;
    ExportLock lock_;
    std::filesystem::path staging_;
    bool committed_ = false;
};

} // namespace host
