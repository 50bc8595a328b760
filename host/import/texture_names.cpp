#include "host/import/texture_names.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <system_error>

#include <assimp/scene.h>

#include "host/files/export_staging.h"
#include "host/import/model_text.h"
#include "host/pictures/png_file.h"

namespace host::import {

namespace {

namespace fs = std::filesystem;

/// The file suffix a compressed embedded texture declares ("png", "jpg"), "bin" when it gives
/// none a file name could carry.
std::string suffixOf(const aiTexture& texture) {
    std::string hint(texture.achFormatHint, strnlen(texture.achFormatHint, sizeof(texture.achFormatHint)));
    const bool usable = !hint.empty() && std::all_of(hint.begin(), hint.end(), [](unsigned char c) { return std::isalnum(c); });
    return usable ? hint : "bin";
}

std::vector<uint8_t> bytesOf(const aiTexture& texture) {
    if (texture.mHeight == 0) {
        const auto* begin = reinterpret_cast<const uint8_t*>(texture.pcData);
        return std::vector<uint8_t>(begin, begin + texture.mWidth);
    }
    // Uncompressed texels (blue, green, red, alpha), written as an RGB PNG.
    RgbPicture picture;
    picture.width = static_cast<int32_t>(texture.mWidth);
    picture.height = static_cast<int32_t>(texture.mHeight);
    const size_t count = size_t(texture.mWidth) * texture.mHeight;
    picture.rgb.resize(count * 3);
    for (size_t i = 0; i < count; ++i) {
        picture.rgb[i * 3] = texture.pcData[i].r;
        picture.rgb[i * 3 + 1] = texture.pcData[i].g;
        picture.rgb[i * 3 + 2] = texture.pcData[i].b;
    }
    return encodePng(picture);
}

/// 16 hexadecimal digits made from the bytes: the same texture gets the same name in every export.
std::string contentKey(const std::vector<uint8_t>& bytes) {
    return exportKey(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

/// A texture the model names by a path of another machine ("D:/maps/wood.jpg") or in another
/// case ("WOOD.JPG") is looked for by its file name in the model's folder, as people copy a
/// model together with its textures.
std::optional<fs::path> besideModel(const fs::path& folder, const std::string& slashed) {
    const std::string name = slashed.substr(slashed.find_last_of('/') + 1);
    if (name.empty()) return std::nullopt;
    std::error_code error;
    if (fs::is_regular_file(folder / name, error)) return folder / name;
    const std::string wanted = lower(name);
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error))
        if (lower(entry->path().filename().string()) == wanted) return entry->path();
    return std::nullopt;
}

} // namespace

TextureNames::TextureNames(const aiScene& scene, fs::path modelFolder, const ImportOptions& options,
                           ImportedModel& model)
    : scene_(scene), modelFolder_(std::move(modelFolder)),
      documentFolder_(options.documentFolder.empty() ? modelFolder_ : options.documentFolder),
      stem_(options.embeddedStem), byContent_(options.embeddedByContent), model_(model) {}

std::string TextureNames::embeddedName(const aiTexture& texture) {
    auto found = embedded_.find(&texture);
    if (found != embedded_.end()) return found->second;
    std::vector<uint8_t> bytes = bytesOf(texture);
    const std::string number = byContent_ ? "-" + contentKey(bytes) : std::to_string(model_.embedded.size());
    const std::string name =
        stem_ + ".texture" + number + "." + (texture.mHeight == 0 ? suffixOf(texture) : std::string("png"));
    model_.embedded.push_back({documentFolder_ / name, std::move(bytes)});
    embedded_.emplace(&texture, name);
    return name;
}

std::string TextureNames::name(const std::string& reference) {
    if (const aiTexture* texture = scene_.GetEmbeddedTexture(reference.c_str())) return embeddedName(*texture);
    if (!reference.empty() && reference[0] == '*') {
        model_.notes.push_back("the embedded texture " + modelText(reference) + " is not in the model; left out");
        return "";
    }
    auto known = external_.find(reference);
    if (known != external_.end()) return known->second;
    std::string slashed = reference;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    fs::path file(slashed);
    fs::path absolute = (file.is_absolute() ? file : modelFolder_ / file).lexically_normal();
    std::error_code error;
    if (!fs::exists(absolute, error)) {
        if (auto found = besideModel(modelFolder_, slashed)) {
            absolute = *found;
        } else {
            model_.notes.push_back("the texture file " + modelText(slashed) + " is not there (kept as named)");
            // A path of another machine means nothing relative to this one's folders.
            const bool drive = slashed.size() > 2 && std::isalpha(static_cast<unsigned char>(slashed[0])) &&
                               slashed[1] == ':' && slashed[2] == '/';
            if (drive) return external_.emplace(reference, modelText(slashed)).first->second;
        }
    }
    fs::path relative = absolute.lexically_relative(documentFolder_);
    std::string result = modelText(relative.empty() ? absolute.generic_string() : relative.generic_string());
    external_.emplace(reference, result);
    return result;
}

} // namespace host::import
