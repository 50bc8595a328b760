#include "host/pictures/png_file.h"

#include <png.h>

#include <string>

#include "host/files/whole_file.h"
#include "host/plugins/host_error.h"

namespace host {
namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

/// libpng reports errors by longjmp; turning them into a flag keeps C++ objects out of its way.
void rememberError(png_structp png, png_const_charp message)
{
    auto* text = static_cast<std::string*>(png_get_error_ptr(png));
    *text = message ? message : "PNG encoder failed";
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

} // namespace

std::vector<uint8_t> encodePng(const RgbPicture& picture)
{
    if (picture.width < 1 || picture.height < 1)
        throw HostError("the picture is empty");
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 3;
    if (picture.rgb.size() != rowBytes * static_cast<std::size_t>(picture.height))
        throw HostError("the picture's pixels do not match its size");

    std::vector<uint8_t> bytes;
    std::string error;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, rememberError, ignoreWarning);
    if (!png)
        throw HostError("no memory for the PNG encoder");
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw HostError("no memory for the PNG encoder");
    }
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_set_write_fn(png, &bytes, appendBytes, flushNothing);
        png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
                     8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int32_t y = 0; y < picture.height; ++y)
            png_write_row(png, picture.rgb.data() + rowBytes * static_cast<std::size_t>(y));
        png_write_end(png, nullptr);
    } else if (error.empty()) {
        error = "PNG encoder failed";
    }
    png_destroy_write_struct(&png, &info);
    if (!error.empty())
        throw HostError(error);
    return bytes;
}

void writePng(const std::filesystem::path& path, const RgbPicture& picture)
{
    removeStaleTemporaries(path);
    writeWholeFile(path, encodePng(picture));
}

} // namespace host
