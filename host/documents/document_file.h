// A document file as read from JSON, before any host node exists: plain records that keep the
// JSON path of every part, so that the build step can still name the place of an error.
// Placements are already turned into matrices; names, types and links are still texts.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "host/documents/json_path.h"
#include "host_types.h"

namespace host::docfile {

struct Vector3 {
    double x = 0, y = 0, z = 0;
};

/// Offset and the three axes, as the host's matrices: p maps to off + v1*p.x + v2*p.y + v3*p.z.
struct Matrix {
    Vector3 off{0, 0, 0}, v1{1, 0, 0}, v2{0, 1, 0}, v3{0, 0, 1};
};

/// null: the entry is taken out of the container.
struct Removed {};
/// {"file": "..."}
struct FileValue {
    JsonPlace path;
};
/// An object by its path of names from the top level: "A/B", or ["A", "B"] for names that
/// hold a "/".
using ObjectPathNames = std::vector<std::string>;

/// {"object": "A/B"}; {"object": null} is an empty link.
struct ObjectLink {
    std::optional<ObjectPathNames> path;
};
/// {"material": "M"}; {"material": null} is an empty link.
struct MaterialLink {
    std::optional<std::string> name;
};

struct Param;
/// {"container": {...}}: a sub-container with numeric keys.
struct Container {
    std::vector<Param> entries;
};

/// Typed by its JSON form: true/false, 12, 1.5, [x, y, z], "text", {"file"}, {"object"},
/// {"material"}, {"container"} or null.
using Value = std::variant<Removed, bool, int32_t, double, Vector3, std::string, FileValue, ObjectLink,
                           MaterialLink, Container>;

/// A parameter: a numeric ID or a symbolic name that the node's description declares.
struct Param {
    JsonPlace path; // JSON path of the value, for messages
    std::optional<int32_t> id;
    std::string symbol; // set when the key is not a number
    Value value;
};

enum class TagKind { Texture, CameraTarget, Plugin };

struct Tag {
    JsonPlace path;
    TagKind kind = TagKind::Plugin;
    std::optional<std::string> name;  // none: the name a new tag of the type gets
    std::optional<int32_t> pluginId; // a plug-in tag given by ID
    std::string pluginName;          // a plug-in tag given by name
    std::optional<std::string> material; // texture tag: the material's name
    std::optional<ObjectPathNames> target; // camera target tag: the target object
    std::vector<Param> params;
};

struct Object {
    JsonPlace path;
    int32_t type = 0;
    std::string name;
    std::optional<Matrix> placement; // none: the identity
    std::vector<Param> params;
    // Geometry in the host's own form, checked for its ranges: the build hands it over as it is.
    std::vector<HostVector> points;
    std::vector<HostPolygon> polygons; // a triangle has c == d
    /// Texture coordinates (u, v, w) of each polygon's four corners (a triangle's d repeats c);
    /// none: the object has no UVW tag.
    std::optional<std::vector<std::array<Vector3, 4>>> uvs;
    std::vector<Tag> tags;
    std::vector<Object> children;
};

struct Channel {
    JsonPlace path;
    std::optional<bool> on;
    std::optional<std::string> texture; // text 1002 of the channel's data
    std::vector<Param> data;
};

struct Material {
    JsonPlace path;
    std::string name;
    std::map<int32_t, Channel> channels;
    std::vector<Param> params;
};

/// The active view's camera.
enum class ViewKind {
    Default, // not given: the view looks through its editor camera in its default placement
    None,    // null: no view camera at all
    Camera,  // {"camera": "A/B"}: an object of the document
    Editor   // {"editor": {...}}: the view's editor camera with its own placement and lens
};

struct View {
    JsonPlace path;
    ViewKind kind = ViewKind::Default;
    ObjectPathNames camera;
    std::optional<Matrix> placement;
    std::vector<Param> params;
};

/// The document's file name settings.
struct Settings {
    std::optional<std::string> path; // the folder of the document file
    std::optional<std::string> name; // the document file's name
};

struct Document {
    std::string file; // the JSON file it was read from, for messages
    std::vector<Object> objects;
    std::vector<Material> materials;
    View view;
    Settings settings;
};

} // namespace host::docfile
