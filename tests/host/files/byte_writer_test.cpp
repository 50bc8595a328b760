// The binary writer gives the same bytes however it is set up: in memory with room for the whole
// file, with too little room or none (it grows), and streamed into a file after a counting pass.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "host/files/byte_writer.h"

namespace {

/// Chunks within chunks, single values and arrays, as a 3DS file has them.
void writeSample(host::ByteWriter& out) {
    host::ChunkWriter main(out, 0x4D4D);
    {
        host::ChunkWriter version(out, 0x0002);
        out.putU32(3);
    }
    host::ChunkWriter editor(out, 0x3D3D);
    out.putCString("Object 1");
    out.putCString("");
    const float reals[] = {1.5f, -2.0f, 0.25f};
    out.putF32s(reals, 3);
    const uint16_t faces[] = {0, 1, 2, 0xFFFF};
    out.putU16s(faces, 4);
    out.putU16(0xA0B0);
    out.putU8(7);
    out.putF32(1.0f);
}

uint32_t sizeAt(const std::vector<uint8_t>& bytes, std::size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

TEST(ByteWriterTest, EveryWayGivesTheSameBytesWithEachChunkSized) {
    host::ByteWriter counter = host::ByteWriter::counting();
    writeSample(counter);
    ASSERT_EQ(counter.chunkSizes().size(), 3u);

    host::ByteWriter exact;
    exact.reserve(counter.size());
    writeSample(exact);
    const std::vector<uint8_t> bytes = exact.release();
    ASSERT_EQ(bytes.size(), counter.size());
    // Main chunk: its size is the whole file; version chunk: 6 bytes of header and 4 of value;
    // the editor chunk runs to the end.
    EXPECT_EQ(bytes[0], 0x4D);
    EXPECT_EQ(bytes[1], 0x4D);
    EXPECT_EQ(sizeAt(bytes, 2), bytes.size());
    EXPECT_EQ(sizeAt(bytes, 8), 10u);
    EXPECT_EQ(sizeAt(bytes, 18), bytes.size() - 16);
    EXPECT_EQ(counter.chunkSizes()[0], bytes.size());
    EXPECT_EQ(counter.chunkSizes()[1], 10u);
    EXPECT_EQ(counter.chunkSizes()[2], bytes.size() - 16);
    EXPECT_EQ(bytes[bytes.size() - 5], 7);

    for (const std::size_t room : {std::size_t(0), std::size_t(1), std::size_t(9), counter.size() * 3}) {
        host::ByteWriter grown;
        grown.reserve(room);
        writeSample(grown);
        EXPECT_EQ(grown.size(), bytes.size()) << room;
        EXPECT_EQ(grown.release(), bytes) << "with room for " << room << " bytes";
    }

    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    host::ByteWriter streamed(fileno(file), counter.chunkSizes());
    writeSample(streamed);
    ASSERT_EQ(streamed.finish(), 0);
    std::vector<uint8_t> read(bytes.size() + 1);
    std::rewind(file);
    EXPECT_EQ(std::fread(read.data(), 1, read.size(), file), bytes.size());
    read.resize(bytes.size());
    EXPECT_EQ(read, bytes);
    std::fclose(file);
}

} // namespace
