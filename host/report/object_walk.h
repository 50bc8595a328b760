// The objects of a document in document order (parents before children, siblings in list order),
// without recursion, and their paths as document files write them.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "host/model/document.h"
#include "host/model/node.h"

namespace host {

template <typename Fn>
void forEachObjectInOrder(const HostNode& document, Fn fn) {
    std::vector<const HostNode*> work;
    auto pushLevel = [&work](const HostNode* first) {
        const std::size_t start = work.size();
        for (const HostNode* node = first; node; node = node->next()) work.push_back(node);
        std::reverse(work.begin() + static_cast<std::ptrdiff_t>(start), work.end());
    };
    pushLevel(firstObject(document));
    while (!work.empty()) {
        const HostNode* object = work.back();
        work.pop_back();
        fn(*object);
        pushLevel(object->children().first());
    }
}

/// "Group/Lamp" (or the list form when a name holds a "/").
std::string objectPathOf(const HostNode& object);

} // namespace host
