#include "app/tag_lookup.h"

#include <charconv>
#include <optional>
#include <vector>

#include "app/common_options.h"
#include "host/documents/object_paths.h"

namespace app {

namespace {

std::optional<int32_t> wholeNumber(const std::string& text) {
    int32_t number = 0;
    const char* end = text.data() + text.size();
    auto [ptr, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || ptr != end) return std::nullopt;
    return number;
}

bool tagMatches(const HostNode& tag, const std::string& wanted, const host::Registry& registry) {
    if (std::optional<int32_t> type = wholeNumber(wanted)) return tag.type() == *type;
    if (tag.name == wanted) return true;
    const host::RegisteredPlugin* plugin = registry.find(tag.type());
    return plugin && (plugin->name == wanted || (!plugin->description.empty() && plugin->description == wanted));
}

} // namespace

HostNode& findObject(const HostNode& document, const std::string& path, const std::string& file) {
    host::ObjectPathIndex index(document);
    const std::vector<HostNode*>& found = index.find(host::splitObjectPath(path));
    if (found.empty()) throw CommandFailure(file + ": there is no object at \"" + path + "\"");
    if (found.size() > 1)
        throw CommandFailure(file + ": " + std::to_string(found.size()) + " objects share the path \"" + path +
                             "\"; rename one of them");
    return *found.front();
}

std::string tagTitle(const HostNode& tag) {
    return (tag.name.empty() ? "unnamed" : "\"" + tag.name + "\"") + " (type " + std::to_string(tag.type()) + ")";
}

HostNode& findTag(HostNode& object, const std::string& wanted, const host::Registry& registry) {
    std::string present;
    for (HostNode* tag = object.tags().first(); tag; tag = tag->next()) {
        if (tagMatches(*tag, wanted, registry)) return *tag;
        present += (present.empty() ? "" : ", ") + tagTitle(*tag);
    }
    throw CommandFailure("the object \"" + object.name + "\" has no tag \"" + wanted + "\"" +
                         (present.empty() ? " (it has no tags)" : " (its tags: " + present + ")"));
}

} // namespace app
