#include "host/import/embedded_textures.h"

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
    std::size_t digits = start.size();
    while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9') ++digits;
    return digits > start.size() && digits + 1 < name.size() && name[digits] == '.' &&
           name.find('.', digits + 1) == std::string::npos;
}

WrittenTextures::WrittenTextures(const std::vector<EmbeddedTexture>& textures) {
    for (const EmbeddedTexture& texture : textures) {
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
