#include "host/documents/object_paths.h"

#include <algorithm>

namespace host {

ObjectPathIndex::ObjectPathIndex(const HostNode& document) {
    entries_.push_back({0, nullptr, {}});
    struct Pending {
        HostNode* object;
        std::size_t parent; // entry of the owner's path
        std::size_t depth;  // of the owner
    };
    std::vector<Pending> stack;
    // Pushed in reverse so that objects are indexed in document order.
    auto pushChildren = [&stack](const HostNode& owner, std::size_t parent, std::size_t depth) {
        std::size_t first = stack.size();
        for (HostNode* child = owner.children().first(); child; child = child->next())
            stack.push_back({child, parent, depth});
        std::reverse(stack.begin() + static_cast<std::ptrdiff_t>(first), stack.end());
    };
    pushChildren(document, 0, 0);
    while (!stack.empty()) {
        Pending item = stack.back();
        stack.pop_back();
        auto [it, added] = childOf_.try_emplace({item.parent, item.object->name}, entries_.size());
        if (added) entries_.push_back({item.parent, &it->first.second, {}});
        entries_[it->second].objects.push_back(item.object);
        entryOf_.emplace(item.object, it->second);
        depth_ = std::max(depth_, item.depth + 1);
        pushChildren(*item.object, it->second, item.depth + 1);
    }
}

const std::vector<HostNode*>& ObjectPathIndex::find(const ObjectPath& path) const {
    static const std::vector<HostNode*> none;
    std::size_t entry = 0;
    for (const auto& name : path) {
        auto it = childOf_.find({entry, name});
        if (it == childOf_.end()) return none;
        entry = it->second;
    }
    return entry == 0 ? none : entries_[entry].objects;
}

ObjectPath ObjectPathIndex::pathOf(const HostNode* object) const {
    ObjectPath path;
    auto it = entryOf_.find(object);
    if (it == entryOf_.end()) return path;
    for (std::size_t entry = it->second; entry != 0; entry = entries_[entry].parent) path.push_back(*entries_[entry].name);
    std::reverse(path.begin(), path.end());
    return path;
}

} // namespace host
