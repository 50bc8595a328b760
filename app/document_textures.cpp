#include "app/document_textures.h"

#include <system_error>

#include "host_constants.h"

namespace app {

namespace fs = std::filesystem;

void resolveTextures(HostNode& document, const fs::path& documentFolder, const fs::path& sceneFolder) {
    if (!document.documentData) return;
    const fs::path from = fs::absolute(documentFolder).lexically_normal();
    const fs::path to = fs::absolute(sceneFolder).lexically_normal();
    if (from == to) return;
    for (HostNode* material = document.documentData->materials.first(); material; material = material->next()) {
        if (!material->material) continue;
        for (auto& [number, channel] : material->material->channels) {
            const std::string name = channel.data.getString(CHANNEL_TEXTURE_NAME);
            if (name.empty() || fs::path(name).is_absolute()) continue;
            const fs::path file = (from / name).lexically_normal();
            std::error_code error;
            if (!fs::is_regular_file(file, error)) continue;
            const fs::path relative = file.lexically_relative(to);
            channel.data.setString(CHANNEL_TEXTURE_NAME, (relative.empty() ? file : relative).generic_string());
        }
    }
}

} // namespace app
