#include "host/report/left_out.h"

#include <unordered_set>

#include "host/report/leave_reason.h"
#include "host/report/object_walk.h"

namespace host {
namespace {

/// The comment keeps this many bytes of a name (cut at a character boundary).
constexpr std::size_t commentBytes = 240;

/// Whether an element comment shows this name: the whole name, or the start a long one was cut to.
bool commentShows(const std::set<std::string>& comments, const std::string& name) {
    if (comments.count(name)) return true;
    if (name.size() <= commentBytes) return false;
    // A cut never splits a character, which takes at most four bytes.
    for (std::size_t cut = commentBytes; cut + 4 > commentBytes; --cut)
        if (comments.count(name.substr(0, cut))) return true;
    return false;
}

/// The origins of the objects that left something in the scene.
std::unordered_set<uint64_t> originsInScene(const SaveTrace& trace, const SceneContents& contents) {
    std::unordered_set<uint64_t> origins(trace.cameras.begin(), trace.cameras.end());
    for (const SavedMeshFile& file : trace.meshFiles) origins.insert(file.origins.begin(), file.origins.end());
    // An element's comment holds the name the module read for it, from the object or its copy.
    for (const auto& [origin, name] : trace.namesRead)
        if (commentShows(contents.namedObjects, name)) origins.insert(origin);
    return origins;
}

} // namespace

std::vector<LeftOutObject> leftOutObjects(const HostNode& document, const SaveTrace& trace,
                                          const SceneContents& contents) {
    const std::unordered_set<uint64_t> inScene = originsInScene(trace, contents);
    std::vector<LeftOutObject> result;
    forEachObjectInOrder(document, [&](const HostNode& object) {
        if (inScene.count(object.origin())) return;
        LeaveReason reason = leaveReason(object, document);
        result.push_back({objectPathOf(object), std::move(reason.code), std::move(reason.text)});
    });
    return result;
}

} // namespace host
