#include "host/documents/document_parser.h"

#include <cmath>
#include <exception>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <optional>

#include "host/documents/document_error.h"
#include "host/documents/json_path.h"
#include "host/documents/json_tree.h"
#include "host/documents/object_paths.h"
#include "host/documents/placement.h"
#include "host/documents/type_names.h"
#include "host_constants.h"

namespace host {

namespace {

using namespace docfile;
// Places are made into text only when a message names them.
JsonPlace member(const JsonPlace& parent, const std::string& key) { return parent.member(key); }
JsonPlace index(const JsonPlace& parent, std::size_t i) { return parent.index(i); }

/// "a string", "an integer", ... for messages.
std::string kindOf(const JsonTree& node) {
    switch (node.type()) {
    case JsonTree::value_t::null: return "null";
    case JsonTree::value_t::boolean: return "a boolean";
    case JsonTree::value_t::number_integer:
    case JsonTree::value_t::number_unsigned: return "an integer";
    case JsonTree::value_t::number_float: return "a real number";
    case JsonTree::value_t::string: return "a string";
    case JsonTree::value_t::array: return "a list";
    case JsonTree::value_t::object: return "an object";
    default: return "an unsupported value";
    }
}

bool isIdentifier(const std::string& key) {
    if (key.empty() || (key[0] >= '0' && key[0] <= '9')) return false;
    for (char c : key)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    return true;
}

/// A decimal integer key such as "1005" or "-3"; none otherwise.
std::optional<int32_t> numericKey(const std::string& key) {
    if (key.empty() || key.size() > 11) return std::nullopt;
    std::size_t start = key[0] == '-' ? 1 : 0;
    if (start == key.size()) return std::nullopt;
    for (std::size_t i = start; i < key.size(); ++i)
        if (key[i] < '0' || key[i] > '9') return std::nullopt;
    long long value = std::stoll(key);
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

class ObjectStream;

class Parser {
public:
    explicit Parser(std::string file) : file_(std::move(file)) {}

    /// The geometry lists the tree's objects stand for: list number s is lists[s - base].
    void useLists(std::vector<PackedList>& lists, std::size_t base) {
        lists_ = &lists;
        listBase_ = base;
    }

    /// Reads the document out of the tree, which gives back each top-level object once it is read.
    /// With a stream, the objects have gone to it as they were read (see ObjectStream).
    Document document(JsonTree& root, ObjectStream* stream = nullptr);

private:
    friend class ObjectStream;
    std::string file_;
    const JsonPlace objectsPlace_{"objects"}; // shared by the places of every object
    std::vector<PackedList>* lists_ = nullptr; // the geometry lists that the tree holds by their place
    std::size_t listBase_ = 0;

    /// The list read as records that `node` stands for; none when the node is a JSON value.
    PackedList* packed(const JsonTree& node) const {
        return node.is_binary() ? &(*lists_)[static_cast<std::size_t>(node.get_binary().subtype()) - listBase_] : nullptr;
    }

    void checkNumber(double value, const JsonPlace& listPath, std::size_t i, std::size_t k,
                     std::optional<std::size_t> inner = std::nullopt) const {
        if (std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max()) return;
        JsonPlace path = index(index(listPath, i), k);
        fail(inner ? index(path, *inner) : path, "number out of range of a 32-bit real");
    }

    /// A packed list holds only points in range.
    void readPoints(PackedList& list, Object& object) const { object.points = std::move(list.points); }

    /// A point [x, y, z] of 32-bit reals.
    HostVector point(const JsonTree& node, const JsonPlace& listPath, std::size_t i) const {
        const Vector3 v = vector(node, index(listPath, i));
        checkNumber(v.x, listPath, i, 0);
        checkNumber(v.y, listPath, i, 1);
        checkNumber(v.z, listPath, i, 2);
        return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
    }

    void readPolygons(PackedList& list, const JsonPlace& path, Object& object) const {
        const std::size_t pointCount = object.points.size();
        for (std::size_t i = 0; i < list.polygons.size(); ++i)
            for (std::size_t k = 0; k < list.corners[i]; ++k) {
                const HostPolygon& p = list.polygons[i];
                int32_t corner = k == 0 ? p.a : k == 1 ? p.b : k == 2 ? p.c : p.d;
                if (corner < 0 || static_cast<std::size_t>(corner) >= pointCount) pointOutOfRange(index(index(path, i), k), corner, pointCount);
            }
        object.polygons = std::move(list.polygons);
        list = {}; // the record holds it now
    }

    [[noreturn]] void pointOutOfRange(const JsonPlace& path, int32_t corner, std::size_t pointCount) const {
        fail(path, "point index " + std::to_string(corner) + " out of range (the object has " +
                       std::to_string(pointCount) + (pointCount == 1 ? " point)" : " points)"));
    }

    [[noreturn]] void wrongUvCount(const JsonPlace& path, std::size_t polygons, std::size_t entries) const {
        fail(path, "expected the coordinates of each polygon's corners, one entry per polygon (the object has " +
                       std::to_string(polygons) + " polygons, uvs has " + std::to_string(entries) + " entries)");
    }

    [[noreturn]] void wrongCornerCount(const JsonPlace& path, std::size_t i, bool triangle, const std::string& found) const {
        fail(index(path, i), "expected " + std::to_string(triangle ? 3 : 4) + " corners [u, v] for the " +
                                 (triangle ? "triangle" : "quad") + " polygons[" + std::to_string(i) + "], found " + found);
    }

    void readPackedUvs(PackedList& list, const JsonPlace& path, Object& object) const {
        if (list.uvs.size() != object.polygons.size()) wrongUvCount(path, object.polygons.size(), list.uvs.size());
        for (std::size_t i = 0; i < list.uvs.size(); ++i) {
            const bool triangle = object.polygons[i].c == object.polygons[i].d;
            if (list.corners[i] != (triangle ? 3 : 4)) wrongCornerCount(path, i, triangle, "a list");
            auto& record = list.uvs[i];
            for (std::size_t k = 0; k < list.corners[i]; ++k) {
                checkNumber(record[k].x, path, i, k, 0);
                checkNumber(record[k].y, path, i, k, 1);
                if (std::isnan(record[k].z)) record[k].z = 0.0;
                else checkNumber(record[k].z, path, i, k, 2);
            }
            if (triangle) record[3] = record[2];
        }
        object.uvs = std::move(list.uvs);
        list = {}; // the record holds it now
    }

    [[noreturn]] void fail(const JsonPlace& path, const std::string& problem) const {
        throw DocumentError(file_, path, problem);
    }

    void requireObject(const JsonTree& node, const JsonPlace& path, const std::string& what) const {
        if (!node.is_object()) fail(path, what + " must be an object {...}, found " + kindOf(node));
    }

    void allowKeys(const JsonTree& node, const JsonPlace& path, std::initializer_list<const char*> keys) const {
        for (const auto& item : node.items()) {
            bool known = false;
            for (const char* key : keys) known = known || item.key() == key;
            if (known) continue;
            std::string list;
            for (const char* key : keys) list += std::string(list.empty() ? "" : ", ") + key;
            fail(member(path, item.key()), "unknown key (expected one of: " + list + ")");
        }
    }

    const JsonTree& list_(const JsonTree& node, const JsonPlace& path) const {
        if (!node.is_array()) fail(path, "expected a list [...], found " + kindOf(node));
        return node;
    }

    std::string text(const JsonTree& node, const JsonPlace& path) const {
        if (!node.is_string()) fail(path, "expected a string, found " + kindOf(node));
        return node.get<std::string>();
    }

    /// A string, or none for null.
    std::optional<std::string> optionalText(const JsonTree& node, const JsonPlace& path) const {
        if (node.is_null()) return std::nullopt;
        return text(node, path);
    }

    /// "A/B", or a list of names ["A", "B/C"] for names that hold a "/".
    ObjectPathNames objectPath(const JsonTree& node, const JsonPlace& path) const {
        if (node.is_string()) return splitObjectPath(node.get<std::string>());
        if (!node.is_array() || node.empty())
            fail(path, R"(expected an object's path "A/B" or a list of names ["A", "B"], found )" + kindOf(node));
        ObjectPathNames names;
        for (std::size_t i = 0; i < node.size(); ++i) names.push_back(text(node[i], index(path, i)));
        return names;
    }

    bool boolean(const JsonTree& node, const JsonPlace& path) const {
        if (!node.is_boolean()) fail(path, "expected true or false, found " + kindOf(node));
        return node.get<bool>();
    }

    int32_t integer(const JsonTree& node, const JsonPlace& path) const {
        if (!node.is_number_integer()) fail(path, "expected an integer, found " + kindOf(node));
        if (node.is_number_unsigned()) {
            if (node.get<uint64_t>() > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
                fail(path, "integer out of range (a 32-bit integer is expected)");
        } else {
            int64_t value = node.get<int64_t>();
            if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
                fail(path, "integer out of range (a 32-bit integer is expected)");
        }
        return static_cast<int32_t>(node.get<int64_t>());
    }

    /// A number that the host keeps as a 32-bit real; integers are welcome here.
    double number(const JsonTree& node, const JsonPlace& path) const {
        if (!node.is_number()) fail(path, "expected a number, found " + kindOf(node));
        double value = node.get<double>();
        if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
            fail(path, "number out of range of a 32-bit real");
        return value;
    }

    Vector3 vector(const JsonTree& node, const JsonPlace& path) const {
        if (!node.is_array() || node.size() != 3) fail(path, "expected [x, y, z], found " + kindOf(node));
        return {number(node[0], index(path, 0)), number(node[1], index(path, 1)), number(node[2], index(path, 2))};
    }

    Matrix matrix(const JsonTree& node, const JsonPlace& path) const {
        requireObject(node, path, "a matrix");
        allowKeys(node, path, {"offset", "v1", "v2", "v3"});
        Matrix m;
        if (node.contains("offset")) m.off = vector(node["offset"], member(path, "offset"));
        if (node.contains("v1")) m.v1 = vector(node["v1"], member(path, "v1"));
        if (node.contains("v2")) m.v2 = vector(node["v2"], member(path, "v2"));
        if (node.contains("v3")) m.v3 = vector(node["v3"], member(path, "v3"));
        return m;
    }

    /// `matrix`, or any of `position`, `rotation`, `scale`; never both ways.
    std::optional<Matrix> placement(const JsonTree& node, const JsonPlace& path) const {
        bool parts = node.contains("position") || node.contains("rotation") || node.contains("scale");
        if (node.contains("matrix")) {
            if (parts) fail(member(path, "matrix"), "give either matrix or position/rotation/scale, not both");
            return matrix(node["matrix"], member(path, "matrix"));
        }
        if (!parts) return std::nullopt;
        Vector3 position, rotation, scale{1, 1, 1};
        if (node.contains("position")) position = vector(node["position"], member(path, "position"));
        if (node.contains("rotation")) rotation = vector(node["rotation"], member(path, "rotation"));
        if (node.contains("scale")) {
            const auto& s = node["scale"];
            if (s.is_number()) {
                double factor = number(s, member(path, "scale"));
                scale = {factor, factor, factor};
            } else {
                scale = vector(s, member(path, "scale"));
            }
        }
        return placementMatrix(position, rotation, scale);
    }

    docfile::Value value(const JsonTree& node, const JsonPlace& path) const {
        switch (node.type()) {
        case JsonTree::value_t::null: return Removed{};
        case JsonTree::value_t::boolean: return node.get<bool>();
        case JsonTree::value_t::number_integer:
        case JsonTree::value_t::number_unsigned: return integer(node, path);
        case JsonTree::value_t::number_float: return number(node, path);
        case JsonTree::value_t::string: return node.get<std::string>();
        case JsonTree::value_t::array: return vector(node, path);
        case JsonTree::value_t::object: break;
        default: fail(path, "unsupported value");
        }
        if (node.size() != 1)
            fail(path, R"(expected {"file": ...}, {"object": ...}, {"material": ...} or {"container": ...})");
        auto item = node.begin();
        const std::string form = item.key();
        const JsonTree& inside = item.value();
        std::string inner = member(path, form);
        if (form == "file") return docfile::FileValue{text(inside, inner)};
        if (form == "object") {
            if (inside.is_null()) return ObjectLink{};
            return ObjectLink{objectPath(inside, inner)};
        }
        if (form == "material") return MaterialLink{optionalText(inside, inner)};
        if (form == "container") return Container{params(inside, inner, false)};
        fail(inner, R"(unknown value form (expected "file", "object", "material" or "container"))");
    }

    std::vector<Param> params(const JsonTree& node, const JsonPlace& path, bool symbolic) const {
        requireObject(node, path, "params");
        std::vector<Param> out;
        for (const auto& item : node.items()) {
            Param param;
            param.path = member(path, item.key());
            param.id = numericKey(item.key());
            if (!param.id) {
                if (!symbolic || !isIdentifier(item.key()))
                    fail(param.path, symbolic ? "a parameter key is a numeric ID or a symbolic name such as LCFG_WIDTH"
                                              : "a key in a sub-container is a numeric ID");
                param.symbol = item.key();
            }
            param.value = value(item.value(), param.path);
            out.push_back(std::move(param));
        }
        return out;
    }

    Tag tag(const JsonTree& node, const JsonPlace& path) const {
        requireObject(node, path, "a tag");
        allowKeys(node, path, {"type", "name", "material", "target", "params", "comment"});
        Tag tag;
        tag.path = path;
        if (!node.contains("type")) fail(path, "a tag needs a type");
        const auto& type = node["type"];
        JsonPlace typePath = member(path, "type");
        if (type.is_number_integer()) {
            int32_t id = integer(type, typePath);
            if (id == TYPE_TEXTURE_TAG) tag.kind = TagKind::Texture;
            else if (id == TYPE_CAMERA_TARGET_TAG) tag.kind = TagKind::CameraTarget;
            else tag.pluginId = id;
        } else {
            std::string name = text(type, typePath);
            if (name == typenames::textureTag) tag.kind = TagKind::Texture;
            else if (name == typenames::cameraTargetTag) tag.kind = TagKind::CameraTarget;
            else if (name.empty()) fail(typePath, "empty tag type");
            else tag.pluginName = name;
        }
        if (node.contains("name")) tag.name = text(node["name"], member(path, "name"));
        if (node.contains("material")) {
            if (tag.kind != TagKind::Texture) fail(member(path, "material"), "only a texture tag has a material");
            if (!node["material"].is_null()) tag.material = text(node["material"], member(path, "material"));
        }
        if (node.contains("target")) {
            if (tag.kind != TagKind::CameraTarget)
                fail(member(path, "target"), "only a camera-target tag has a target");
            if (!node["target"].is_null()) tag.target = objectPath(node["target"], member(path, "target"));
        }
        if (node.contains("params")) tag.params = params(node["params"], member(path, "params"), true);
        return tag;
    }

    Object object(JsonTree& node, const JsonPlace& path) const {
        Object object;
        readObject(object, node, path);
        return object;
    }

    /// Reads the object's own keys, then each child into its place. The tree gives back each
    /// object's part once it is read, before its children are, so that a deep hierarchy is never
    /// held as tree and records at once; and one level of it costs little stack.
    void readObject(Object& object, JsonTree& node, const JsonPlace& path) const {
        JsonTree list = readOwnKeys(object, node, path);
        if (list.is_null()) return;
        JsonPlace childrenPath = member(path, "children");
        object.children.resize(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) readObject(object.children[i], list[i], index(childrenPath, i));
    }

    /// Everything of an object but its children, whose list it hands back (null: none); the
    /// object's tree is null after it.
    [[gnu::noinline]] JsonTree readOwnKeys(Object& object, JsonTree& owned, const JsonPlace& path) const {
        const JsonTree& node = owned; // read only: a missing key must not be added
        requireObject(node, path, "an object");
        allowKeys(node, path, {"type", "name", "matrix", "position", "rotation", "scale", "params", "points",
                               "polygons", "uvs", "tags", "children", "comment"});
        object.path = path;
        if (!node.contains("type")) fail(path, "an object needs a type (" + typenames::objectTypeList() + " or a numeric type ID)");
        const auto& type = node["type"];
        JsonPlace typePath = member(path, "type");
        if (type.is_number_integer()) {
            object.type = integer(type, typePath);
        } else {
            auto known = typenames::objectType(text(type, typePath));
            if (!known)
                fail(typePath, "unknown object type \"" + type.get<std::string>() + "\" (expected " +
                                   typenames::objectTypeList() + " or a numeric type ID)");
            object.type = *known;
        }
        if (node.contains("name")) object.name = text(node["name"], member(path, "name"));
        object.placement = placement(node, path);
        if (node.contains("params")) object.params = params(node["params"], member(path, "params"), true);
        readGeometry(node, path, object);
        if (node.contains("tags")) {
            JsonPlace tagsPath = member(path, "tags");
            const auto& list = list_(node["tags"], tagsPath);
            for (std::size_t i = 0; i < list.size(); ++i) object.tags.push_back(tag(list[i], index(tagsPath, i)));
        }
        JsonTree children;
        if (node.contains("children")) {
            list_(node["children"], member(path, "children"));
            children = std::move(owned["children"]);
        }
        owned = nullptr;
        return children;
    }

    void readGeometry(const JsonTree& node, const JsonPlace& path, Object& object) const {
        bool geometry = node.contains("points") || node.contains("polygons") || node.contains("uvs");
        if (!geometry) return;
        if (object.type != TYPE_POLYGON_OBJECT)
            fail(member(path, node.contains("points") ? "points" : node.contains("polygons") ? "polygons" : "uvs"),
                 "only a polygon object has points, polygons and uvs");
        if (node.contains("points") && packed(node["points"])) {
            readPoints(*packed(node["points"]), object);
        } else if (node.contains("points")) {
            JsonPlace pointsPath = member(path, "points");
            const auto& list = list_(node["points"], pointsPath);
            object.points.reserve(list.size());
            for (std::size_t i = 0; i < list.size(); ++i) object.points.push_back(point(list[i], pointsPath, i));
        }
        if (node.contains("polygons") && packed(node["polygons"])) {
            readPolygons(*packed(node["polygons"]), member(path, "polygons"), object);
        } else if (node.contains("polygons")) {
            JsonPlace polygonsPath = member(path, "polygons");
            const auto& list = list_(node["polygons"], polygonsPath);
            object.polygons.reserve(list.size());
            for (std::size_t i = 0; i < list.size(); ++i)
                object.polygons.push_back(polygon(list[i], index(polygonsPath, i), object.points.size()));
        }
        if (node.contains("uvs") && packed(node["uvs"])) readPackedUvs(*packed(node["uvs"]), member(path, "uvs"), object);
        else if (node.contains("uvs")) readUvs(node["uvs"], member(path, "uvs"), object);
    }

    /// One entry per polygon, with one [u, v] or [u, v, w] per corner of it.
    void readUvs(const JsonTree& node, const JsonPlace& path, Object& object) const {
        const auto& list = list_(node, path);
        if (list.size() != object.polygons.size()) wrongUvCount(path, object.polygons.size(), list.size());
        auto& uvs = object.uvs.emplace();
        uvs.reserve(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            JsonPlace entryPath = index(path, i);
            const bool triangle = object.polygons[i].c == object.polygons[i].d;
            const std::size_t corners = triangle ? 3 : 4;
            if (!list[i].is_array() || list[i].size() != corners) wrongCornerCount(path, i, triangle, kindOf(list[i]));
            std::array<Vector3, 4> record{};
            for (std::size_t k = 0; k < corners; ++k) {
                const JsonTree& corner = list[i][k];
                JsonPlace cornerPath = index(entryPath, k);
                if (!corner.is_array() || (corner.size() != 2 && corner.size() != 3))
                    fail(cornerPath, "expected [u, v] or [u, v, w], found " + kindOf(corner));
                record[k] = {number(corner[0], index(cornerPath, 0)), number(corner[1], index(cornerPath, 1)),
                             corner.size() == 3 ? number(corner[2], index(cornerPath, 2)) : 0.0};
            }
            if (triangle) record[3] = record[2];
            uvs.push_back(record);
        }
    }

    HostPolygon polygon(const JsonTree& node, const JsonPlace& path, std::size_t pointCount) const {
        if (!node.is_array() || (node.size() != 3 && node.size() != 4))
            fail(path, "expected a triangle [a, b, c] or a quad [a, b, c, d] of point indices, found " + kindOf(node));
        std::array<int32_t, 4> corners{};
        for (std::size_t k = 0; k < node.size(); ++k) {
            int32_t corner = integer(node[k], index(path, k));
            if (corner < 0 || static_cast<std::size_t>(corner) >= pointCount) pointOutOfRange(index(path, k), corner, pointCount);
            corners[k] = corner;
        }
        return {corners[0], corners[1], corners[2], node.size() == 3 ? corners[2] : corners[3]};
    }

    Material material(const JsonTree& node, const JsonPlace& path) const {
        requireObject(node, path, "a material");
        allowKeys(node, path, {"name", "channels", "params", "comment"});
        Material material;
        material.path = path;
        if (node.contains("name")) material.name = text(node["name"], member(path, "name"));
        if (node.contains("params")) material.params = params(node["params"], member(path, "params"), true);
        if (node.contains("channels")) {
            JsonPlace channelsPath = member(path, "channels");
            requireObject(node["channels"], channelsPath, "channels");
            for (const auto& item : node["channels"].items()) {
                JsonPlace channelPath = member(channelsPath, item.key());
                auto number = numericKey(item.key());
                if (!number || *number < 0) fail(channelPath, "a channel is given by its number, such as \"0\"");
                material.channels[*number] = channel(item.value(), channelPath);
            }
        }
        return material;
    }

    Channel channel(const JsonTree& node, const JsonPlace& path) const {
        requireObject(node, path, "a channel");
        allowKeys(node, path, {"on", "texture", "data"});
        Channel channel;
        channel.path = path;
        if (node.contains("on")) channel.on = boolean(node["on"], member(path, "on"));
        if (node.contains("texture")) channel.texture = text(node["texture"], member(path, "texture"));
        if (node.contains("data")) channel.data = params(node["data"], member(path, "data"), false);
        return channel;
    }

    View view(const JsonTree& node, const JsonPlace& path) const {
        View view;
        view.path = path;
        if (node.is_null()) {
            view.kind = ViewKind::None;
            return view;
        }
        requireObject(node, path, "the view");
        allowKeys(node, path, {"camera", "editor"});
        if (node.contains("camera") == node.contains("editor"))
            fail(path, R"(give the view either {"camera": "path of the camera object"} or {"editor": {...}})");
        if (node.contains("camera")) {
            view.kind = ViewKind::Camera;
            view.camera = objectPath(node["camera"], member(path, "camera"));
            return view;
        }
        JsonPlace editorPath = member(path, "editor");
        const auto& editor = node["editor"];
        requireObject(editor, editorPath, "the editor camera");
        allowKeys(editor, editorPath, {"matrix", "position", "rotation", "scale", "params"});
        view.kind = ViewKind::Editor;
        view.placement = placement(editor, editorPath);
        if (editor.contains("params")) view.params = params(editor["params"], member(editorPath, "params"), true);
        return view;
    }

    Settings settings(const JsonTree& node, const JsonPlace& path) const {
        requireObject(node, path, "document");
        allowKeys(node, path, {"path", "name"});
        Settings settings;
        if (node.contains("path")) settings.path = text(node["path"], member(path, "path"));
        if (node.contains("name")) settings.name = text(node["name"], member(path, "name"));
        return settings;
    }
};

/// Reads each object into its record as soon as its text is read, deepest first, and hands it
/// on, so that a large document is never held as a tree or as records whole. The first fault is
/// kept and thrown where a reading of the whole tree would meet it: an object's own before its
/// children's, an earlier child's before a later one's, a top-level object's after the document's
/// own keys are checked, and only if no syntax error comes later in the text.
class ObjectStream final : public ObjectSink {
public:
    ObjectStream(Parser& parser, const ObjectReceiver& receiver) : parser_(parser), receiver_(receiver) {}

    void openObject(std::size_t i) override {
        Level level;
        level.index = i;
        level.sequence = sequence_++;
        if (open_.empty()) {
            level.place = index(parser_.objectsPlace_, i);
            level.skip = static_cast<bool>(fault_); // only its syntax matters now
        } else {
            Level& parent = open_.back();
            if (!parent.childrenPlace) parent.childrenPlace = member(parent.place, "children");
            level.place = index(*parent.childrenPlace, i);
            // Entries before it that began no object are not objects: they fail at their place.
            if (!parent.firstUnheard && i > parent.nextChild) parent.firstUnheard = parent.nextChild;
            parent.nextChild = i + 1;
            level.skip = parent.skip || parent.fault || parent.firstUnheard; // an earlier fault comes first
        }
        open_.push_back(std::move(level));
    }

    void closeObject(JsonTree& node, std::vector<PackedList>& lists, std::size_t base) override {
        Level level = std::move(open_.back());
        open_.pop_back();
        if (level.skip) return;
        std::exception_ptr fault;
        try {
            parser_.useLists(lists, base);
            ReadObject read;
            JsonTree children = parser_.readOwnKeys(read.object, node, level.place);
            const std::size_t count = children.is_array() ? children.size() : 0;
            if (!level.firstUnheard && level.nextChild < count) level.firstUnheard = level.nextChild;
            if (level.firstUnheard && (!level.fault || *level.firstUnheard < level.faultAt)) {
                Object unused; // it is no object: reading it fails as in a reading of the whole tree
                parser_.readObject(unused, children[*level.firstUnheard],
                                   index(member(level.place, "children"), *level.firstUnheard));
            }
            if (!level.fault) {
                read.children = level.taken;
                read.sequence = level.sequence;
                read.top = open_.empty();
                receiver_.take(std::move(read));
            }
        } catch (...) {
            fault = std::current_exception();
        }
        if (!fault) fault = level.fault;
        if (open_.empty()) {
            if (fault) {
                fault_ = fault;
                faultAt_ = level.index;
            } else {
                if (taken_.size() <= level.index) taken_.resize(level.index + 1, false);
                taken_[level.index] = true;
            }
        } else if (fault) {
            open_.back().fault = fault;
            open_.back().faultAt = level.index;
        } else {
            ++open_.back().taken;
        }
    }

    void restart() override {
        open_.clear();
        taken_.clear();
        fault_ = nullptr;
        sequence_ = 0;
        receiver_.restart();
    }

    /// The entry `i` of "objects" once the whole text is read, in order: one already taken is
    /// passed, the kept fault is thrown at its place, and anything else is read now.
    void atEnd(JsonTree& node, std::size_t i) {
        if (i < taken_.size() && taken_[i]) return;
        if (fault_ && i == faultAt_) std::rethrow_exception(fault_);
        ReadObject read;
        read.object = parser_.object(node, index(parser_.objectsPlace_, i));
        read.sequence = sequence_++;
        read.top = true;
        receiver_.take(std::move(read));
    }

private:
    /// An object whose text has begun and not ended.
    struct Level {
        std::size_t index = 0;    // in its list
        std::size_t sequence = 0; // among the file's objects
        JsonPlace place;
        std::optional<JsonPlace> childrenPlace; // shared by the places of its children
        bool skip = false;        // not read: a fault before it comes first
        std::size_t taken = 0;    // children handed on
        std::size_t nextChild = 0; // the index after the last child begun
        std::optional<std::size_t> firstUnheard; // the first entry of its children that began no object
        std::exception_ptr fault; // the first fault in its children
        std::size_t faultAt = 0;  // the child that has it
    };
    Parser& parser_;
    const ObjectReceiver& receiver_;
    std::vector<Level> open_;
    std::size_t sequence_ = 0;
    std::vector<bool> taken_;
    std::exception_ptr fault_;
    std::size_t faultAt_ = 0;
};

Document Parser::document(JsonTree& root, ObjectStream* stream) {
    Document doc;
    doc.file = file_;
    requireObject(root, "", "the document");
    allowKeys(root, "", {"objects", "materials", "view", "document", "comment"});
    if (root.contains("objects")) {
        list_(root["objects"], "objects");
        auto& list = root["objects"];
        if (!stream) doc.objects.reserve(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (stream) stream->atEnd(list[i], i);
            else doc.objects.push_back(object(list[i], index(objectsPlace_, i)));
            list[i] = nullptr;
        }
    }
    if (root.contains("materials")) {
        const auto& list = list_(root["materials"], "materials");
        for (std::size_t i = 0; i < list.size(); ++i)
            doc.materials.push_back(material(list[i], index("materials", i)));
    }
    if (root.contains("view")) doc.view = view(root["view"], "view");
    if (root.contains("document")) doc.settings = settings(root["document"], "document");
    if (root.contains("comment")) text(root["comment"], "comment");
    return doc;
}

} // namespace

docfile::Document parseDocumentText(const std::string& text, const std::string& file) {
    JsonDocument json = parseJsonTree(text, file);
    Parser parser(file);
    parser.useLists(json.lists, json.listBase);
    return parser.document(json.root);
}

docfile::Document readDocumentFile(const std::filesystem::path& file) {
    std::vector<docfile::Object> objects, waiting; // waiting: objects whose parent is still being read
    auto take = [&](ReadObject&& read) {
        const auto children = waiting.end() - static_cast<std::ptrdiff_t>(read.children);
        std::move(children, waiting.end(), std::back_inserter(read.object.children));
        waiting.erase(children, waiting.end());
        (read.top ? objects : waiting).push_back(std::move(read.object));
    };
    docfile::Document document = readDocumentFile(file, {take, [&] {
                                                             objects.clear();
                                                             waiting.clear();
                                                         }});
    document.objects = std::move(objects);
    return document;
}

docfile::Document readDocumentFile(const std::filesystem::path& file, const ObjectReceiver& receiver) {
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) throw DocumentError(file.string(), "", "is a folder, not a document file");
    Parser parser(file.string());
    ObjectStream stream(parser, receiver);
    JsonDocument json;
    {
        DocumentText text(file);
        json = parseJsonText(text, file.string(), &stream);
    }
    parser.useLists(json.lists, json.listBase);
    return parser.document(json.root, &stream);
}

} // namespace host
