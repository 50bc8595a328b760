#include "host/files/whole_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h> // renameat2
#include <sys/stat.h>
#include <unistd.h>

#include "host/files/export_staging.h"
#include "host/plugins/host_error.h"

namespace host {
namespace {

std::string reason(int error)
{
    return std::strerror(error);
}

/// Writes the content to an open descriptor and closes it; answers 0 or the errno of the failure.
int writeAndClose(int fd, const FileContent& content)
{
    int error = content(fd);
    // A full disk may only show when the data leaves the cache.
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

/// Writes a file of an export's staging folder straight under its name; a failed one goes.
void writeStaged(const std::string& path, const FileContent& content)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        throw HostError(reason(errno));
    if (const int error = writeAndClose(fd, content)) {
        ::unlink(path.c_str());
        throw HostError(reason(error));
    }
}

void writeDirectly(const std::filesystem::path& path, const FileContent& content)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        throw HostError(reason(errno));
    if (const int error = writeAndClose(fd, content))
        throw HostError(reason(error));
}

/// A complete temporary file beside `path`, created exclusively under a short name of its own (so
/// that a target name near the system's limit still has room) that tells the target and the
/// process: ".lumeno-KEY-PID-N.part". Answers errno when it cannot be.
int writeTemporary(const std::filesystem::path& path, const FileContent& content, std::string& temporary)
{
    static std::atomic<unsigned long> counter{0};
    static const std::string process = std::to_string(::getpid());
    temporary = (path.parent_path() / (".lumeno-" + exportKey(path.filename().string()) + "-" + process + "-" +
                                       std::to_string(++counter) + ".part"))
                    .string();
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    const int error = writeAndClose(fd, content);
    if (error != 0)
        ::unlink(temporary.c_str());
    return error;
}

void writeReplacing(const std::filesystem::path& path, const FileContent& content)
{
    std::string temporary;
    int error = writeTemporary(path, content, temporary);
    if (error != 0)
        throw HostError(reason(error));
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
        ::unlink(temporary.c_str());
        throw HostError(reason(error));
    }
}

/// Renaming would replace a file the user may not write. The owner's own write bit answers
/// that for the usual case without asking again. Answers 0 or the errno that forbids it.
int replaceable(const std::filesystem::path& path, const struct stat& info)
{
    static const uid_t self = ::geteuid(); // asked once: a save replaces thousands of files
    const bool ownWritable = info.st_uid == self && (info.st_mode & S_IWUSR) != 0;
    return ownWritable || ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

/// The common cases, a new file or a plain file one may replace: the temporary is written first
/// and renamed only if nothing has the name, so a new file needs no look at the name at all.
/// Answers false, with nothing left behind, for everything else (a link, a folder, a device,
/// a folder one may not write), which the careful way then handles and reports.
/// Puts the complete temporary in the target's place; throws when that fails.
void putInPlace(const std::string& temporary, const std::filesystem::path& path)
{
    if (::rename(temporary.c_str(), path.c_str()) == 0)
        return;
    const int error = errno;
    ::unlink(temporary.c_str());
    throw HostError(reason(error));
}

bool writeNewOrPlain(const std::filesystem::path& path, const FileContent& content)
{
    // An export again into the same folder replaces the files of the one before: once a target
    // was there, the next one's look comes first, which spares a refused rename for each file.
    static bool expectExisting = false;
    struct stat info {};
    std::string temporary;
    if (expectExisting) {
        if (::lstat(path.c_str(), &info) == 0) {
            if (!S_ISREG(info.st_mode) || replaceable(path, info) != 0 || writeTemporary(path, content, temporary) != 0)
                return false;
            putInPlace(temporary, path);
            return true;
        }
        if (errno != ENOENT)
            return false;
        expectExisting = false;
    }
    if (writeTemporary(path, content, temporary) != 0)
        return false;
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    const int refused = errno; // EEXIST, or EINVAL where the file system cannot tell
    const bool absent = ::lstat(path.c_str(), &info) != 0 && errno == ENOENT;
    const bool plain = !absent && (refused == EEXIST || refused == EINVAL) && S_ISREG(info.st_mode);
    expectExisting = !absent;
    if ((absent && refused == EINVAL) || (plain && replaceable(path, info) == 0)) {
        putInPlace(temporary, path);
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

} // namespace

int writeAll(int fd, const uint8_t* data, std::size_t count)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd, data + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

void removeStaleTemporaries(const std::filesystem::path& path)
{
    const std::string start = ".lumeno-" + exportKey(path.filename().string()) + "-";
    std::error_code error;
    for (std::filesystem::directory_iterator it(path.parent_path(), error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= start.size() + 5 || name.compare(0, start.size(), start) != 0 ||
            name.compare(name.size() - 5, 5, ".part") != 0)
            continue;
        const long process = std::strtol(name.c_str() + start.size(), nullptr, 10);
        if (process > 0 && ::kill(static_cast<pid_t>(process), 0) != 0 && errno == ESRCH) ::unlink(it->path().c_str());
    }
}

void writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    writeWholeFile(path, [&bytes](int fd) { return writeAll(fd, bytes.data(), bytes.size()); });
}

void writeWholeFile(const std::string& given, const FileContent& content)
{
    // An export's staging folder is its own until the commit, which moves only complete files:
    // a file there needs no temporary of its own, and its path is never taken apart.
    if (isStagedPath(given)) {
        writeStaged(given, content);
        return;
    }
    std::filesystem::path path = given;
    if (writeNewOrPlain(path, content))
        return;
    struct stat info {};
    bool exists = ::lstat(path.c_str(), &info) == 0;
    if (exists && S_ISLNK(info.st_mode)) {
        // Replace the file the link names, not the link.
        std::error_code error;
        const std::filesystem::path target = std::filesystem::canonical(path, error);
        if (!error)
            path = target;
        exists = ::stat(path.c_str(), &info) == 0;
    }
    if (exists) {
        if (S_ISDIR(info.st_mode))
            throw HostError("it is a folder");
        if (!S_ISREG(info.st_mode)) {
            writeDirectly(path, content);
            return;
        }
        if (const int error = replaceable(path, info))
            throw HostError(reason(error));
    }
    writeReplacing(path, content);
}

} // namespace host
