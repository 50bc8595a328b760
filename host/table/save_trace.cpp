#include "host/table/save_trace.h"

#include <vector>

#include "host/model/node.h"

namespace host {
namespace {

struct Recorder {
    SaveTrace trace;
    bool running = false;
};

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
    forEachObject(document, [&](const HostNode& object) { r.trace.userObjects.insert(object.origin()); });
    r.running = true;
}

void stopSaveTrace()
{
    recorder().running = false;
    recorder().trace.onProgress = nullptr;
}

const SaveTrace& saveTrace()
{
    return recorder().trace;
}

void traceWalk(const HostNode* node)
{
    Recorder& r = recorder();
    if (!r.running || !node || !node->isObject())
        return;
    const uint64_t origin = node->origin();
    if (r.trace.userObjects.count(origin) && r.trace.walked.insert(origin).second && r.trace.onProgress)
        r.trace.onProgress(r.trace);
}

void traceNameRead(const HostNode* node)
{
    Recorder& r = recorder();
    if (r.running && node && node->isObject())
        r.trace.namesRead.emplace_back(node->origin(), node->name);
}

void traceCopy(const HostNode* node)
{
    Recorder& r = recorder();
    if (r.running && node)
        forEachObject(*node, [&](const HostNode& object) { r.trace.copied.insert(object.origin()); });
}

void traceCurrentState(const HostNode* object)
{
    Recorder& r = recorder();
    if (r.running && object)
        forEachObject(*object, [&](const HostNode& node) { r.trace.currentState.insert(node.origin()); });
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
