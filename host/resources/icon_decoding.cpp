// Icons decoded with libtiff. lumeno-host has this in lib/liblumeno_icon_reading.so, loaded for
// the icons a module registers and unloaded after; tests link it (lumeno_host_icon_decoding).
#include "host/resources/icon_image.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "host/resources/resource_error.h"

namespace host {

namespace {

// Icons are small; a larger image is refused before its raster is allocated.
constexpr uint32_t kMaxIconSide = 4096;

// What libtiff said while one file was read; the first error is the one reported.
struct TiffMessages {
    std::string firstError;
};

int collectError(TIFF*, void* user, const char* module, const char* format, va_list args) {
    auto* messages = static_cast<TiffMessages*>(user);
    if (messages->firstError.empty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, args);
        messages->firstError = text;
        if (module && *module && messages->firstError.find(module) == std::string::npos)
            messages->firstError = std::string(module) + ": " + messages->firstError;
    }
    return 1; // handled: libtiff prints nothing
}

int ignoreWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// A few libtiff paths still report through the process-wide handlers; those must not print
// either, so they are switched off once.
void silenceGlobalHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
    });
}

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
struct OptionsFreer {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

[[noreturn]] void fail(const std::filesystem::path& tif, const std::string& problem,
                       const TiffMessages& messages) {
    throw ResourceError(tif, 0, messages.firstError.empty() ? problem : problem + ": " + messages.firstError);
}

} // namespace

IconImage loadIcon(const std::filesystem::path& tif) {
    std::error_code ec;
    if (!std::filesystem::exists(tif, ec)) throw ResourceError(tif, 0, "icon file not found");
    if (!std::filesystem::is_regular_file(tif, ec)) throw ResourceError(tif, 0, "icon is not a file");
    if (std::filesystem::file_size(tif, ec) == 0 || ec) throw ResourceError(tif, 0, "icon file is empty");

    silenceGlobalHandlers();
    TiffMessages messages;
    std::unique_ptr<TIFFOpenOptions, OptionsFreer> options(TIFFOpenOptionsAlloc());
    if (!options) throw ResourceError(tif, 0, "no memory to read the icon");
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), collectError, &messages);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), ignoreWarning, nullptr);

    std::unique_ptr<TIFF, TiffCloser> handle(TIFFOpenExt(tif.string().c_str(), "r", options.get()));
    if (!handle) fail(tif, "not a readable TIFF image", messages);

    uint32_t width = 0;
    uint32_t height = 0;
    TIFFGetField(handle.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(handle.get(), TIFFTAG_IMAGELENGTH, &height);
    if (width == 0 || height == 0) fail(tif, "icon has no pixels", messages);
    if (width > kMaxIconSide || height > kMaxIconSide)
        throw ResourceError(tif, 0, "icon of " + std::to_string(width) + "x" + std::to_string(height) +
                                        " pixels is larger than " + std::to_string(kMaxIconSide) + "x" +
                                        std::to_string(kMaxIconSide));

    char why[1024] = {};
    if (!TIFFRGBAImageOK(handle.get(), why)) {
        messages.firstError = why;
        fail(tif, "cannot decode the icon", messages);
    }
    std::vector<uint32_t> raster(static_cast<std::size_t>(width) * height);
    if (!TIFFReadRGBAImageOriented(handle.get(), width, height, raster.data(), ORIENTATION_TOPLEFT, 1))
        fail(tif, "cannot decode the icon", messages);
    // A truncated strip is reported as an error but may still answer success.
    if (!messages.firstError.empty()) fail(tif, "cannot decode the icon", messages);

    IconImage image;
    image.width = width;
    image.height = height;
    image.rgba.resize(raster.size() * 4);
    for (std::size_t i = 0; i < raster.size(); ++i) {
        const uint32_t p = raster[i];
        image.rgba[i * 4 + 0] = static_cast<uint8_t>(TIFFGetR(p));
        image.rgba[i * 4 + 1] = static_cast<uint8_t>(TIFFGetG(p));
        image.rgba[i * 4 + 2] = static_cast<uint8_t>(TIFFGetB(p));
        image.rgba[i * 4 + 3] = static_cast<uint8_t>(TIFFGetA(p));
    }
    return image;
}

// Linked in, the decoding has nothing to let go of.
void releaseIconReading() {}

} // namespace host
