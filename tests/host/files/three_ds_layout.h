// A small reader of the chunk layout of a 3DS file, for checking what assimp does not report
// as written: the object and material names and each object's own point and face counts.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace layout {

struct Object {
    std::string name;
    uint16_t points = 0;
    uint16_t faces = 0;
    std::string material; // of its face group, "" without one
};

struct Material {
    std::string name;
    uint8_t rgb[3] = {0, 0, 0};
};

struct File {
    std::vector<Object> objects;
    std::vector<Material> materials;
};

class Reader {
public:
    explicit Reader(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    File read()
    {
        File file;
        if (bytes_.size() < 6 || u16(0) != 0x4D4D || u32(2) != bytes_.size())
            throw std::runtime_error("not a whole 3DS main chunk");
        walk(6, bytes_.size(), file);
        return file;
    }

private:
    uint16_t u16(std::size_t at) const { return uint16_t(uint8_t(bytes_.at(at)) | uint8_t(bytes_.at(at + 1)) << 8); }
    uint32_t u32(std::size_t at) const { return uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16; }
    std::string cstring(std::size_t at, std::size_t* after) const
    {
        std::string s;
        while (bytes_.at(at) != 0)
            s += bytes_[at++];
        *after = at + 1;
        return s;
    }

    void walk(std::size_t begin, std::size_t end, File& file)
    {
        for (std::size_t at = begin; at < end;) {
            const uint16_t id = u16(at);
            const uint32_t size = u32(at + 2);
            if (size < 6 || at + size > end)
                throw std::runtime_error("chunk " + std::to_string(id) + " overruns its parent");
            const std::size_t body = at + 6;
            std::size_t after = body;
            switch (id) {
            case 0x3D3D: // editor
            case 0x4100: // triangle object
            case 0xA020: // diffuse
                walk(body, at + size, file);
                break;
            case 0x4000:
                file.objects.push_back({cstring(body, &after), 0, 0, ""});
                walk(after, at + size, file);
                break;
            case 0x4110:
                file.objects.back().points = u16(body);
                break;
            case 0x4120:
                file.objects.back().faces = u16(body);
                walk(body + 2 + 8 * std::size_t(u16(body)), at + size, file);
                break;
            case 0x4130:
                file.objects.back().material = cstring(body, &after);
                break;
            case 0xAFFF:
                file.materials.emplace_back();
                walk(body, at + size, file);
                break;
            case 0xA000:
                file.materials.back().name = cstring(body, &after);
                break;
            case 0x0011:
                std::memcpy(file.materials.back().rgb, &bytes_.at(body), 3);
                break;
            default:
                break;
            }
            at += size;
        }
    }

    std::vector<char> bytes_;
};

inline File read(const std::filesystem::path& path)
{
    return Reader(path).read();
}

} // namespace layout
