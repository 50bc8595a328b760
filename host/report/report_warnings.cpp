#include "host/report/report_warnings.h"

#include <system_error>

#include "host/model/material_names.h"
#include "host/report/object_walk.h"
#include "host_constants.h"

namespace host {
namespace {

/// The merged mesh export marks its primitives with this text in their names and passes over
/// every object whose name holds it.
constexpr const char* skipMark = "_SKIP_";

void addSkipNames(const HostNode& document, std::vector<ReportWarning>& warnings) {
    forEachObjectInOrder(document, [&](const HostNode& object) {
        if (object.type() == TYPE_POLYGON_OBJECT && object.name.find(skipMark) != std::string::npos)
            warnings.push_back({"skip-name", "the polygon object " + objectPathOf(object) + " has \"" + skipMark +
                                                 "\" in its name: the merged mesh export takes it for a primitive "
                                                 "and leaves it out"});
    });
}

} // namespace

std::vector<ReportWarning> exportWarnings(const HostNode& document, const SceneContents& contents,
                                          const std::filesystem::path& sceneFile) {
    std::vector<ReportWarning> warnings;
    // The renderer finds materials by name: of several that share one it uses a single one.
    for (const auto& [name, count] : sharedMaterialNames(document))
        warnings.push_back({"shared-material-name", std::to_string(count) + " materials share the name \"" + name +
                                                        "\"; the renderer cannot tell them apart, so rename all but one"});
    // The renderer reads a relative texture path from the scene file's folder.
    for (const SceneTexture& texture : contents.textures) {
        std::filesystem::path path(texture.path);
        if (path.is_relative()) path = sceneFile.parent_path() / path;
        std::error_code error;
        if (texture.path.empty() || !std::filesystem::is_regular_file(path, error))
            warnings.push_back({"missing-texture", "the texture file \"" + texture.path + "\" of the material \"" +
                                                       texture.material + "\" cannot be found"});
    }
    if (contents.sunWithoutDirection)
        warnings.push_back({"sun-at-origin", "the sun object stands at the world's origin, so the sun has no "
                                             "direction (sundir 0 0 0); move it away from the origin"});
    addSkipNames(document, warnings);
    return warnings;
}

} // namespace host
