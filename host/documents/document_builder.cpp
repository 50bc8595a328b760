#include "host/documents/document_builder.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <functional>
#include <optional>
#include <set>
#include <unordered_map>

#include "host/documents/document_error.h"
#include "host/documents/json_path.h"
#include "host/documents/name_suggestion.h"
#include "host/documents/object_paths.h"
#include "host/documents/parameter_schema.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/model/object_params.h"
#include "host/model/placement.h"
#include "host/plugins/host_error.h"
#include "host/plugins/plugin_tags.h"
#include "host/plugins/registry.h"
#include "host_constants.h"

namespace host {

namespace {

namespace df = docfile;

HostVector toHost(const df::Vector3& v) {
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

HostMatrix toHost(const df::Matrix& m) { return {toHost(m.off), toHost(m.v1), toHost(m.v2), toHost(m.v3)}; }

/// A link value whose target is looked up once every object and material exists.
struct PendingLink {
    std::size_t owner; // the object it stands on, counted in the file's order (parents first)
    HostContainer* container;
    int32_t id;
    JsonPlace path; // where the link stands in the file, for messages
    bool toObject;    // an object path, else a material name
    ObjectPath object;
    std::string material;
};

class Builder {
public:
    Builder(std::string file, Registry& registry)
        : file_(std::move(file)), registry_(registry), document_(createDocument()) {}

    void buildMaterials(const df::Document& file) {
        // Their links are resolved before the objects', whenever the objects were built.
        linkList_ = &materialLinks_;
        for (const auto& material : file.materials) buildMaterial(*document_, material);
        linkList_ = &links_;
    }

    /// Builds a top-level object and its children, taking all of the record: it is left empty.
    void buildTopObject(df::Object& object) { buildObject(object, nullptr); }

    /// Builds an object that is in no document yet, with the children its record holds; `sequence`
    /// counts it among the file's objects in their order, parents first, whatever order they are
    /// built in. Children built before it are given to it with `adoptChild`.
    NodePtr buildDetached(df::Object& object, std::size_t sequence) {
        sequence_ = sequence;
        nextSequence_ = std::max(nextSequence_, sequence + 1);
        NodePtr node = buildOwnParts(object);
        buildChildren(object, *node);
        return node;
    }

    static void adoptChild(HostNode& parent, NodePtr child) { parent.children().append(&parent, std::move(child)); }

    /// A top-level object built by `buildDetached` goes into the document.
    void addTopObject(NodePtr object) { appendObject(*document_, std::move(object)); }

    /// Resolves the links and applies the view and settings, once every object and material exists.
    NodePtr finish(const df::Document& file) {
        // Made only when a link or the view names an object: most documents link materials only.
        std::optional<ObjectPathIndex> paths;
        auto index = [&]() -> const ObjectPathIndex& {
            if (!paths) paths.emplace(*document_);
            return *paths;
        };
        resolveAll(materialLinks_, index);
        // Resolved in the file's order, whatever order the objects were built in. Side by side
        // objects are built in that order already, and a link is large to move.
        const auto inFileOrder = [](const PendingLink& a, const PendingLink& b) { return a.owner < b.owner; };
        if (!std::is_sorted(links_.begin(), links_.end(), inFileOrder))
            std::stable_sort(links_.begin(), links_.end(), inFileOrder);
        resolveAll(links_, index);
        buildView(*document_, file.view, index);
        if (file.settings.path) setDocumentSetting(*document_, DOCUMENT_PATH, *file.settings.path);
        if (file.settings.name) setDocumentSetting(*document_, DOCUMENT_FILE_NAME, *file.settings.name);
        return std::move(document_);
    }

private:
    std::string file_; // names the file in errors
    Registry& registry_;
    NodePtr document_; // freed whole, plug-in tags included, when the document is refused
    std::deque<PendingLink> links_, materialLinks_; // a deque grows without copying
    std::deque<PendingLink>* linkList_ = &links_;   // where a link read now waits
    std::unordered_map<std::string, std::vector<HostNode*>> materials_;
    std::size_t sequence_ = 0;     // the object whose links are read now, in the file's order
    std::size_t nextSequence_ = 0; // the next object built from its parent's record

    [[noreturn]] void fail(const JsonPlace& path, const std::string& problem) const {
        throw DocumentError(file_, path, problem);
    }

    void buildMaterial(HostNode& document, const df::Material& material) {
        HostNode* node = makeMaterial(document, material.name);
        materials_[material.name].push_back(node);
        for (const auto& [number, channel] : material.channels) {
            MaterialChannel& target = host::channel(*node, number);
            if (channel.on) target.enabled = *channel.on;
            std::set<int32_t> seen;
            if (channel.texture) {
                target.data.setString(materialTextureName, *channel.texture);
                seen.insert(materialTextureName);
            }
            applyParams(target.data, channel.data, ParameterSchema{}, "this channel's data", seen);
        }
        std::set<int32_t> seen;
        applyParams(node->params, material.params, ParameterSchema{}, "a material", seen);
    }

    /// Builds the object, then its children; the record is let go of before its children are built,
    /// so that a deep hierarchy is never held as records and host objects at once, and one level of
    /// it costs little stack.
    void buildObject(df::Object& object, HostNode* parent) {
        sequence_ = nextSequence_++;
        NodePtr built = buildOwnParts(object);
        HostNode* node = built.get();
        if (parent) adoptChild(*parent, std::move(built));
        else addTopObject(std::move(built));
        buildChildren(object, *node);
    }

    void buildChildren(df::Object& object, HostNode& node) {
        std::vector<df::Object> children = std::move(object.children);
        object = {};
        for (auto& child : children) buildObject(child, &node);
    }

    /// Everything of the object but its children, in no document yet.
    [[gnu::noinline]] NodePtr buildOwnParts(df::Object& object) {
        NodePtr built = newObject(object.type, object.name);
        HostNode* node = built.get();
        if (object.placement) setLocalMatrix(*node, toHost(*object.placement));
        // The file's geometry becomes the object's as it is: a large document is not held twice.
        node->points = std::move(object.points);
        node->polygons = std::move(object.polygons);
        object.points = {};
        object.polygons = {};
        std::set<int32_t> seen;
        applyParams(node->params, object.params, ParameterSchema::forHostType(object.type), "this object type", seen);
        for (const auto& tag : object.tags) buildTag(*node, tag);
        if (object.uvs) {
            std::vector<UvwPolygon> uvws;
            uvws.reserve(object.uvs->size());
            for (const auto& r : *object.uvs) uvws.push_back({toHost(r[0]), toHost(r[1]), toHost(r[2]), toHost(r[3])});
            makeUvwTag(*node, std::move(uvws));
            object.uvs.reset();
        }
        return built;
    }

    void buildTag(HostNode& object, const df::Tag& tag) {
        std::set<int32_t> seen;
        HostNode* node = nullptr;
        ParameterSchema schema;
        std::string owner = "this tag";
        switch (tag.kind) {
        case df::TagKind::Texture:
            node = makeTag(object, TYPE_TEXTURE_TAG);
            schema = ParameterSchema::forHostType(TYPE_TEXTURE_TAG);
            if (tag.material) {
                linkList_->push_back({sequence_, &node->params, TEXTURE_TAG_MATERIAL, tag.path.member("material"), false,
                                  {}, *tag.material});
                seen.insert(TEXTURE_TAG_MATERIAL);
            }
            break;
        case df::TagKind::CameraTarget:
            node = makeTag(object, TYPE_CAMERA_TARGET_TAG);
            schema = ParameterSchema::forHostType(TYPE_CAMERA_TARGET_TAG);
            if (tag.target) {
                linkList_->push_back({sequence_, &node->params, CAMERA_TARGET_LINK, tag.path.member("target"), true,
                                  *tag.target, {}});
                seen.insert(CAMERA_TARGET_LINK);
            }
            break;
        case df::TagKind::Plugin: {
            const RegisteredPlugin& plugin = pluginTag(tag);
            NodePtr made;
            try {
                made = createPluginTag(registry_, plugin.id);
            } catch (const HostError& error) {
                fail(tag.path, std::string("cannot create the tag: ") + error.what());
            }
            node = appendTag(object, std::move(made));
            if (const DescriptionResource* description = registry_.description(plugin.id))
                schema = ParameterSchema::fromDescription(*description);
            owner = "the tag \"" + plugin.name + "\"";
            break;
        }
        }
        if (tag.name) node->name = *tag.name;
        applyParams(node->params, tag.params, schema, owner, seen);
    }

    const RegisteredPlugin& pluginTag(const df::Tag& tag) const {
        const JsonPlace typePath = tag.path.member("type");
        const RegisteredPlugin* plugin = nullptr;
        if (tag.pluginId) {
            plugin = registry_.find(*tag.pluginId);
            if (!plugin || plugin->kind != PLUGIN_KIND_TAG)
                fail(typePath, "unknown tag type " + std::to_string(*tag.pluginId) + " (" + knownTags() + ")");
            return *plugin;
        }
        plugin = registry_.findByName(PLUGIN_KIND_TAG, tag.pluginName);
        if (!plugin)
            for (const RegisteredPlugin* candidate : registry_.list())
                if (candidate->kind == PLUGIN_KIND_TAG && candidate->description == tag.pluginName) plugin = candidate;
        if (!plugin) fail(typePath, "unknown tag type \"" + tag.pluginName + "\" (" + knownTags() + ")");
        return *plugin;
    }

    std::string knownTags() const {
        std::string list = std::string("expected ") + "texture, camera-target";
        for (const RegisteredPlugin* plugin : registry_.list())
            if (plugin->kind == PLUGIN_KIND_TAG)
                list += ", \"" + plugin->name + "\" (" + std::to_string(plugin->id) + ")";
        return list;
    }

    /// Writes the document's values over a node's container. `seen` holds the IDs already set
    /// by other keys, so that one parameter is never given twice.
    void applyParams(HostContainer& container, const std::vector<df::Param>& params, const ParameterSchema& schema,
                     const std::string& owner, std::set<int32_t>& seen) {
        for (const auto& param : params) {
            int32_t id = param.id ? *param.id : symbolId(param, schema, owner);
            if (!seen.insert(id).second) fail(param.path, "parameter " + std::to_string(id) + " is given twice");
            setValue(container, id, param, schema.find(id));
        }
    }

    int32_t symbolId(const df::Param& param, const ParameterSchema& schema, const std::string& owner) const {
        if (const SchemaParameter* known = schema.find(param.symbol)) return known->id;
        std::string problem = "unknown parameter name \"" + param.symbol + "\"";
        if (schema.empty()) fail(param.path, problem + " (" + owner + " has no named parameters; use a numeric ID)");
        std::vector<std::string> names;
        for (const auto& candidate : schema.parameters()) names.push_back(candidate.symbol);
        if (auto close = closestName(param.symbol, names))
            fail(param.path, problem + " for " + owner + " (did you mean " + *close + "?)");
        fail(param.path, problem + " for " + owner);
    }

    void setValue(HostContainer& container, int32_t id, const df::Param& param, const SchemaParameter* info) {
        const df::Value& value = param.value;
        if (std::holds_alternative<df::Removed>(value)) {
            container.remove(id);
            return;
        }
        if (info) {
            setTyped(container, id, param, *info);
            return;
        }
        std::visit(
            [&](const auto& v) {
                using V = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<V, bool>) container.setBool(id, v);
                else if constexpr (std::is_same_v<V, int32_t>) container.setInt(id, v);
                else if constexpr (std::is_same_v<V, double>) container.setReal(id, static_cast<float>(v));
                else if constexpr (std::is_same_v<V, df::Vector3>) container.setVector(id, toHost(v));
                else if constexpr (std::is_same_v<V, std::string>) container.setString(id, v);
                else if constexpr (std::is_same_v<V, df::FileValue>) container.setFilename(id, v.path);
                else if constexpr (std::is_same_v<V, df::Container>) setContainer(container, id, v);
                else if constexpr (std::is_same_v<V, df::ObjectLink> || std::is_same_v<V, df::MaterialLink>) setLink(container, id, param);
            },
            value);
    }

    /// A value for a parameter whose type the schema declares: its JSON form must match.
    void setTyped(HostContainer& container, int32_t id, const df::Param& param, const SchemaParameter& info) {
        const df::Value& value = param.value;
        switch (info.type) {
        case ParameterType::Bool:
            if (auto b = std::get_if<bool>(&value)) return container.setBool(id, *b);
            fail(param.path, "expected true or false");
        case ParameterType::Long:
            if (auto i = std::get_if<int32_t>(&value)) return container.setInt(id, *i);
            fail(param.path, "expected an integer");
        case ParameterType::Real:
            if (auto r = std::get_if<double>(&value)) return container.setReal(id, static_cast<float>(*r));
            if (auto i = std::get_if<int32_t>(&value)) return container.setReal(id, static_cast<float>(*i));
            fail(param.path, "expected a number");
        case ParameterType::Vector:
            if (auto v = std::get_if<df::Vector3>(&value)) return container.setVector(id, toHost(*v));
            fail(param.path, "expected a vector [x, y, z]");
        case ParameterType::Filename:
            if (auto f = std::get_if<df::FileValue>(&value)) return container.setFilename(id, f->path);
            fail(param.path, R"(expected a file name {"file": "..."})");
        case ParameterType::Link:
            if (std::holds_alternative<df::ObjectLink>(value) || std::holds_alternative<df::MaterialLink>(value))
                return setLink(container, id, param);
            fail(param.path, R"(expected a link {"object": "path"} or {"material": "name"})");
        case ParameterType::Choice:
            if (auto i = std::get_if<int32_t>(&value)) return container.setInt(id, *i);
            if (auto s = std::get_if<std::string>(&value)) return container.setInt(id, choiceCode(param, info, *s));
            fail(param.path, "expected an integer or the name of a choice");
        }
    }

    int32_t choiceCode(const df::Param& param, const SchemaParameter& info, const std::string& name) const {
        std::string names;
        for (const auto& choice : info.choices) {
            if (choice.symbol == name) return choice.code;
            names += (names.empty() ? "" : ", ") + choice.symbol;
        }
        fail(param.path, "unknown choice \"" + name + "\" (expected one of: " + names + ")");
    }

    void setLink(HostContainer& container, int32_t id, const df::Param& param) {
        if (auto object = std::get_if<df::ObjectLink>(&param.value)) {
            if (!object->path) return container.setLink(id, nullptr);
            linkList_->push_back({sequence_, &container, id, param.path.member("object"), true, *object->path, {}});
            container.setLink(id, nullptr); // keeps the element's place until the target is known
            return;
        }
        const auto& material = std::get<df::MaterialLink>(param.value);
        if (!material.name) return container.setLink(id, nullptr);
        linkList_->push_back({sequence_, &container, id, param.path.member("material"), false, {}, *material.name});
        container.setLink(id, nullptr);
    }

    void setContainer(HostContainer& container, int32_t id, const df::Container& value) {
        container.setContainer(id, HostContainer{});
        std::set<int32_t> seen;
        applyParams(*container.getContainer(id), value.entries, ParameterSchema{}, "a sub-container", seen);
    }

    using PathIndex = std::function<const ObjectPathIndex&()>;

    /// Each link goes as soon as it is resolved, so the links made take the memory of those that
    /// waited, places in the file included.
    void resolveAll(std::deque<PendingLink>& links, const PathIndex& paths) {
        while (!links.empty()) {
            resolve(links.front(), paths);
            links.pop_front();
        }
    }

    void resolve(const PendingLink& link, const PathIndex& paths) const {
        if (link.toObject) {
            link.container->setLink(link.id, &uniqueObject(link.object, link.path, paths()));
            return;
        }
        auto it = materials_.find(link.material);
        if (it == materials_.end()) fail(link.path, "dangling link: there is no material named \"" + link.material + "\"");
        if (it->second.size() > 1)
            fail(link.path, "ambiguous link: " + std::to_string(it->second.size()) + " materials are named \"" +
                                link.material + "\"");
        link.container->setLink(link.id, it->second.front());
    }

    HostNode& uniqueObject(const ObjectPath& path, const JsonPlace& jsonPath, const ObjectPathIndex& paths) const {
        const auto& found = paths.find(path);
        if (found.size() == 1) return *found.front();
        std::string shown = isPlainObjectPath(path) ? "\"" + objectPathText(path) + "\"" : objectPathText(path);
        if (found.empty()) fail(jsonPath, "dangling link: there is no object at " + shown);
        if (found.size() > 1)
            fail(jsonPath, "ambiguous link: " + std::to_string(found.size()) + " objects have the path " + shown);
        return *found.front();
    }

    void buildView(HostNode& document, const df::View& view, const PathIndex& paths) {
        switch (view.kind) {
        case df::ViewKind::Default: return;
        case df::ViewKind::None: removeView(document); return;
        case df::ViewKind::Camera:
            lookThroughObject(document,
                              uniqueObject(view.camera, view.path.member("camera"), paths()));
            return;
        case df::ViewKind::Editor: {
            HostMatrix placement = view.placement ? toHost(*view.placement) : defaultEditorPlacement();
            HostNode& camera = lookThroughEditorCamera(document, placement, DEFAULT_FOCUS_DISTANCE, DEFAULT_FILM_WIDTH,
                                                       DEFAULT_FIELD_OF_VIEW);
            std::set<int32_t> seen;
            applyParams(camera.params, view.params, ParameterSchema::forHostType(TYPE_CAMERA), "the editor camera", seen);
            resolveAll(links_, paths); // every document link has been resolved: these are the camera's own
            return;
        }
        }
    }

    static HostMatrix defaultEditorPlacement() {
        return {{0, 0, DEFAULT_EDITOR_CAMERA_Z}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    }

    static constexpr int32_t materialTextureName = 1002;
};

} // namespace

NodePtr buildDocument(docfile::Document&& document, Registry& registry) {
    Builder builder(document.file, registry);
    builder.buildMaterials(document);
    for (auto& object : document.objects) builder.buildTopObject(object);
    return builder.finish(document);
}

struct StreamedBuild::State {
    /// An object built before its parent, or the first fault in it and its children.
    struct Built {
        NodePtr node;
        std::exception_ptr fault;
    };
    std::string file;
    Registry& registry;
    std::optional<Builder> builder;
    std::exception_ptr fault; // the first top-level object the builder refused
    std::vector<Built> waiting; // objects whose parent is still being read, in the file's order
};

StreamedBuild::StreamedBuild(std::string file, Registry& registry)
    : state_(new State{std::move(file), registry, {}, {}, {}}) {
    restart();
}

StreamedBuild::~StreamedBuild() = default;

void StreamedBuild::take(ReadObject&& read) {
    auto& waiting = state_->waiting;
    const auto children = waiting.end() - static_cast<std::ptrdiff_t>(read.children);
    State::Built built;
    if (!state_->fault) { // once a top-level object is refused, nothing after it is built
        // A fault of the object itself comes before those of its children, as in a whole build.
        try {
            built.node = state_->builder->buildDetached(read.object, read.sequence);
        } catch (const DocumentError&) {
            built.fault = std::current_exception();
        }
        for (auto child = children; child != waiting.end() && !built.fault; ++child) built.fault = child->fault;
        if (!built.fault)
            for (auto child = children; child != waiting.end(); ++child) Builder::adoptChild(*built.node, std::move(child->node));
    }
    waiting.erase(children, waiting.end());
    if (!read.top) {
        waiting.push_back(std::move(built));
    } else if (built.fault) {
        // A fault the reading finds later still comes first, as when the file is built whole.
        state_->fault = built.fault;
    } else if (built.node) {
        state_->builder->addTopObject(std::move(built.node));
    }
}

void StreamedBuild::restart() {
    state_->builder.reset(); // the objects built so far go first
    state_->builder.emplace(state_->file, state_->registry);
    state_->fault = nullptr;
    state_->waiting.clear();
}

NodePtr StreamedBuild::finish(docfile::Document&& rest) {
    Builder& builder = *state_->builder;
    builder.buildMaterials(rest);
    if (state_->fault) std::rethrow_exception(state_->fault);
    for (auto& object : rest.objects) builder.buildTopObject(object);
    return builder.finish(rest);
}

} // namespace host
