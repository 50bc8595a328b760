// Writing the textures a model embeds as files beside the document: each whole or not at all,
// and none left behind when one cannot be written or the command that needs them fails.
#pragma once

#include <vector>

#include "host/import/imported_model.h"

namespace host::import {

/// Writes one texture whole as `file` (its place in an export's staging folder); throws HostError
/// naming the texture's own file.
void writeEmbeddedTexture(const EmbeddedTexture& texture, const std::filesystem::path& file);

/// Whether `name` is one the import gives an embedded texture of the document `stem`:
/// "STEM.textureN.EXT", or by its content "STEM.texture-HASH.EXT".
bool isEmbeddedTextureName(const std::string& stem, const std::string& name);

/// Removes the embedded textures of `stem` in `folder` that are not among `kept`; answers how many.
int removeEarlierEmbeddedTextures(const std::filesystem::path& folder, const std::string& stem,
                                  const std::vector<EmbeddedTexture>& kept);

class WrittenTextures {
public:
    /// Writes every texture; throws HostError naming the file, having taken away those written.
    /// A texture named by its content that is there already is left as it is: it holds the same
    /// bytes, and an earlier export's scene may name it.
    explicit WrittenTextures(const std::vector<EmbeddedTexture>& textures, bool byContent = false);
    /// Takes the files away unless kept.
    ~WrittenTextures();
    WrittenTextures(const WrittenTextures&) = delete;
    WrittenTextures& operator=(const WrittenTextures&) = delete;

    void keep() { written_.clear(); }

private:
    void remove();
    std::vector<std::filesystem::path> written_;
};

} // namespace host::import
