// PNG pictures: what the host writes reads back with libpng's own reader, pixel for pixel.
#include <gtest/gtest.h>

#include <png.h>

#include <fstream>
#include <iterator>
#include <unistd.h>

#include "host/pictures/png_file.h"
#include "host/plugins/host_error.h"

namespace {

namespace fs = std::filesystem;

host::RgbPicture decode(const std::vector<uint8_t>& bytes)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) << image.message;
    image.format = PNG_FORMAT_RGB;
    host::RgbPicture picture;
    picture.width = int32_t(image.width);
    picture.height = int32_t(image.height);
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) << image.message;
    return picture;
}

TEST(PngFile, WrittenPicturesReadBackAndBadOnesAreRefused)
{
    host::RgbPicture picture;
    picture.width = 3;
    picture.height = 2;
    picture.rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};

    const fs::path file = fs::temp_directory_path() / ("lumeno-png-" + std::to_string(::getpid()) + ".png");
    host::writePng(file, picture);
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    fs::remove(file);
    const host::RgbPicture back = decode(bytes);
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.rgb, picture.rgb);

    host::RgbPicture empty;
    EXPECT_THROW(host::encodePng(empty), host::HostError);
    host::RgbPicture short_ = picture;
    short_.rgb.pop_back();
    EXPECT_THROW(host::encodePng(short_), host::HostError);
    EXPECT_THROW(host::writePng(fs::path("/nonexistent-folder-lumeno") / "a.png", picture), host::HostError)
        << "a missing folder is a failure, not a silent success";
}

} // namespace
