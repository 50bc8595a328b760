#include "host/files/byte_writer.h"

#include <cstring>
#include <limits>

namespace host {

void ByteWriter::putU16(uint16_t value)
{
    const uint8_t b[2] = {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)};
    bytes_.insert(bytes_.end(), b, b + 2);
}

void ByteWriter::putU32(uint32_t value)
{
    const uint8_t b[4] = {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>((value >> 8) & 0xFF),
                          static_cast<uint8_t>((value >> 16) & 0xFF), static_cast<uint8_t>(value >> 24)};
    bytes_.insert(bytes_.end(), b, b + 4);
}

void ByteWriter::putF32(float value)
{
    static_assert(sizeof(float) == sizeof(uint32_t), "32-bit reals");
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    putU32(bits);
}

namespace {

constexpr bool littleEndian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;

/// Appends `count` values of 2 or 4 bytes each, little-endian.
template <typename T>
void putArray(std::vector<uint8_t>& bytes, const T* values, std::size_t count)
{
    const std::size_t at = bytes.size();
    bytes.resize(at + count * sizeof(T));
    uint8_t* out = bytes.data() + at;
    if constexpr (littleEndian) {
        if (count)
            std::memcpy(out, values, count * sizeof(T));
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            uint32_t v = 0;
            std::memcpy(&v, values + i, sizeof(T));
            for (std::size_t b = 0; b < sizeof(T); ++b)
                *out++ = static_cast<uint8_t>((v >> (8 * b)) & 0xFF);
        }
    }
}

} // namespace

void ByteWriter::putF32s(const float* values, std::size_t count)
{
    static_assert(sizeof(float) == sizeof(uint32_t), "32-bit reals");
    putArray(bytes_, values, count);
}

void ByteWriter::putU16s(const uint16_t* values, std::size_t count) { putArray(bytes_, values, count); }

void ByteWriter::putCString(std::string_view text)
{
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    bytes_.push_back(0);
}

void ByteWriter::patchU32(std::size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes_[offset + i] = static_cast<uint8_t>((value >> (8 * i)) & 0xFF);
}

ChunkWriter::ChunkWriter(ByteWriter& out, uint16_t id) : out_(out), start_(out.size())
{
    out_.putU16(id);
    out_.putU32(0);
}

ChunkWriter::~ChunkWriter()
{
    const std::size_t size = out_.size() - start_;
    if (size > std::numeric_limits<uint32_t>::max()) {
        out_.markOverflow();
        return;
    }
    out_.patchU32(start_ + 2, static_cast<uint32_t>(size));
}

} // namespace host
