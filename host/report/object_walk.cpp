#include "host/report/object_walk.h"

#include "host/documents/object_paths.h"

namespace host {

std::string objectPathOf(const HostNode& object) {
    ObjectPath path;
    for (const HostNode* node = &object; node && node->isObject(); node = node->parent()) path.push_back(node->name);
    std::reverse(path.begin(), path.end());
    return objectPathText(path);
}

} // namespace host
