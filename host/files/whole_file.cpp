#include "host/files/whole_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "host/plugins/host_error.h"

namespace host {
namespace {

std::string reason(int error)
{
    return std::strerror(error);
}

/// Writes everything to an open descriptor and closes it; answers 0 or the errno of the failure.
int writeAndClose(int fd, const std::vector<uint8_t>& bytes)
{
    std::size_t done = 0;
    int error = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    // A full disk may only show when the data leaves the cache.
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

void writeDirectly(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        throw HostError(reason(errno));
    if (const int error = writeAndClose(fd, bytes))
        throw HostError(reason(error));
}

void writeReplacing(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    // A short name of its own, so that a target name near the system's limit still has room.
    static std::atomic<unsigned long> counter{0};
    static const std::string process = std::to_string(::getpid());
    const std::string temporary =
        (path.parent_path() / (".lumeno-" + process + "-" + std::to_string(++counter) + ".part")).string();
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        throw HostError(reason(errno));
    int error = writeAndClose(fd, bytes);
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        throw HostError(reason(error));
    }
}

} // namespace

void writeWholeFile(const std::filesystem::path& given, const std::vector<uint8_t>& bytes)
{
    std::filesystem::path path = given;
    // One look at the name: a new file needs no more before its temporary is made.
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
            writeDirectly(path, bytes);
            return;
        }
        // Renaming would replace a file the user may not write. The owner's own write bit
        // answers that for the usual case without asking again.
        const bool ownWritable = info.st_uid == ::geteuid() && (info.st_mode & S_IWUSR) != 0;
        if (!ownWritable && ::access(path.c_str(), W_OK) != 0)
            throw HostError(reason(errno));
    }
    writeReplacing(path, bytes);
}

} // namespace host
