#include "host/import/declared_sizes.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/import/import_error.h"

namespace host::import {

namespace {

using Size = unsigned long long;

/// The shortest text a vertex or a face of an OFF file takes: "0 0 0\n", "1 0\n".
constexpr Size shortestOffElement = 4;

[[noreturn]] void refuse(Size count, const std::string& what, const std::string& room) {
    throw ImportError("the file declares " + std::to_string(count) + " " + what + ", more than " + room + " can hold");
}

std::string bytes(Size size) { return std::to_string(size) + " bytes"; }

/// The first `size` bytes of the file (fewer when it is shorter).
std::string head(const std::filesystem::path& model, Size size) {
    std::ifstream in(model, std::ios::binary);
    std::string text(size, '\0');
    in.read(text.data(), static_cast<std::streamsize>(size));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

uint32_t littleEndian32(const std::string& bytes, std::size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

/// OFF: a keyword ending in "OFF" (OFF, COFF, NOFF, ...), then the vertex and face counts.
void checkOff(const std::filesystem::path& model, Size size) {
    std::ifstream in(model);
    std::string word;
    if (!(in >> word) || word.size() < 3 || word.compare(word.size() - 3, 3, "OFF") != 0) return;
    Size counts[2] = {0, 0};
    for (auto& count : counts) {
        while (in >> std::ws && in.peek() == '#') in.ignore(1 << 20, '\n');
        if (!(in >> count)) return;
    }
    for (const auto* what : {"vertices", "faces"}) {
        const Size count = counts[what[0] == 'f'];
        if (count > size / shortestOffElement) refuse(count, what, "its " + bytes(size));
    }
}

/// The bytes of a PLY property type in a binary file; 0 for a name the format does not have.
Size plyTypeBytes(const std::string& type) {
    static const std::map<std::string, Size> sizes = {
        {"char", 1},   {"uchar", 1},   {"int8", 1},  {"uint8", 1},  {"short", 2},   {"ushort", 2},
        {"int16", 2},  {"uint16", 2},  {"int", 4},   {"uint", 4},   {"int32", 4},   {"uint32", 4},
        {"float", 4},  {"float32", 4}, {"double", 8}, {"float64", 8}};
    auto found = sizes.find(type);
    return found == sizes.end() ? 0 : found->second;
}

/// The lines of the file from `from` on, counting no further than `enough`; a last line without
/// its newline counts.
Size linesFrom(const std::filesystem::path& model, Size from, Size enough) {
    std::ifstream in(model, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from));
    std::vector<char> block(1 << 20);
    Size lines = 0;
    char last = '\n';
    while (lines < enough && in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) break;
        lines += static_cast<Size>(std::count(block.data(), block.data() + got, '\n'));
        last = block[got - 1];
    }
    return lines + (last != '\n');
}

/// PLY: each element's count against what follows the header. In a binary file an element takes
/// its properties' bytes (a list at least its count); in text, each element is a line of its own.
void checkPly(const std::filesystem::path& model, Size size) {
    constexpr Size longestHeader = 1 << 20;
    const std::string text = head(model, std::min(size, longestHeader));
    if (text.compare(0, 3, "ply") != 0 || text.size() < 4 || (text[3] != '\n' && text[3] != '\r')) return;
    const std::size_t end = text.find("\nend_header");
    if (end == std::string::npos) {
        if (size <= longestHeader) throw ImportError("the PLY header does not end (no end_header line)");
        return;
    }
    std::size_t body = text.find('\n', end + 1);
    body = body == std::string::npos ? text.size() : body + 1;
    const Size room = size - body;

    std::istringstream header(text.substr(0, end));
    std::string line, format;
    struct Element {
        std::string name;
        Size count = 0, bytes = 0; // bytes: the least one element takes in a binary file
        bool properties = false;
    };
    std::vector<Element> elements;
    while (std::getline(header, line)) {
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (keyword == "format") {
            words >> format;
        } else if (keyword == "element") {
            Element element;
            if (!(words >> element.name >> element.count)) return;
            elements.push_back(element);
        } else if (keyword == "property" && !elements.empty()) {
            std::string type;
            words >> type;
            if (type == "list") words >> type; // the count's type; the items may be none
            const Size typeBytes = plyTypeBytes(type);
            if (typeBytes == 0) return;
            elements.back().bytes += typeBytes;
            elements.back().properties = true;
        }
    }
    if (format == "ascii") {
        Size needed = 0;
        for (const Element& element : elements)
            if (element.properties) needed += std::min(element.count, size);
        const Size lines = linesFrom(model, body, needed);
        Size left = lines;
        for (const Element& element : elements) {
            if (!element.properties) continue;
            if (element.count > left)
                refuse(element.count, "elements \"" + element.name + "\"", "the " + std::to_string(lines) + " lines after its header");
            left -= element.count;
        }
    } else if (format == "binary_little_endian" || format == "binary_big_endian") {
        Size left = room;
        for (const Element& element : elements) {
            if (element.bytes == 0) continue;
            if (element.count > left / element.bytes)
                refuse(element.count, "elements \"" + element.name + "\"", "the " + bytes(room) + " after its header");
            left -= element.count * element.bytes;
        }
    }
}

/// GLB: the header's total length, and each chunk's length, against the file.
void checkGlb(const std::filesystem::path& model, Size size) {
    const std::string header = head(model, 20);
    if (header.size() < 12 || header.compare(0, 4, "glTF") != 0) return;
    const Size length = littleEndian32(header, 8);
    if (length > size) throw ImportError("the file declares a length of " + bytes(length) + ", more than its " + bytes(size));
    if (littleEndian32(header, 4) == 1) {
        // Binary glTF 1.0: one content block after a header of 20 bytes.
        if (header.size() == 20 && 20 + Size(littleEndian32(header, 12)) > length)
            throw ImportError("the file declares content of " + bytes(littleEndian32(header, 12)) +
                              ", more than the " + bytes(length - 20) + " after its header");
        return;
    }
    std::ifstream in(model, std::ios::binary);
    int chunk = 0;
    for (Size at = 12; at + 8 <= length; ++chunk) {
        std::string chunkHeader(8, '\0');
        in.seekg(static_cast<std::streamoff>(at));
        if (!in.read(chunkHeader.data(), 8)) return;
        const Size chunkLength = littleEndian32(chunkHeader, 0);
        if (chunkLength > length - at - 8)
            throw ImportError("the file declares a chunk " + std::to_string(chunk) + " of " + bytes(chunkLength) +
                              ", more than the " + bytes(length - at - 8) + " that follow its header");
        at += 8 + chunkLength;
    }
}

/// Binary STL: an 80-byte header, the triangle count, then 50 bytes a triangle. A file that
/// begins with "solid" is text.
void checkStl(const std::filesystem::path& model, Size size) {
    const std::string header = head(model, 84);
    if (header.size() < 84) return;
    const std::size_t first = header.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && header.compare(first, 5, "solid") == 0) return;
    const Size count = littleEndian32(header, 80);
    if (count > (size - 84) / 50) refuse(count, "triangles", "its " + bytes(size));
}

} // namespace

void checkDeclaredSizes(const std::filesystem::path& model) {
    std::string suffix = model.extension().string();
    std::transform(suffix.begin(), suffix.end(), suffix.begin(), [](unsigned char c) { return std::tolower(c); });
    std::error_code error;
    const auto size = std::filesystem::file_size(model, error);
    if (error) return;
    // PLY and GLB files are known by their first bytes, as assimp knows them under any name.
    checkPly(model, size);
    checkGlb(model, size);
    if (suffix == ".off") checkOff(model, size);
    if (suffix == ".stl") checkStl(model, size);
}

} // namespace host::import
