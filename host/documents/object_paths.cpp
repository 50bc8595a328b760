#include "host/documents/object_paths.h"

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

} // namespace host
