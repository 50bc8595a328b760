#include "host/documents/document_text.h"

#include <cerrno>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "host/documents/document_error.h"

namespace host {
namespace {

std::size_t pageSize() {
    static const std::size_t size = std::size_t(::sysconf(_SC_PAGESIZE));
    return size;
}

/// Reads up to `length` bytes; answers how many, or -1 with errno.
long readUpTo(int fd, char* into, std::size_t length) {
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::read(fd, into + done, length - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += std::size_t(n);
    }
    return long(done);
}

/// Closes the descriptor however the reading ends.
struct Descriptor {
    int fd;
    ~Descriptor() { ::close(fd); }
};

} // namespace

DocumentText::DocumentText(std::filesystem::path file) : file_(std::move(file)) { read(); }

DocumentText::~DocumentText() { free(); }

void DocumentText::free() {
    if (mapped_) ::munmap(data_, mapped_);
    data_ = nullptr;
    size_ = mapped_ = released_ = 0;
    std::string().swap(growing_);
}

void DocumentText::read() {
    free();
    const std::string name = file_.string();
    errno = 0;
    const Descriptor in{::open(name.c_str(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0) throw DocumentError(name, "", std::string("cannot open the file: ") + std::strerror(errno));
    struct stat info {};
    const bool sized = ::fstat(in.fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0;
    if (sized) {
        // One page more than the file, so that a file that grew shows at once.
        const std::size_t length = std::size_t(info.st_size) + 1;
        const std::size_t rounded = (length + pageSize() - 1) / pageSize() * pageSize();
        void* memory = ::mmap(nullptr, rounded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) throw std::bad_alloc();
        data_ = static_cast<char*>(memory);
        mapped_ = rounded;
        const long got = readUpTo(in.fd, data_, length);
        if (got < 0) throw DocumentError(name, "", "cannot read the file");
        size_ = std::size_t(got);
        if (size_ < length) return;
        growing_.assign(data_, size_); // it grew: read the rest the plain way
        ::munmap(data_, mapped_);
        mapped_ = 0;
    }
    char chunk[1 << 16];
    for (long got; (got = readUpTo(in.fd, chunk, sizeof chunk)) != 0;) {
        if (got < 0) throw DocumentError(name, "", "cannot read the file");
        growing_.append(chunk, std::size_t(got));
    }
    data_ = growing_.data();
    size_ = growing_.size();
}

void DocumentText::release(std::size_t offset) {
    if (!mapped_) return;
    const std::size_t end = offset / pageSize() * pageSize();
    if (end <= released_) return;
    ::madvise(data_ + released_, end - released_, MADV_DONTNEED);
    released_ = end;
}

void DocumentText::reload() {
    if (released_) read();
}

} // namespace host
