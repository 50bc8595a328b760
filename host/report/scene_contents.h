// What a written scene file holds, read back in one pass over the file.
#pragma once

#include <deque>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace host {

/// A texture file a material of the scene names.
struct SceneTexture {
    std::string material; // the `name` of its material element
    std::string path;     // as written
};

struct SceneContents {
    std::map<std::string, int> elements;  // top-level elements by name: "mesh" -> 2, ...
    /// The name comments of models, lights and primitives, sorted and each once. A deque: a scene
    /// names every object, and a tree of them would hold twice what their text takes.
    std::deque<std::string> namedObjects;
    bool names(const std::string& comment) const;
    std::vector<SceneTexture> textures;
    bool sunWithoutDirection = false;     // a `skylight` whose `sundir` is 0 0 0
};

/// Reads the scene file. Throws HostError naming the file when it cannot be read or parsed.
SceneContents readSceneContents(const std::filesystem::path& sceneFile);

/// The same through the strict XML parser alone, and the lenient one for what it refuses: what
/// the quick way must agree with.
SceneContents parseSceneContents(const std::filesystem::path& sceneFile);

} // namespace host
