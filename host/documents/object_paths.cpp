#include "host/documents/object_paths.h"

#include <algorithm>

namespace host {

ObjectPath splitObjectPath(const std::string& text) {
    ObjectPath path;
    std::size_t start = 0;
    for (;;) {
        std::size_t slash = text.find('/', start);
        path.push_back(text.substr(start, slash - start));
        if (slash == std::string::npos) return path;
        start = slash + 1;
    }
}

bool isPlainObjectPath(const ObjectPath& path) {
    for (const auto& name : path)
        if (name.find('/') != std::string::npos) return false;
    return !path.empty();
}

std::string objectPathText(const ObjectPath& path) {
    std::string text;
    if (isPlainObjectPath(path)) {
        for (std::size_t i = 0; i < path.size(); ++i) text += (i ? "/" : "") + path[i];
        return text;
    }
    for (const auto& name : path) text += (text.empty() ? "[\"" : ", \"") + name + "\"";
    return text + "]";
}

ObjectPathIndex::ObjectPathIndex(const HostNode& document) {
    struct Pending {
        HostNode* object;
        const ObjectPath* parent; // points into pathOf_, whose values stay put
    };
    std::vector<Pending> stack;
    // Pushed in reverse so that objects are indexed in document order.
    auto pushChildren = [&stack](const HostNode& owner, const ObjectPath* parent) {
        std::size_t first = stack.size();
        for (HostNode* child = owner.children().first(); child; child = child->next()) stack.push_back({child, parent});
        std::reverse(stack.begin() + static_cast<std::ptrdiff_t>(first), stack.end());
    };
    pushChildren(document, nullptr);
    while (!stack.empty()) {
        Pending item = stack.back();
        stack.pop_back();
        ObjectPath path = item.parent ? *item.parent : ObjectPath{};
        path.push_back(item.object->name);
        if (path.size() > depth_) depth_ = path.size();
        byPath_[path].push_back(item.object);
        const ObjectPath& kept = pathOf_.emplace(item.object, std::move(path)).first->second;
        pushChildren(*item.object, &kept);
    }
}

const std::vector<HostNode*>& ObjectPathIndex::find(const ObjectPath& path) const {
    static const std::vector<HostNode*> none;
    auto it = byPath_.find(path);
    return it == byPath_.end() ? none : it->second;
}

const ObjectPath& ObjectPathIndex::pathOf(const HostNode* object) const {
    static const ObjectPath none;
    auto it = pathOf_.find(object);
    return it == pathOf_.end() ? none : it->second;
}

} // namespace host
