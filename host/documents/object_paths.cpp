#include "host/documents/object_paths.h"

namespace host {

std::string escapePathSegment(const std::string& name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (c == '/' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

std::string canonicalObjectPath(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        char c = path[i];
        if (c == '\\' && i + 1 < path.size() && (path[i + 1] == '/' || path[i + 1] == '\\')) {
            out += '\\';
            out += path[++i];
        } else if (c == '\\') {
            out += "\\\\"; // a lone backslash belongs to the name
        } else {
            out += c;
        }
    }
    return out;
}

ObjectPathIndex::ObjectPathIndex(const HostNode& document) {
    struct Pending {
        HostNode* object;
        std::string parentPath;
        std::size_t depth;
    };
    std::vector<Pending> stack;
    // Pushed in reverse so that objects are indexed in document order.
    auto pushChildren = [&stack](const HostNode& owner, const std::string& path, std::size_t depth) {
        std::vector<HostNode*> children;
        for (HostNode* child = owner.children().first(); child; child = child->next()) children.push_back(child);
        for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back({*it, path, depth});
    };
    pushChildren(document, "", 1);
    while (!stack.empty()) {
        Pending item = std::move(stack.back());
        stack.pop_back();
        std::string segment = escapePathSegment(item.object->name);
        std::string path = item.depth == 1 ? segment : item.parentPath + "/" + segment;
        byPath_[path].push_back(item.object);
        pathOf_[item.object] = path;
        if (item.depth > depth_) depth_ = item.depth;
        pushChildren(*item.object, path, item.depth + 1);
    }
}

const std::vector<HostNode*>& ObjectPathIndex::find(const std::string& path) const {
    static const std::vector<HostNode*> none;
    auto it = byPath_.find(path);
    return it == byPath_.end() ? none : it->second;
}

const std::string& ObjectPathIndex::pathOf(const HostNode* object) const {
    static const std::string none;
    auto it = pathOf_.find(object);
    return it == pathOf_.end() ? none : it->second;
}

} // namespace host
