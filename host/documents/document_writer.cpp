#include "host/documents/document_writer.h"

#include "host/files/whole_file.h"
#include "host/plugins/host_error.h"

#include <cerrno>
#include <exception>
#include <functional>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "host/documents/document_error.h"
#include "host/documents/json_path.h"
#include "host/documents/json_printer.h"
#include "host/documents/json_tree.h"
#include "host/documents/object_paths.h"
#include "host/documents/parameter_schema.h"
#include "host/documents/type_names.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/model/links.h"
#include "host/model/placement.h"
#include "host/plugins/host_error.h"
#include "host/plugins/plugin_tags.h"
#include "host/plugins/registry.h"
#include "host_constants.h"

namespace host {

namespace {

/// Objects nested deeper than this would not load back (the reader's nesting limit).
constexpr std::size_t maxObjectDepth = 900;
constexpr int32_t materialTextureName = 1002;

/// The shortest decimal that reads back as the same 32-bit real, as a double for the JSON
/// printer (0.01f is written 0.01, not 0.009999999776482582).
double shortestReal(float value) {
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    *result.ptr = '\0';
    double shortest = std::strtod(text, nullptr);
    return static_cast<float>(shortest) == value ? shortest : static_cast<double>(value);
}

JsonTree vector(const HostVector& v) { return JsonTree::array({shortestReal(v.x), shortestReal(v.y), shortestReal(v.z)}); }

bool isIdentity(const HostMatrix& m) {
    return m.off == HostVector{0, 0, 0} && m.v1 == HostVector{1, 0, 0} && m.v2 == HostVector{0, 1, 0} &&
           m.v3 == HostVector{0, 0, 1};
}

JsonTree matrix(const HostMatrix& m) {
    JsonTree out = JsonTree::object();
    out["offset"] = vector(m.off);
    out["v1"] = vector(m.v1);
    out["v2"] = vector(m.v2);
    out["v3"] = vector(m.v3);
    return out;
}

/// "position" when the axes are the identity's, else "matrix"; nothing for the identity.
void placement(const HostMatrix& m, JsonTree& out) {
    if (isIdentity(m)) return;
    if (m.v1 == HostVector{1, 0, 0} && m.v2 == HostVector{0, 1, 0} && m.v3 == HostVector{0, 0, 1})
        out["position"] = vector(m.off);
    else
        out["matrix"] = matrix(m);
}

/// Writes the text as it goes: the small parts of the document (its settings, view, materials,
/// and each object's own keys and tags) are made as trees and printed, the geometry lists and the
/// object hierarchy are printed straight from the host's objects. `spill` takes the text made so
/// far whenever it has grown, so that a large document is never held as text or tree.
class Writer {
public:
    Writer(const HostNode& document, Registry& registry, std::string file, std::string& out,
           std::function<void(std::string&)> spill)
        : document_(document), registry_(registry), file_(std::move(file)), paths_(document), out_(out),
          spill_(std::move(spill)) {}

    void write() {
        if (paths_.depth() > maxObjectDepth)
            fail("objects", "objects nest deeper than " + std::to_string(maxObjectDepth) + " levels");
        std::vector<std::pair<const char*, JsonTree>> parts;
        JsonTree settings = this->settings();
        if (!settings.empty()) parts.emplace_back("document", std::move(settings));
        if (auto view = this->view()) parts.emplace_back("view", std::move(*view));
        JsonTree materials = JsonTree::array();
        for (HostNode* m = firstMaterial(document_); m; m = m->next())
            materials.push_back(material(*m, jsonpath::index("materials", materials.size())));
        if (!materials.empty()) parts.emplace_back("materials", std::move(materials));
        const HostNode* objects = firstObject(document_);
        if (parts.empty() && !objects) {
            out_ += "{}";
            return;
        }
        out_ += "{";
        bool first = true;
        for (const auto& [key, value] : parts) {
            out_ += first ? "\n  \"" : ",\n  \"";
            first = false;
            out_ += key;
            out_ += "\": ";
            printJson(value, 2, out_);
        }
        if (objects) {
            out_ += parts.empty() ? "\n  \"objects\": [" : ",\n  \"objects\": [";
            std::size_t i = 0;
            for (const HostNode* o = objects; o; o = o->next(), ++i) {
                out_ += i ? ",\n    " : "\n    ";
                object(*o, jsonpath::index("objects", i), 4);
            }
            out_ += "\n  ]";
        }
        out_ += "\n}";
    }

private:
    const HostNode& document_;
    Registry& registry_;
    std::string file_;
    ObjectPathIndex paths_;
    /// What a new plug-in tag receives from its initialise.
    struct FreshTag {
        std::string name;
        HostContainer params;
    };
    std::map<int32_t, FreshTag> freshTags_; // by plug-in ID
    std::string& out_;
    std::function<void(std::string&)> spill_;
    static constexpr std::size_t spillSize = std::size_t(1) << 16;

    void spillIfLarge() {
        if (out_.size() >= spillSize) spill_(out_);
    }

    [[noreturn]] void fail(const std::string& path, const std::string& problem) const {
        throw DocumentError(file_, path, problem);
    }

    JsonTree settings() const {
        JsonTree out = JsonTree::object();
        std::string path = documentSetting(document_, DOCUMENT_PATH);
        std::string name = documentSetting(document_, DOCUMENT_FILE_NAME);
        if (!path.empty()) out["path"] = path;
        if (!name.empty()) out["name"] = name;
        return out;
    }

    /// Nothing when the view is a new document's; null when there is no camera to look through.
    std::optional<JsonTree> view() {
        HostView* view = activeView(const_cast<HostNode&>(document_));
        if (!view) return JsonTree(nullptr);
        if (HostNode* camera = viewSceneCamera(*view, document_)) {
            JsonTree out = JsonTree::object();
            out["camera"] = linkPath(*camera, "view.camera");
            return out;
        }
        HostNode* editor = viewEditorCamera(*view);
        if (!editor) return JsonTree(nullptr);
        NodePtr fresh = createDocument();
        const HostNode* freshEditor = viewEditorCamera(*activeView(*fresh));
        HostMatrix placement = localMatrix(*editor);
        JsonTree params = differences(editor->params, freshEditor->params,
                                      ParameterSchema::forHostType(TYPE_CAMERA), "view.editor.params");
        HostMatrix freshPlacement = localMatrix(*freshEditor);
        bool samePlacement = placement.off == freshPlacement.off && placement.v1 == freshPlacement.v1 &&
                             placement.v2 == freshPlacement.v2 && placement.v3 == freshPlacement.v3;
        if (samePlacement && params.empty()) return std::nullopt;
        JsonTree editorOut = JsonTree::object();
        editorOut["matrix"] = matrix(placement);
        if (!params.empty()) editorOut["params"] = std::move(params);
        JsonTree out = JsonTree::object();
        out["editor"] = std::move(editorOut);
        return out;
    }

    /// The object at `indent` spaces, its keys in the order type, name, placement, params,
    /// points, polygons, uvs, tags, children; a fault is found before any of its text is written.
    void object(const HostNode& node, const std::string& path, std::size_t indent) {
        JsonTree own = JsonTree::object();
        auto typeName = typenames::objectTypeName(node.type());
        if (typeName) own["type"] = *typeName;
        else own["type"] = node.type();
        if (!node.name.empty()) own["name"] = node.name;
        HostMatrix local = localMatrix(node);
        placement(local, own);
        NodePtr fresh = newObject(node.type());
        JsonTree params = differences(node.params, fresh->params, ParameterSchema::forHostType(node.type()),
                                      jsonpath::member(path, "params"));
        if (!params.empty()) own["params"] = std::move(params);
        const HostNode* uvwTag = findUvwTag(node); // written as the object's "uvs"
        const bool geometry = !node.points.empty() || !node.polygons.empty();
        if (geometry) checkGeometry(node, uvwTag, path);
        if (uvwTag && node.type() != TYPE_POLYGON_OBJECT) fail(path, "only a polygon object keeps a UVW tag in a document file");
        JsonTree tags = JsonTree::array();
        for (HostNode* tag = node.tags().first(); tag; tag = tag->next())
            if (tag != uvwTag)
                tags.push_back(this->tag(*tag, jsonpath::index(jsonpath::member(path, "tags"), tags.size())));

        const std::string inner(indent + 2, ' ');
        bool firstKey = true;
        auto key = [&](const char* name) {
            out_ += firstKey ? "\n" : ",\n";
            firstKey = false;
            out_ += inner;
            out_ += '"';
            out_ += name;
            out_ += "\": ";
        };
        out_ += '{';
        for (auto it = own.begin(); it != own.end(); ++it) {
            key(it.key().c_str());
            printJson(it.value(), indent + 2, out_);
        }
        if (geometry) {
            key("points");
            list(indent + 2, node.points.size(), [&](std::size_t i) { point(node.points[i]); });
            key("polygons");
            list(indent + 2, node.polygons.size(), [&](std::size_t i) { polygon(node.polygons[i]); });
            if (uvwTag) {
                key("uvs");
                list(indent + 2, uvwTag->uvws.size(), [&](std::size_t i) { uvs(uvwTag->uvws[i], node.polygons[i], indent + 4); });
            }
        }
        if (!tags.empty()) {
            key("tags");
            printJson(tags, indent + 2, out_);
        }
        if (node.children().first()) {
            key("children");
            out_ += '[';
            std::size_t i = 0;
            for (HostNode* child = node.children().first(); child; child = child->next(), ++i) {
                out_ += i ? ",\n" : "\n";
                out_.append(indent + 4, ' ');
                object(*child, jsonpath::index(jsonpath::member(path, "children"), i), indent + 4);
            }
            out_ += '\n';
            out_ += inner;
            out_ += ']';
        }
        out_ += '\n';
        out_.append(indent, ' ');
        out_ += '}';
        spillIfLarge();
    }

    void checkGeometry(const HostNode& node, const HostNode* uvwTag, const std::string& path) const {
        if (node.type() != TYPE_POLYGON_OBJECT) fail(path, "only a polygon object keeps points and polygons in a document file");
        if (uvwTag && uvwTag->uvws.size() != node.polygons.size())
            fail(path, "its UVW tag has coordinates for " + std::to_string(uvwTag->uvws.size()) + " polygons but the object has " +
                           std::to_string(node.polygons.size()) + "; a document file keeps one entry per polygon");
    }

    /// A list of `count` lists, each entry on a line of its own as the printer lays them out.
    template <typename Entry>
    void list(std::size_t indent, std::size_t count, const Entry& entry) {
        if (count == 0) {
            out_ += "[]";
            return;
        }
        out_ += '[';
        for (std::size_t i = 0; i < count; ++i) {
            out_ += i ? ",\n" : "\n";
            out_.append(indent + 2, ' ');
            entry(i);
            spillIfLarge();
        }
        out_ += '\n';
        out_.append(indent, ' ');
        out_ += ']';
    }

    void number(double value) { out_ += JsonTree(value).dump(); }
    void number(int32_t value) {
        char text[16];
        out_.append(text, std::to_chars(text, text + sizeof text, value).ptr);
    }

    /// [x, y, z] of a point; [u, v] or [u, v, w] of a uv corner.
    void point(const HostVector& v, bool withZ = true) {
        out_ += '[';
        number(shortestReal(v.x));
        out_ += ", ";
        number(shortestReal(v.y));
        if (withZ) {
            out_ += ", ";
            number(shortestReal(v.z));
        }
        out_ += ']';
    }

    void polygon(const HostPolygon& p) {
        out_ += '[';
        const int32_t corners[] = {p.a, p.b, p.c, p.d};
        for (std::size_t k = 0; k < (p.c == p.d ? 3u : 4u); ++k) {
            if (k) out_ += ", ";
            number(corners[k]);
        }
        out_ += ']';
    }

    /// One polygon's corners, a line each.
    void uvs(const UvwPolygon& r, const HostPolygon& polygon, std::size_t indent) {
        const HostVector* corners[] = {&r.a, &r.b, &r.c, &r.d};
        list(indent, polygon.c == polygon.d ? 3 : 4, [&](std::size_t k) { point(*corners[k], corners[k]->z != 0.0f); });
    }

    JsonTree tag(const HostNode& node, const std::string& path) {
        JsonTree out = JsonTree::object();
        std::string paramsPath = jsonpath::member(path, "params");
        if (node.type() == TYPE_TEXTURE_TAG || node.type() == TYPE_CAMERA_TARGET_TAG) {
            out["type"] = node.type() == TYPE_TEXTURE_TAG ? typenames::textureTag : typenames::cameraTargetTag;
            NodePtr fresh = newTag(node.type());
            if (node.name != fresh->name) out["name"] = node.name;
            JsonTree params = differences(node.params, fresh->params, ParameterSchema::forHostType(node.type()), paramsPath);
            // The tag's own link is written as its "material" or "target" where it names one.
            const bool texture = node.type() == TYPE_TEXTURE_TAG;
            const char* linkKey = texture ? "TEXTURE_TAG_MATERIAL" : "CAMERA_TARGET_LINK";
            const char* form = texture ? "material" : "object";
            if (params.contains(linkKey) && params[linkKey].is_object() && params[linkKey].contains(form) &&
                !params[linkKey][form].is_null()) {
                out[texture ? "material" : "target"] = params[linkKey][form];
                params.erase(linkKey);
            }
            if (!params.empty()) out["params"] = std::move(params);
            return out;
        }
        if (node.type() == TYPE_UVW_TAG) fail(path, "a document file keeps one UVW tag per object (its \"uvs\"), this is a second one");
        const RegisteredPlugin* plugin = registry_.find(node.type());
        if (!plugin || plugin->kind != PLUGIN_KIND_TAG)
            fail(path, "the tag's type " + std::to_string(node.type()) + " is not a registered tag plug-in");
        // By name where the name finds this plug-in again, else by ID.
        bool byName = !plugin->name.empty() && registry_.findByName(PLUGIN_KIND_TAG, plugin->name) == plugin;
        out["type"] = byName ? JsonTree(plugin->name) : JsonTree(plugin->id);
        ParameterSchema schema;
        if (const DescriptionResource* description = registry_.description(plugin->id))
            schema = ParameterSchema::fromDescription(*description);
        const FreshTag& fresh = freshTag(plugin->id, path);
        if (node.name != fresh.name) out["name"] = node.name;
        JsonTree params = differences(node.params, fresh.params, schema, paramsPath);
        if (!params.empty()) out["params"] = std::move(params);
        return out;
    }

    const FreshTag& freshTag(int32_t pluginId, const std::string& path) {
        auto it = freshTags_.find(pluginId);
        if (it != freshTags_.end()) return it->second;
        try {
            NodePtr fresh = createPluginTag(registry_, pluginId);
            return freshTags_.emplace(pluginId, FreshTag{fresh->name, fresh->params}).first->second;
        } catch (const HostError& error) {
            fail(path, std::string("cannot make a new tag to compare with: ") + error.what());
        }
    }

    JsonTree material(const HostNode& node, const std::string& path) {
        JsonTree out = JsonTree::object();
        out["name"] = node.name;
        JsonTree channels = JsonTree::object();
        if (node.material)
            for (const auto& [number, channel] : node.material->channels) {
                std::string channelPath = jsonpath::member(jsonpath::member(path, "channels"), std::to_string(number));
                JsonTree entry = JsonTree::object();
                entry["on"] = channel.enabled;
                HostContainer data = channel.data;
                if (const auto* texture = data.find(materialTextureName); texture && std::holds_alternative<std::string>(*texture)) {
                    entry["texture"] = std::get<std::string>(*texture);
                    data.remove(materialTextureName);
                }
                JsonTree dataOut = differences(data, HostContainer{}, ParameterSchema{}, jsonpath::member(channelPath, "data"));
                if (!dataOut.empty()) entry["data"] = std::move(dataOut);
                channels[std::to_string(number)] = std::move(entry);
            }
        if (!channels.empty()) out["channels"] = std::move(channels);
        NodePtr fresh = newMaterial();
        JsonTree params = differences(node.params, fresh->params, ParameterSchema{}, jsonpath::member(path, "params"));
        if (!params.empty()) out["params"] = std::move(params);
        return out;
    }

    /// The elements of `actual` that `fresh` lacks or holds otherwise, and null for those that
    /// only `fresh` has.
    JsonTree differences(const HostContainer& actual, const HostContainer& fresh, const ParameterSchema& schema,
                         const std::string& path) {
        JsonTree out = JsonTree::object();
        for (const auto& [id, value] : actual.elements) {
            const Value* before = fresh.find(id);
            if (before && *before == value) continue;
            std::string key = keyOf(id, schema);
            if (const std::string* choice = choiceName(value, schema.find(id))) out[key] = *choice;
            else out[key] = this->value(value, jsonpath::member(path, key));
        }
        for (const auto& [id, value] : fresh.elements)
            if (!actual.has(id)) out[keyOf(id, schema)] = nullptr;
        return out;
    }

    /// A choice parameter's code by its name ("LCFG_TONEMAPPING_REINHARD"), when it has one.
    static const std::string* choiceName(const Value& value, const SchemaParameter* parameter) {
        const int32_t* code = std::get_if<int32_t>(&value);
        if (!code || !parameter || parameter->type != ParameterType::Choice) return nullptr;
        for (const auto& choice : parameter->choices)
            if (choice.code == *code) return &choice.symbol;
        return nullptr;
    }

    static std::string keyOf(int32_t id, const ParameterSchema& schema) {
        const SchemaParameter* known = schema.find(id);
        return known ? known->symbol : std::to_string(id);
    }

    JsonTree value(const Value& value, const std::string& path) {
        return std::visit(
            [&](const auto& v) -> JsonTree {
                using V = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<V, bool> || std::is_same_v<V, int32_t> || std::is_same_v<V, std::string>)
                    return JsonTree(v);
                else if constexpr (std::is_same_v<V, float>) return JsonTree(shortestReal(v));
                else if constexpr (std::is_same_v<V, HostVector>) return vector(v);
                else if constexpr (std::is_same_v<V, FileValue>) return JsonTree::object({{"file", v.path}});
                else if constexpr (std::is_same_v<V, LinkValue>) return link(v.token, path);
                else return JsonTree::object({{"container", differences(v.get(), HostContainer{}, ParameterSchema{}, jsonpath::member(path, "container"))}});
            },
            value);
    }

    JsonTree link(uint64_t token, const std::string& path) const {
        HostNode* target = token ? resolveLink(token, &document_, LINK_FILTER_ANY) : nullptr;
        // A link to nothing, or to a node that is gone or in another document, resolves to
        // nothing; the empty link does the same.
        if (!target) return JsonTree::object({{"object", nullptr}});
        if (target->kind() == NodeKind::Material) {
            int sameName = 0;
            for (HostNode* m = firstMaterial(document_); m; m = m->next()) sameName += m->name == target->name;
            if (sameName > 1)
                fail(path, "cannot save a link to the material \"" + target->name + "\": " + std::to_string(sameName) +
                               " materials have that name");
            return JsonTree::object({{"material", target->name}});
        }
        if (target->kind() != NodeKind::Object)
            fail(path, "cannot save a link to a node that is neither an object nor a material");
        return JsonTree::object({{"object", linkPath(*target, path)}});
    }

    /// "A/B", or ["A", "B/C"] when a name holds a "/".
    JsonTree linkPath(const HostNode& object, const std::string& path) const {
        const ObjectPath& objectPath = paths_.pathOf(&object);
        std::size_t sharing = paths_.find(objectPath).size();
        if (sharing > 1)
            fail(path, "cannot save a link to the object " + objectPathText(objectPath) + ": " + std::to_string(sharing) +
                           " objects have that path");
        if (isPlainObjectPath(objectPath)) return objectPathText(objectPath);
        JsonTree names = JsonTree::array();
        for (const auto& name : objectPath) names.push_back(name);
        return names;
    }
};

} // namespace

namespace {

/// Writes the document onto `out` (given to `spill` whenever it has grown). Throws DocumentError.
void writeDocument(const HostNode& document, Registry& registry, const std::string& file, std::string& out,
                   std::function<void(std::string&)> spill) {
    try {
        Writer(document, registry, file, out, std::move(spill)).write();
        out += '\n';
    } catch (const nlohmann::json::type_error&) {
        throw DocumentError(file, "", "a name or text of the document is not valid UTF-8");
    }
}

} // namespace

std::string documentToJson(const HostNode& document, Registry& registry, const std::string& file) {
    std::string text;
    writeDocument(document, registry, file, text, [](std::string&) {});
    return text;
}

void saveDocumentFile(const HostNode& document, Registry& registry, const std::filesystem::path& file) {
    // Whole or not at all, through a temporary file created exclusively beside the target; a
    // linked target stays a link to the file that is replaced. The text goes into the file as it
    // is made. A fault found on the way stops the writing, and the temporary goes; a target that
    // cannot be replaced (a device, a pipe) is written to only once the whole text is known good.
    std::exception_ptr fault;
    auto content = [&](int fd) -> int {
        struct stat info {};
        const bool direct = ::fstat(fd, &info) == 0 && !S_ISREG(info.st_mode);
        int error = 0;
        try {
            std::string text;
            if (direct) writeDocument(document, registry, file.string(), text, [](std::string& part) { part.clear(); });
            text.clear();
            writeDocument(document, registry, file.string(), text, [&](std::string& part) {
                if (error == 0) error = writeAll(fd, reinterpret_cast<const uint8_t*>(part.data()), part.size());
                part.clear();
            });
            if (error == 0) error = writeAll(fd, reinterpret_cast<const uint8_t*>(text.data()), text.size());
        } catch (...) {
            fault = std::current_exception();
            return ECANCELED;
        }
        return error;
    };
    try {
        writeWholeFile(file, content);
    } catch (const HostError& error) {
        if (fault) std::rethrow_exception(fault);
        throw DocumentError(file.string(), "", std::string("cannot write the file: ") + error.what());
    }
}

} // namespace host
