#include "host/import/camera_files.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace host::import {

namespace {

constexpr uint16_t mainChunk = 0x4D4D, editorChunk = 0x3D3D, namedObjectChunk = 0x4000, cameraChunk = 0x4700;
constexpr size_t chunkHeader = 6;
/// A 3DS camera record: position and target (three reals each), bank angle and lens.
constexpr size_t cameraRecord = 8 * 4;

uint32_t little(const std::vector<char>& bytes, size_t at, size_t count) {
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i) value |= uint32_t(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

float real(const std::vector<char>& bytes, size_t at) {
    const uint32_t raw = little(bytes, at, 4);
    float value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

class ChunkWalk {
public:
    explicit ChunkWalk(std::vector<char> bytes) : bytes_(std::move(bytes)) {}

    void walk(size_t begin, size_t end, int depth) {
        // Only the three levels that lead to a camera are entered.
        while (depth < 3 && begin + chunkHeader <= end) {
            const uint16_t id = static_cast<uint16_t>(little(bytes_, begin, 2));
            const size_t length = little(bytes_, begin + 2, 4);
            if (length < chunkHeader || length > end - begin) return;
            const size_t inside = begin + chunkHeader, after = begin + length;
            if (id == mainChunk || id == editorChunk) walk(inside, after, depth + 1);
            else if (id == namedObjectChunk) namedObject(inside, after);
            begin = after;
        }
    }

    std::vector<ThreeDsCamera> cameras;

private:
    void namedObject(size_t begin, size_t end) {
        const char* start = bytes_.data() + begin;
        const void* zero = std::memchr(start, 0, end - begin);
        if (!zero) return;
        const size_t nameEnd = static_cast<const char*>(zero) - bytes_.data();
        std::string name(start, nameEnd - begin);
        for (size_t at = nameEnd + 1; at + chunkHeader <= end;) {
            const uint16_t id = static_cast<uint16_t>(little(bytes_, at, 2));
            const size_t length = little(bytes_, at + 2, 4);
            if (length < chunkHeader || length > end - at) return;
            if (id == cameraChunk && length >= chunkHeader + cameraRecord) {
                const size_t v = at + chunkHeader;
                ThreeDsCamera camera;
                camera.name = name;
                camera.position = {real(bytes_, v), real(bytes_, v + 4), real(bytes_, v + 8)};
                camera.target = {real(bytes_, v + 12), real(bytes_, v + 16), real(bytes_, v + 20)};
                camera.bankDegrees = real(bytes_, v + 24);
                camera.lens = real(bytes_, v + 28);
                cameras.push_back(std::move(camera));
            }
            at += length;
        }
    }

    std::vector<char> bytes_;
};

} // namespace

std::vector<ThreeDsCamera> readThreeDsCameras(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t size = bytes.size();
    ChunkWalk walk(std::move(bytes));
    walk.walk(0, size, 0);
    return std::move(walk.cameras);
}

std::optional<LightWaveLens> readLightWaveLens(const std::filesystem::path& file) {
    std::ifstream in(file);
    bool inCamera = false;
    std::optional<double> zoom, width, height;
    double pixelAspect = 1;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "AddCamera") {
            if (inCamera) break; // only the first camera
            inCamera = true;
        } else if (!inCamera) {
            continue;
        } else if (key == "ZoomFactor") {
            // An animated zoom is an envelope ("(envelope)") rather than a number: left to assimp.
            double value;
            if (words >> value) zoom = value;
        } else if (key == "FrameSize") {
            double w, h;
            if (words >> w >> h) width = w, height = h;
        } else if (key == "PixelAspect") {
            words >> pixelAspect;
        } else if (key == "GlobalFrameSize" && !width) {
            double w, h;
            if (words >> w >> h) width = w, height = h;
        }
    }
    if (!zoom || !width || !height || !(*zoom > 0) || !(*width > 0) || !(*height > 0) || !(pixelAspect > 0))
        return std::nullopt;
    // The zoom factor is the lens distance over half the frame's height.
    const double aspect = *width / *height * pixelAspect;
    return LightWaveLens{2 * std::atan(aspect / *zoom), aspect};
}

} // namespace host::import
