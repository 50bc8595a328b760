// Little-endian binary output into memory, and chunks that close themselves: a ChunkWriter
// writes a chunk's ID and a size placeholder when it is made and patches the size when it goes
// out of scope, so every chunk's size covers exactly what was written inside it.
//
//   ByteWriter out;
//   {
//       ChunkWriter main(out, 0x4D4D);
//       { ChunkWriter version(out, 0x0002); out.putU32(3); }
//   }   // both sizes are right here
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace host {

class ByteWriter {
public:
    void putU8(uint8_t value) { bytes_.push_back(value); }
    void putU16(uint16_t value);
    void putU32(uint32_t value);
    void putF32(float value);
    /// The text and a terminating zero.
    void putCString(std::string_view text);
    void reserve(std::size_t bytes) { bytes_.reserve(bytes); }
    /// Arrays at once, one resize and copy each.
    void putF32s(const float* values, std::size_t count);
    void putU16s(const uint16_t* values, std::size_t count);

    std::size_t size() const { return bytes_.size(); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    /// Hands the bytes over; the writer is empty afterwards.
    std::vector<uint8_t> release() { return std::move(bytes_); }
    void patchU32(std::size_t offset, uint32_t value);

    /// Set when a chunk grew past what its 32-bit size can say; the output is then unusable.
    bool overflowed() const { return overflowed_; }
    void markOverflow() { overflowed_ = true; }

private:
    std::vector<uint8_t> bytes_;
    bool overflowed_ = false;
};

class ChunkWriter {
public:
    ChunkWriter(ByteWriter& out, uint16_t id);
    ~ChunkWriter();
    ChunkWriter(const ChunkWriter&) = delete;
    ChunkWriter& operator=(const ChunkWriter&) = delete;

private:
    ByteWriter& out_;
    std::size_t start_;
};

} // namespace host
