#include "host/import/reading_pipe.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace host::import {

void PipeSink::write(const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    if (buffer_.size() + size <= bufferSize) {
        buffer_.insert(buffer_.end(), bytes, bytes + size);
        return;
    }
    flush();
    if (size < bufferSize)
        buffer_.insert(buffer_.end(), bytes, bytes + size);
    else
        writeAll(bytes, size);
}

void PipeSink::flush() {
    writeAll(buffer_.data(), buffer_.size());
    buffer_.clear();
}

void PipeSink::writeAll(const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd_, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw PipeClosed(std::strerror(errno));
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void PipeSource::read(void* data, std::size_t size) {
    char* into = static_cast<char*>(data);
    const std::size_t buffered = std::min(size, end_ - begin_);
    std::memcpy(into, buffer_.data() + begin_, buffered);
    begin_ += buffered;
    into += buffered;
    size -= buffered;
    while (size >= bufferSize) {
        const std::size_t got = readSome(into, size);
        into += got;
        size -= got;
    }
    while (size > 0) {
        begin_ = 0;
        end_ = readSome(buffer_.data(), bufferSize);
        const std::size_t taken = std::min(size, end_);
        std::memcpy(into, buffer_.data(), taken);
        begin_ = taken;
        into += taken;
        size -= taken;
    }
}

bool PipeSource::more() {
    if (begin_ < end_) return true;
    try {
        begin_ = 0;
        end_ = readSome(buffer_.data(), bufferSize);
        return true;
    } catch (const PipeClosed&) {
        return false;
    }
}

std::size_t PipeSource::readSome(char* into, std::size_t size) {
    for (;;) {
        wait_();
        ssize_t got = ::read(fd_, into, size);
        if (got > 0) return static_cast<std::size_t>(got);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        throw PipeClosed(got == 0 ? "end of the data" : std::strerror(errno));
    }
}

} // namespace host::import
