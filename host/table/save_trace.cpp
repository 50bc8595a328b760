#include "host/table/save_trace.h"

#include <vector>

#include "host/model/node.h"

namespace host {
namespace {

struct Recorder {
    SaveTrace trace;
    bool running = false;
};

enum ObjectState : uint8_t { notUsers, userNotWalked, userWalked };

Recorder& recorder()
{
    // Never destroyed: the last record is of no use once the process ends.
    static Recorder* instance = new Recorder();
    return *instance;
}

/// Calls fn on every object of a document, or of an object's tree, without recursion.
template <typename Fn>
void forEachObject(const HostNode& root, Fn fn)
{
    std::vector<const HostNode*> work;
    for (const HostNode* node = root.children().first(); node; node = node->next())
        work.push_back(node);
    if (!root.isDocument())
        work.push_back(&root);
    while (!work.empty()) {
        const HostNode* node = work.back();
        work.pop_back();
        fn(*node);
        if (node == &root)
            continue;
        for (const HostNode* child = node->children().first(); child; child = child->next())
            work.push_back(child);
    }
}

} // namespace

void startSaveTrace(const HostNode& document, std::function<void(const SaveTrace&)> onProgress)
{
    Recorder& r = recorder();
    r.trace = SaveTrace{};
    r.trace.onProgress = std::move(onProgress);
    forEachObject(document, [&](const HostNode& object) {
        const uint64_t origin = object.origin();
        if (origin >= r.trace.objectStates.size())
            r.trace.objectStates.resize(origin + 1, notUsers);
        if (r.trace.objectStates[origin] == notUsers) {
            r.trace.objectStates[origin] = userNotWalked;
            ++r.trace.userObjects;
        }
    });
    r.running = true;
}

void stopSaveTrace()
{
    recorder().running = false;
    recorder().trace.onProgress = nullptr;
}

SaveTrace takeSaveTrace()
{
    SaveTrace taken = std::move(recorder().trace);
    recorder().trace = SaveTrace{};
    return taken;
}

void traceWalk(const HostNode* node)
{
    Recorder& r = recorder();
    if (!r.running || !node || !node->isObject())
        return;
    // Every object of the document has its token since the start: one without is not the user's.
    const uint64_t origin = node->originIfAny();
    if (origin >= r.trace.objectStates.size() || r.trace.objectStates[origin] != userNotWalked)
        return;
    r.trace.objectStates[origin] = userWalked;
    ++r.trace.walked;
    if (r.trace.onProgress)
        r.trace.onProgress(r.trace);
}

void traceNameRead(const HostNode* node)
{
    Recorder& r = recorder();
    if (r.running && node && node->isObject())
        r.trace.namesRead.emplace_back(node->origin(), node->name);
}

void traceCamera(const HostNode* camera)
{
    Recorder& r = recorder();
    if (r.running && camera)
        r.trace.cameras.insert(camera->origin());
}

void traceMeshSave(const HostNode& document, const std::string& path, bool written, std::uintmax_t bytes)
{
    Recorder& r = recorder();
    if (!r.running)
        return;
    SavedMeshFile file{path, written, bytes, {}};
    forEachObject(document, [&](const HostNode& object) { file.origins.push_back(object.origin()); });
    r.trace.meshFiles.push_back(std::move(file));
    if (r.trace.onProgress)
        r.trace.onProgress(r.trace);
}

} // namespace host
