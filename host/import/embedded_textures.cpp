#include "host/import/embedded_textures.h"

#include <set>

#include "host/files/whole_file.h"
#include "host/plugins/host_error.h"

namespace host::import {

void writeEmbeddedTexture(const EmbeddedTexture& texture, const std::filesystem::path& file) {
    try {
        writeWholeFile(file, texture.bytes);
    } catch (const HostError& error) {
        throw HostError("cannot write the embedded texture " + texture.file.string() + ": " + error.what());
    }
}

bool isEmbeddedTextureName(const std::string& stem, const std::string& name) {
    const std::string start = stem + ".texture";
    if (name.compare(0, start.size(), start) != 0) return false;
    const bool byContent = name.size() > start.size() && name[start.size()] == '-';
    std::size_t end = start.size() + byContent;
    auto digit = [byContent](char c) { return (c >= '0' && c <= '9') || (byContent && c >= 'a' && c <= 'f'); };
    while (end < name.size() && digit(name[end])) ++end;
    const std::size_t digits = end - start.size() - byContent;
    return (byContent ? digits == 16 : digits > 0) && end + 1 < name.size() && name[end] == '.' &&
           name.find('.', end + 1) == std::string::npos;
}

int removeEarlierEmbeddedTextures(const std::filesystem::path& folder, const std::string& stem,
                                  const std::vector<EmbeddedTexture>& kept) {
    std::set<std::string> keep;
    for (const EmbeddedTexture& texture : kept) keep.insert(texture.file.filename().string());
    int removed = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code ignored;
        if (isEmbeddedTextureName(stem, name) && !keep.count(name) && it->is_regular_file(ignored))
            removed += std::filesystem::remove(it->path(), ignored);
    }
    return removed;
}

WrittenTextures::WrittenTextures(const std::vector<EmbeddedTexture>& textures, bool byContent) {
    for (const EmbeddedTexture& texture : textures) {
        std::error_code ignored;
        if (byContent && std::filesystem::is_regular_file(texture.file, ignored)) continue;
        try {
            writeEmbeddedTexture(texture, texture.file);
        } catch (const HostError&) {
            remove();
            throw;
        }
        written_.push_back(texture.file);
    }
}

WrittenTextures::~WrittenTextures() { remove(); }

void WrittenTextures::remove() {
    std::error_code ignored;
    for (const auto& file : written_) std::filesystem::remove(file, ignored);
    written_.clear();
}

} // namespace host::import
