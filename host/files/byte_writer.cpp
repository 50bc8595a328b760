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
