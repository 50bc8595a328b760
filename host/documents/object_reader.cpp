#include "host/documents/object_reader.h"

#include <cmath>
#include <limits>

#include "host/documents/type_names.h"
#include "host_constants.h"

namespace host {

using namespace docfile;

PackedList* ObjectReader::packed(const JsonTree& node) const {
    return node.is_binary() ? &(*lists_)[static_cast<std::size_t>(node.get_binary().subtype()) - listBase_] : nullptr;
}

HostVector ObjectReader::point(const JsonTree& node, const JsonPlace& listPath, std::size_t i) const {
    const Vector3 v = vector(node, index(listPath, i));
    checkNumber(v.x, listPath, i, 0);
    checkNumber(v.y, listPath, i, 1);
    checkNumber(v.z, listPath, i, 2);
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

void ObjectReader::readPolygons(PackedList& list, const JsonPlace& path, Object& object) const {
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

void ObjectReader::pointOutOfRange(const JsonPlace& path, int32_t corner, std::size_t pointCount) const {
    fail(path, "point index " + std::to_string(corner) + " out of range (the object has " +
                   std::to_string(pointCount) + (pointCount == 1 ? " point)" : " points)"));
}

void ObjectReader::wrongUvCount(const JsonPlace& path, std::size_t polygons, std::size_t entries) const {
    fail(path, "expected the coordinates of each polygon's corners, one entry per polygon (the object has " +
                   std::to_string(polygons) + " polygons, uvs has " + std::to_string(entries) + " entries)");
}

void ObjectReader::wrongCornerCount(const JsonPlace& path, std::size_t i, bool triangle, const std::string& found) const {
    fail(index(path, i), "expected " + std::to_string(triangle ? 3 : 4) + " corners [u, v] for the " +
                             (triangle ? "triangle" : "quad") + " polygons[" + std::to_string(i) + "], found " + found);
}

void ObjectReader::readPackedUvs(PackedList& list, const JsonPlace& path, Object& object) const {
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

Tag ObjectReader::tag(const JsonTree& node, const JsonPlace& path) const {
    requireObject(node, path, "a tag");
    allowKeys(node, path, {"type", "name", "material", "target", "params", "comment"});
    Tag tag;
    tag.path = path;
    const JsonTree* typeNode = field(node, "type");
    if (!typeNode) fail(path, "a tag needs a type");
    const auto& type = *typeNode;
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
    if (const JsonTree* name = field(node, "name")) tag.name = text(*name, member(path, "name"));
    if (const JsonTree* material = field(node, "material")) {
        if (tag.kind != TagKind::Texture) fail(member(path, "material"), "only a texture tag has a material");
        if (!material->is_null()) tag.material = text(*material, member(path, "material"));
    }
    if (const JsonTree* target = field(node, "target")) {
        if (tag.kind != TagKind::CameraTarget)
            fail(member(path, "target"), "only a camera-target tag has a target");
        if (!target->is_null()) tag.target = objectPath(*target, member(path, "target"));
    }
    if (const JsonTree* params = field(node, "params")) tag.params = this->params(*params, member(path, "params"), true);
    return tag;
}

Object ObjectReader::object(JsonTree& node, const JsonPlace& path) const {
    Object object;
    readObject(object, node, path);
    return object;
}

void ObjectReader::readObject(Object& object, JsonTree& node, const JsonPlace& path) const {
    JsonTree list = readOwnKeys(object, node, path);
    if (list.is_null()) return;
    JsonPlace childrenPath = member(path, "children");
    object.children.resize(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) readObject(object.children[i], list[i], index(childrenPath, i));
}

JsonTree ObjectReader::readOwnKeys(Object& object, JsonTree& owned, const JsonPlace& path) const {
    const JsonTree& node = owned; // read only: a missing key must not be added
    requireObject(node, path, "an object");
    allowKeys(node, path, {"type", "name", "matrix", "position", "rotation", "scale", "params", "points",
                           "polygons", "uvs", "tags", "children", "comment"});
    object.path = path;
    const JsonTree* typeNode = field(node, "type");
    if (!typeNode) fail(path, "an object needs a type (" + typenames::objectTypeList() + " or a numeric type ID)");
    const auto& type = *typeNode;
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
    if (const JsonTree* name = field(node, "name")) object.name = text(*name, member(path, "name"));
    object.placement = placement(node, path);
    if (const JsonTree* params = field(node, "params")) object.params = this->params(*params, member(path, "params"), true);
    readGeometry(node, path, object);
    if (const JsonTree* tags = field(node, "tags")) {
        JsonPlace tagsPath = member(path, "tags");
        const auto& list = listOf(*tags, tagsPath);
        object.tags.reserve(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) object.tags.push_back(tag(list[i], index(tagsPath, i)));
    }
    JsonTree children;
    if (const JsonTree* list = field(node, "children")) {
        listOf(*list, member(path, "children"));
        children = std::move(owned["children"]);
    }
    freeTree(owned);
    return children;
}

void ObjectReader::readGeometry(const JsonTree& node, const JsonPlace& path, Object& object) const {
    const JsonTree* points = field(node, "points");
    const JsonTree* polygons = field(node, "polygons");
    const JsonTree* uvs = field(node, "uvs");
    if (!points && !polygons && !uvs) return;
    if (object.type != TYPE_POLYGON_OBJECT)
        fail(member(path, points ? "points" : polygons ? "polygons" : "uvs"),
             "only a polygon object has points, polygons and uvs");
    if (points && packed(*points)) {
        readPoints(*packed(*points), object);
    } else if (points) {
        JsonPlace pointsPath = member(path, "points");
        const auto& list = listOf(*points, pointsPath);
        object.points.reserve(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) object.points.push_back(point(list[i], pointsPath, i));
    }
    if (polygons && packed(*polygons)) {
        readPolygons(*packed(*polygons), member(path, "polygons"), object);
    } else if (polygons) {
        JsonPlace polygonsPath = member(path, "polygons");
        const auto& list = listOf(*polygons, polygonsPath);
        object.polygons.reserve(list.size());
        for (std::size_t i = 0; i < list.size(); ++i)
            object.polygons.push_back(polygon(list[i], index(polygonsPath, i), object.points.size()));
    }
    if (uvs && packed(*uvs)) readPackedUvs(*packed(*uvs), member(path, "uvs"), object);
    else if (uvs) readUvs(*uvs, member(path, "uvs"), object);
}

void ObjectReader::readUvs(const JsonTree& node, const JsonPlace& path, Object& object) const {
    const auto& list = listOf(node, path);
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

HostPolygon ObjectReader::polygon(const JsonTree& node, const JsonPlace& path, std::size_t pointCount) const {
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

Material ObjectReader::material(const JsonTree& node, const JsonPlace& path) const {
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

Channel ObjectReader::channel(const JsonTree& node, const JsonPlace& path) const {
    requireObject(node, path, "a channel");
    allowKeys(node, path, {"on", "texture", "data"});
    Channel channel;
    channel.path = path;
    if (node.contains("on")) channel.on = boolean(node["on"], member(path, "on"));
    if (node.contains("texture")) channel.texture = text(node["texture"], member(path, "texture"));
    if (node.contains("data")) channel.data = params(node["data"], member(path, "data"), false);
    return channel;
}

View ObjectReader::view(const JsonTree& node, const JsonPlace& path) const {
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

Settings ObjectReader::settings(const JsonTree& node, const JsonPlace& path) const {
    requireObject(node, path, "document");
    allowKeys(node, path, {"path", "name"});
    Settings settings;
    if (node.contains("path")) settings.path = text(node["path"], member(path, "path"));
    if (node.contains("name")) settings.name = text(node["name"], member(path, "name"));
    return settings;
}

void ObjectReader::checkNumber(double value, const JsonPlace& listPath, std::size_t i, std::size_t k,
                               std::optional<std::size_t> inner) const {
    if (std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max()) return;
    JsonPlace path = index(index(listPath, i), k);
    fail(inner ? index(path, *inner) : path, "number out of range of a 32-bit real");
}

} // namespace host
