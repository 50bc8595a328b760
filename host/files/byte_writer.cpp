#include "host/files/byte_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "host/files/whole_file.h"

namespace host {
namespace {

constexpr bool littleEndian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;
/// A streaming writer hands the file this much at a time.
constexpr std::size_t streamBuffer = 1 << 16;

void littleEndianBytes(uint32_t value, uint8_t* out, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<uint8_t>((value >> (8 * i)) & 0xFF);
}

} // namespace

ByteWriter ByteWriter::counting()
{
    ByteWriter out;
    out.mode_ = Mode::Counting;
    return out;
}

ByteWriter::ByteWriter(int fd, std::vector<uint32_t> chunkSizes)
    : mode_(Mode::Streaming), sizes_(std::move(chunkSizes)), fd_(fd)
{
    bytes_.reserve(streamBuffer);
}

void ByteWriter::putOtherwise(const uint8_t* data, std::size_t count)
{
    if (mode_ == Mode::Counting || count == 0) {
        written_ += count;
        return;
    }
    if (mode_ == Mode::Memory) {
        bytes_.resize(std::max(written_ + count, 2 * bytes_.size()));
        std::memcpy(bytes_.data() + written_, data, count);
        written_ += count;
        return;
    }
    written_ += count;
    bytes_.insert(bytes_.end(), data, data + count);
    if (bytes_.size() >= streamBuffer)
        flush();
}

void ByteWriter::writeOut(const uint8_t* data, std::size_t count)
{
    if (error_ == 0)
        error_ = writeAll(fd_, data, count);
}

void ByteWriter::flush()
{
    writeOut(bytes_.data(), bytes_.size());
    bytes_.clear();
}

int ByteWriter::finish()
{
    if (mode_ == Mode::Streaming)
        flush();
    if (error_ == 0 && mode_ == Mode::Streaming && nextChunk_ != sizes_.size())
        error_ = EIO;
    return error_;
}

void ByteWriter::putF32(float value)
{
    static_assert(sizeof(float) == sizeof(uint32_t), "32-bit reals");
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    putU32(bits);
}

/// Appends `count` values of 2 or 4 bytes each, little-endian.
template <typename T>
void ByteWriter::putArray(const T* values, std::size_t count)
{
    if constexpr (littleEndian) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(values);
        const std::size_t size = count * sizeof(T);
        if (mode_ != Mode::Streaming || size < streamBuffer) {
            put(bytes, size);
            return;
        }
        // A large array goes to the file as it stands rather than through the buffer.
        flush();
        writeOut(bytes, size);
        written_ += size;
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            uint32_t v = 0;
            std::memcpy(&v, values + i, sizeof(T));
            uint8_t b[sizeof(T)];
            littleEndianBytes(v, b, sizeof(T));
            put(b, sizeof(T));
        }
    }
}

void ByteWriter::putF32s(const float* values, std::size_t count)
{
    static_assert(sizeof(float) == sizeof(uint32_t), "32-bit reals");
    putArray(values, count);
}

void ByteWriter::putU16s(const uint16_t* values, std::size_t count) { putArray(values, count); }

void ByteWriter::putCString(std::string_view text)
{
    put(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    putU8(0);
}

std::size_t ByteWriter::openChunk(uint16_t id)
{
    putU16(id);
    switch (mode_) {
    case Mode::Memory:
        putU32(0); // patched when the chunk closes
        return 0;
    case Mode::Counting:
        putU32(0);
        sizes_.push_back(0);
        return sizes_.size() - 1;
    case Mode::Streaming:
        if (nextChunk_ >= sizes_.size()) {
            if (error_ == 0)
                error_ = EIO;
            putU32(0);
            return 0;
        }
        putU32(sizes_[nextChunk_]);
        return nextChunk_++;
    }
    return 0;
}

void ByteWriter::closeChunk(std::size_t opened, std::size_t start)
{
    const std::size_t size = written_ - start;
    if (size > std::numeric_limits<uint32_t>::max()) {
        overflowed_ = true;
        return;
    }
    const auto value = static_cast<uint32_t>(size);
    switch (mode_) {
    case Mode::Memory:
        littleEndianBytes(value, bytes_.data() + start + 2, 4);
        break;
    case Mode::Counting:
        sizes_[opened] = value;
        break;
    case Mode::Streaming:
        // The counted size was written already; different writes would make a broken file.
        if (opened < sizes_.size() && sizes_[opened] != value && error_ == 0)
            error_ = EIO;
        break;
    }
}

ChunkWriter::ChunkWriter(ByteWriter& out, uint16_t id) : out_(out), start_(out.size()), opened_(out.openChunk(id)) {}

ChunkWriter::~ChunkWriter() { out_.closeChunk(opened_, start_); }

} // namespace host
