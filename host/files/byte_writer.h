// Little-endian binary output, and chunks that close themselves: a ChunkWriter writes a chunk's
// ID and size when it is made, and the size covers exactly what was written inside it.
//
// Into memory, the size is a placeholder patched when the chunk goes out of scope:
//
//   ByteWriter out;
//   {
//       ChunkWriter main(out, 0x4D4D);
//       { ChunkWriter version(out, 0x0002); out.putU32(3); }
//   }   // both sizes are right here
//
// A large file is written without holding it: the same writes go once into a counting writer,
// which keeps only the chunk sizes, and then into a streaming one, which writes each size as the
// chunk starts and the bytes through a small buffer into an open file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace host {

class ByteWriter {
public:
    /// Into memory.
    ByteWriter() = default;
    /// Counts the bytes and records the chunk sizes; keeps nothing else.
    static ByteWriter counting();
    /// Streams into the open file `fd`, with the chunk sizes a counting pass over the same
    /// writes recorded.
    ByteWriter(int fd, std::vector<uint32_t> chunkSizes);

    void putU8(uint8_t value) { put(&value, 1); }
    void putU16(uint16_t value)
    {
        const uint8_t b[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
        put(b, 2);
    }
    void putU32(uint32_t value)
    {
        const uint8_t b[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
        put(b, 4);
    }
    void putF32(float value);
    /// The text and a terminating zero.
    void putCString(std::string_view text);
    /// Makes room in memory for a file of `bytes`, so that no write has to grow it.
    void reserve(std::size_t bytes)
    {
        if (mode_ == Mode::Memory && bytes > bytes_.size()) bytes_.resize(bytes);
    }
    /// Arrays at once, one resize and copy each.
    void putF32s(const float* values, std::size_t count);
    void putU16s(const uint16_t* values, std::size_t count);

    /// Everything written so far.
    std::size_t size() const { return written_; }
    /// Hands the bytes over; the writer is empty afterwards.
    std::vector<uint8_t> release()
    {
        bytes_.resize(written_);
        return std::move(bytes_);
    }
    /// The chunk sizes a counting writer recorded, in the order the chunks started.
    const std::vector<uint32_t>& chunkSizes() const { return sizes_; }
    /// A streaming writer's last bytes go out: answers 0, or the errno of the first write that
    /// failed (EIO when the writes did not match the counted ones).
    int finish();

    /// Set when a chunk grew past what its 32-bit size can say; the output is then unusable.
    bool overflowed() const { return overflowed_; }

private:
    friend class ChunkWriter;
    enum class Mode { Memory, Counting, Streaming };

    Mode mode_ = Mode::Memory;
    // In memory: the file's first written_ bytes, then room; streaming: what is not written yet.
    std::vector<uint8_t> bytes_;
    std::size_t written_ = 0;
    std::vector<uint32_t> sizes_;
    std::size_t nextChunk_ = 0; // streaming: the next size to write
    int fd_ = -1;
    int error_ = 0;
    bool overflowed_ = false;

    /// A 3DS file is written a few bytes at a time: the usual write, into the room made for it,
    /// is a copy and nothing else.
    void put(const uint8_t* data, std::size_t count)
    {
        if (mode_ == Mode::Memory && count != 0 && count <= bytes_.size() - written_) {
            std::memcpy(bytes_.data() + written_, data, count);
            written_ += count;
            return;
        }
        putOtherwise(data, count);
    }
    void putOtherwise(const uint8_t* data, std::size_t count);
    template <typename T>
    void putArray(const T* values, std::size_t count);
    void writeOut(const uint8_t* data, std::size_t count);
    void flush();
    /// Starts a chunk; answers what its end needs to close it.
    std::size_t openChunk(uint16_t id);
    void closeChunk(std::size_t opened, std::size_t start);
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
    std::size_t opened_;
};

} // namespace host
