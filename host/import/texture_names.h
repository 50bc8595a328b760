// Texture file names as the document keeps them: relative to the document's folder. A texture
// embedded in the model becomes a file of its own beside the document, written once however
// many materials use it.
#pragma once

#include <map>
#include <string>

#include "host/import/imported_model.h"

struct aiScene;
struct aiTexture;

namespace host::import {

class TextureNames {
public:
    TextureNames(const aiScene& scene, std::filesystem::path modelFolder, const ImportOptions& options,
                 ImportedModel& model);

    /// The document's name for the texture the model names `reference` ("*0" or a name of an
    /// embedded texture, else a file name relative to the model, with "\" or "/" between folders).
    std::string name(const std::string& reference);

private:
    std::string embeddedName(const aiTexture& texture);

    const aiScene& scene_;
    std::filesystem::path modelFolder_, documentFolder_;
    std::string stem_;
    bool byContent_;
    ImportedModel& model_;
    std::map<const aiTexture*, std::string> embedded_;
    std::map<std::string, std::string> external_;
};

} // namespace host::import
