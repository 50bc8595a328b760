// The two ends of a pipe of the reading child as the transfer's sink and source.
#pragma once

#include <functional>
#include <stdexcept>
#include <vector>

#include "host/import/model_transfer.h"

namespace host::import {

/// The other end of the pipe was closed: the process there ended, or was stopped.
class PipeClosed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Writes into a pipe: small values gather in a buffer, blocks larger than it go straight in.
/// Throws PipeClosed when the reading end is gone.
class PipeSink : public transfer::Sink {
public:
    explicit PipeSink(int fd) : fd_(fd) { buffer_.reserve(bufferSize); }
    void write(const void* data, std::size_t size) override;
    /// Sends what the buffer holds.
    void flush();

private:
    static constexpr std::size_t bufferSize = 64 * 1024;
    void writeAll(const char* data, std::size_t size);
    int fd_;
    std::vector<char> buffer_;
};

/// Reads from a pipe. Before each read it calls `wait`, which answers once the pipe can be read
/// or throws; large blocks are read straight into their place. Throws PipeClosed at the end of
/// the data.
class PipeSource : public transfer::Source {
public:
    PipeSource(int fd, std::function<void()> wait, uint64_t largestBlock)
        : fd_(fd), wait_(std::move(wait)), largestBlock_(largestBlock), buffer_(bufferSize) {}
    void read(void* data, std::size_t size) override;
    uint64_t largestBlock() const override { return largestBlock_; }
    /// Whether a request begins: false at the end of the data before any byte of it.
    bool more();

private:
    static constexpr std::size_t bufferSize = 64 * 1024;
    /// Reads what the pipe has, up to `size` bytes, into `into`; at least one.
    std::size_t readSome(char* into, std::size_t size);
    int fd_;
    std::function<void()> wait_;
    uint64_t largestBlock_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0, end_ = 0;
};

} // namespace host::import
