#include "host/files/export_staging.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "host/plugins/host_error.h"

namespace host {
namespace {

namespace fs = std::filesystem;

/// A staging or commit folder's name: ".lumeno-" + 16 digits + "-" + 8 digits + ".new" or ".commit".
struct StagingName {
    std::string_view key; // within the name it was read from
    bool commit = false;
};

bool isHexadecimal(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

/// The staging folder name that `text` begins with, and its length; none when it does not.
std::optional<std::pair<StagingName, std::size_t>> stagingNameAt(std::string_view text) {
    static constexpr std::string_view start = ".lumeno-";
    constexpr std::size_t key = 16, random = 8;
    const std::size_t dot = start.size() + key + 1 + random;
    if (text.size() <= dot || text.substr(0, start.size()) != start || !isHexadecimal(text.substr(start.size(), key)) ||
        text[start.size() + key] != '-' || !isHexadecimal(text.substr(start.size() + key + 1, random)) || text[dot] != '.')
        return std::nullopt;
    StagingName name{text.substr(start.size(), key)};
    for (const std::string_view kind : {std::string_view(".new"), std::string_view(".commit")})
        if (text.substr(dot, kind.size()) == kind) {
            name.commit = kind == ".commit";
            return std::make_pair(name, dot + kind.size());
        }
    return std::nullopt;
}

/// `name` as a whole is a staging or commit folder's name.
std::optional<StagingName> stagingName(std::string_view name) {
    auto found = stagingNameAt(name);
    if (!found || found->second != name.size()) return std::nullopt;
    return found->first;
}

std::string reason(int error) { return std::strerror(error); }

bool isCount(std::string_view text) {
    return !text.empty() && text.size() <= 10 && (text[0] != '0' || text.size() == 1) &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

/// The entries of a folder, by name; none when it cannot be read.
std::vector<std::string> entriesOf(const fs::path& folder) {
    std::vector<std::string> names;
    // Read by name alone: an export's folder may hold tens of thousands of files.
    std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), ::closedir);
    if (!listing) return names;
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    return names;
}

/// The file `file`'s name stands for: the file a link there names, else `file`.
fs::path resolvedTarget(const fs::path& file) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(file, error))) return file;
    const fs::path target = fs::canonical(file, error);
    return error ? file : target;
}

/// Puts a staged or committed `main` entry onto `target`: the file itself, or the temporary
/// file a link in its place names.
int placeMain(const fs::path& entry, const fs::path& target) {
    std::error_code error;
    fs::path from = entry;
    const bool linked = fs::is_symlink(fs::symlink_status(entry, error));
    if (linked) from = fs::read_symlink(entry, error);
    if (error) return EIO;
    if (::rename(from.c_str(), target.c_str()) != 0) return errno;
    if (linked) ::unlink(entry.c_str());
    return 0;
}

/// Takes away a staging folder, with the temporary file a link in it names.
void removeStaging(const fs::path& staging) {
    for (const std::string& name : entriesOf(staging)) {
        const fs::path entry = staging / name;
        std::error_code error;
        if (fs::is_symlink(fs::symlink_status(entry, error))) {
            const fs::path temporary = fs::read_symlink(entry, error);
            if (!error) ::unlink(temporary.c_str());
        }
        ::unlink(entry.c_str());
    }
    ::rmdir(staging.c_str());
}

/// Finishes a commit a killed export left: every file but the main one, then the main one, which
/// is the entry all others' names begin with (the shortest).
void finishCommit(const fs::path& folder, const fs::path& commit) {
    std::vector<std::string> names = entriesOf(commit);
    if (!names.empty()) {
        const auto main = std::min_element(names.begin(), names.end(),
                                           [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
        for (const std::string& name : names)
            if (name != *main) ::rename((commit / name).c_str(), (folder / name).c_str());
        placeMain(commit / *main, resolvedTarget(folder / *main));
    }
    ::rmdir(commit.c_str());
}

} // namespace

namespace {

/// Where the name of the folder that holds `path` starts and ends in its text, when that folder
/// is a staging folder. Read from the text: a save asks this of every file it writes.
std::optional<std::pair<std::size_t, std::size_t>> stagingFolderIn(const std::string& path) {
    // The C library's search runs a word at a time, where the string's own goes byte by byte.
    const auto lastSlash = [&path](std::size_t end) -> std::size_t {
        const void* found = ::memrchr(path.data(), '/', end);
        return found ? static_cast<std::size_t>(static_cast<const char*>(found) - path.data()) : std::string::npos;
    };
    const std::size_t slash = lastSlash(path.size());
    if (slash == std::string::npos || slash == 0) return std::nullopt;
    const std::size_t before = lastSlash(slash);
    const std::size_t from = before == std::string::npos ? 0 : before + 1;
    if (!stagingName(std::string_view(path).substr(from, slash - from))) return std::nullopt;
    return std::make_pair(from, slash);
}

} // namespace

bool isStagedPath(const std::string& path) { return stagingFolderIn(path).has_value(); }

std::string committedPath(const std::string& path) {
    const auto folder = stagingFolderIn(path);
    if (!folder) return path;
    return path.substr(0, folder->first) + path.substr(folder->second + 1);
}

std::string committedPathsIn(std::string text) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t slash = text.find("/.lumeno-"); slash != std::string::npos; slash = text.find("/.lumeno-", slash + 1)) {
        const auto found = stagingNameAt(std::string_view(text).substr(slash + 1));
        if (!found || slash + 1 + found->second >= text.size() || text[slash + 1 + found->second] != '/') continue;
        out.append(text, from, slash - from);
        from = slash + 1 + found->second;
        slash = from - 1;
    }
    return out + text.substr(from);
}

bool isSceneMeshFileName(const std::string& sceneName, const std::string& entry) {
    // Asked of every entry of the scene's folder: looked at in place.
    const std::string_view name = entry, end = ".3DS";
    if (name.size() <= sceneName.size() + 1 + end.size() || name.substr(0, sceneName.size()) != sceneName ||
        name[sceneName.size()] != '.' || name.substr(name.size() - end.size()) != end)
        return false;
    const std::string_view middle = name.substr(sceneName.size() + 1, name.size() - sceneName.size() - 1 - end.size());
    return isCount(middle) || middle == "smooth" || middle == "nosmooth" ||
           (middle.substr(0, 5) == "light" && isCount(middle.substr(5)));
}

std::string fileIdentity(const fs::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) return "none";
    return std::to_string(info.st_dev) + " " + std::to_string(info.st_ino);
}

std::set<std::string> sceneMeshFileNames(const fs::path& scene) {
    std::set<std::string> names;
    const std::string sceneName = scene.filename().string();
    for (std::string& name : entriesOf(scene.parent_path()))
        if (isSceneMeshFileName(sceneName, name)) names.insert(std::move(name));
    return names;
}

ExportLock::ExportLock(const fs::path& file, const std::string& kind)
    : path_(file.parent_path() / (".lumeno-" + exportKey(file.filename().string()) + "." + kind)) {
    for (;;) {
        descriptor_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (descriptor_ < 0) throw HostError("cannot write in " + file.parent_path().string() + ": " + reason(errno));
        int taken;
        do taken = ::flock(descriptor_, LOCK_EX);
        while (taken != 0 && errno == EINTR);
        // The holder before may have removed the file after this one opened it: take the name again.
        struct stat held {}, named {};
        if (taken == 0 && ::fstat(descriptor_, &held) == 0 && ::lstat(path_.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino)
            return;
        const int error = errno;
        ::close(descriptor_);
        if (taken != 0) throw HostError("cannot lock " + path_.string() + ": " + reason(error));
    }
}

ExportLock::~ExportLock() {
    ::unlink(path_.c_str());
    ::close(descriptor_);
}

void tidyInterruptedExports(const fs::path& file) {
    const fs::path folder = file.parent_path();
    const std::string key = exportKey(file.filename().string());
    std::vector<std::string> commits, stagings;
    for (const std::string& name : entriesOf(folder)) {
        const auto staging = stagingName(name);
        if (staging && staging->key == key) (staging->commit ? commits : stagings).push_back(name);
    }
    for (const std::string& name : commits) finishCommit(folder, folder / name);
    for (const std::string& name : stagings) removeStaging(folder / name);
}

bool interruptedExportPending(const fs::path& file) {
    const std::string key = exportKey(file.filename().string());
    for (const std::string& name : entriesOf(file.parent_path())) {
        const auto staging = stagingName(name);
        if (staging && staging->key == key && staging->commit) return true;
    }
    return false;
}

void finishInterruptedExport(const fs::path& file) {
    if (!interruptedExportPending(file)) return;
    ExportLock lock(file);
    tidyInterruptedExports(file);
}

StagedFiles::StagedFiles(const fs::path& main) : main_(main), lock_(main) {
    tidyInterruptedExports(main_);
    std::random_device seed;
    std::mt19937 pick(seed());
    const std::string key = exportKey(main_.filename().string());
    for (int attempt = 0; attempt < 64; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, ".lumeno-%s-%08x.new", key.c_str(), static_cast<unsigned>(pick()));
        const fs::path staging = main_.parent_path() / name;
        if (::mkdir(staging.c_str(), 0700) == 0) {
            staging_ = staging;
            return;
        }
        if (errno != EEXIST) break;
    }
    throw HostError("cannot write in " + main_.parent_path().string() + ": " + reason(errno));
}

StagedFiles::~StagedFiles() {
    if (!committed_) removeStaging(staging_);
}

fs::path StagedFiles::staged(const fs::path& final) const { return staging_ / final.filename(); }

int StagedFiles::commit(const std::function<bool(const std::string& name)>& earlier) {
    const fs::path folder = main_.parent_path();
    const fs::path target = resolvedTarget(main_);
    const std::string mainName = main_.filename().string();
    std::vector<std::string> names = entriesOf(staging_);
    // What cannot be replaced by a file is refused before anything moves.
    for (const std::string& name : names) {
        const fs::path place = name == mainName ? target : folder / name;
        std::error_code error;
        if (fs::is_directory(fs::symlink_status(place, error)))
            throw HostError("cannot write " + place.string() + ": it is a folder");
    }
    fs::path commit = staging_;
    commit.replace_extension(".commit");
    if (::rename(staging_.c_str(), commit.c_str()) != 0)
        throw HostError("cannot write " + main_.string() + ": " + reason(errno));
    staging_ = commit;
    committed_ = true; // from here on the folder is the journal the next export finishes
    for (const std::string& name : names)
        if (name != mainName && ::rename((commit / name).c_str(), (folder / name).c_str()) != 0)
            throw HostError("cannot put " + (folder / name).string() + " in place: " + reason(errno) +
                            "; the next export to " + main_.string() + " finishes this one");
    if (const int error = placeMain(commit / mainName, target))
        throw HostError("cannot put " + main_.string() + " in place: " + reason(error) + "; the next export to it finishes this one");
    ::rmdir(commit.c_str());
    const std::set<std::string> written(names.begin(), names.end());
    int removed = 0;
    for (const std::string& name : entriesOf(folder)) {
        std::error_code error;
        if (written.count(name) || !earlier(name) || !fs::is_regular_file(fs::symlink_status(folder / name, error))) continue;
        removed += ::unlink((folder / name).c_str()) == 0;
    }
    return removed;
}

} // namespace host
