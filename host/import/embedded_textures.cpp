#include "host/import/embedded_textures.h"

#include "host/files/whole_file.h"
#include "host/plugins/host_error.h"

namespace host::import {

WrittenTextures::WrittenTextures(const std::vector<EmbeddedTexture>& textures) {
    for (const EmbeddedTexture& texture : textures) {
        try {
            writeWholeFile(texture.file, texture.bytes);
        } catch (const HostError& error) {
            remove();
            throw HostError("cannot write the embedded texture " + texture.file.string() + ": " + error.what());
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
