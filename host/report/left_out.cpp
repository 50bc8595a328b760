#include "host/report/left_out.h"

#include <cstdint>
#include <string>
#include <vector>

#include "host/report/leave_reason.h"
#include "host/report/object_walk.h"

namespace host {
namespace {

/// The comment keeps this many bytes of a name (cut at a character boundary).
constexpr std::size_t commentBytes = 240;

/// Whether an element comment shows this name: the whole name, or the start a long one was cut to.
bool commentShows(const SceneContents& contents, const std::string& name) {
    if (contents.names(name)) return true;
    if (name.size() <= commentBytes) return false;
    // A cut never splits a character, which takes at most four bytes.
    for (std::size_t cut = commentBytes; cut + 4 > commentBytes; --cut)
        if (contents.names(name.substr(0, cut))) return true;
    return false;
}

/// Origins by token, which count up from 1: a table of flags, where a set would take tens of bytes
/// for each object of the document.
class OriginFlags {
public:
    void insert(uint64_t origin) {
        if (origin >= flags_.size()) flags_.resize(origin + 1);
        flags_[origin] = true;
    }
    template <typename Range>
    void insertAll(const Range& origins) {
        for (uint64_t origin : origins) insert(origin);
    }
    bool has(uint64_t origin) const { return origin < flags_.size() && flags_[origin]; }

private:
    std::vector<bool> flags_;
};

/// The origins of the objects that left something in the scene.
OriginFlags originsInScene(const SaveTrace& trace, const SceneContents& contents) {
    OriginFlags origins;
    origins.insertAll(trace.cameras);
    for (const SavedMeshFile& file : trace.meshFiles) origins.insertAll(file.origins);
    // An element's comment holds the name the module read for it, from the object or its copy.
    for (const auto& [origin, name] : trace.namesRead)
        if (commentShows(contents, name)) origins.insert(origin);
    return origins;
}

} // namespace

std::vector<LeftOutObject> leftOutObjects(const HostNode& document, const SaveTrace& trace,
                                          const SceneContents& contents) {
    const OriginFlags inScene = originsInScene(trace, contents);
    std::vector<LeftOutObject> result;
    forEachObjectInOrder(document, [&](const HostNode& object) {
        if (inScene.has(object.origin())) return;
        LeaveReason reason = leaveReason(object, document);
        result.push_back({objectPathOf(object), std::move(reason.code), std::move(reason.text)});
    });
    return result;
}

} // namespace host
