#include <gtest/gtest.h>
#include <tiffio.h>

#include <fstream>
#include <iterator>

#include "host/resources/icon_image.h"
#include "resource_fixture.h"

namespace host::test {
namespace {

using IconTest = ResourceFolder;

// Writes an 8-bit RGB TIFF, rows from the top.
void writeRgbTiff(const std::filesystem::path& file, uint32_t width, uint32_t height,
                  const std::vector<uint8_t>& rgb) {
    TIFF* tif = TIFFOpen(file.string().c_str(), "w");
    ASSERT_NE(tif, nullptr);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
    for (uint32_t row = 0; row < height; ++row)
        TIFFWriteScanline(tif, const_cast<uint8_t*>(&rgb[row * width * 3]), row, 0);
    TIFFClose(tif);
}

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(IconTest, DecodesRgbPixelsFromTheTopLeft) {
    const auto file = folder() / "res" / "icon.tif";
    // 3x2: red, green, blue on top; black, grey, white below.
    writeRgbTiff(file, 3, 2, {255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 128, 128, 128, 255, 255, 255});
    const IconImage icon = loadIcon(file);
    EXPECT_EQ(icon.width, 3u);
    EXPECT_EQ(icon.height, 2u);
    ASSERT_EQ(icon.rgba.size(), 3u * 2u * 4u);
    EXPECT_EQ(icon.pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(icon.pixel(1, 0), 0x00FF00FFu);
    EXPECT_EQ(icon.pixel(2, 0), 0x0000FFFFu);
    EXPECT_EQ(icon.pixel(0, 1), 0x000000FFu);
    EXPECT_EQ(icon.pixel(1, 1), 0x808080FFu);
    EXPECT_EQ(icon.pixel(2, 1), 0xFFFFFFFFu);
}

TEST_F(IconTest, MissingEmptyAndBrokenFilesAreRefusedByNameWithoutPrinting) {
    const auto good = folder() / "res" / "good.tif";
    writeRgbTiff(good, 32, 32, std::vector<uint8_t>(32 * 32 * 3, 200));
    const std::string bytes = readAll(good);

    struct Case {
        const char* what;
        std::string file;
        std::optional<std::string> content; // nothing: the file does not exist
        const char* problem;
    };
    const Case cases[] = {
        {"missing", "res/missing.tif", std::nullopt, "icon file not found"},
        {"empty", "res/empty.tif", std::string(), "icon file is empty"},
        {"not a TIFF", "res/text.tif", std::string("this is not an image\n"), "not a readable TIFF image"},
        {"cut in half", "res/half.tif", bytes.substr(0, bytes.size() / 2), ""},
        {"bad first directory", "res/baddir.tif", std::string("II*\0\xF0\xFF\xFF\x0F", 8) + std::string(64, '\0'), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto file = folder() / c.file;
        if (c.content) write(c.file, *c.content);
        ::testing::internal::CaptureStderr();
        const ResourceError error = expectResourceError([&] { loadIcon(file); });
        const std::string printed = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(printed, "") << "libtiff printed its own message";
        EXPECT_EQ(error.file(), file);
        EXPECT_EQ(std::string(error.what()).rfind(file.string() + ": ", 0), 0u) << error.what();
        EXPECT_NE(error.problem().find(c.problem), std::string::npos) << error.what();
    }
}

} // namespace
} // namespace host::test
