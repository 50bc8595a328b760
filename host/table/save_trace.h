// What the module did to the objects of a document during one save, as the host saw it through
// its function table: which objects it walked, copied, turned into their current state, whose
// names it read (the scene file's element comments name objects) and which objects went into
// which saved mesh file. Every entry is the node's origin (host/model/node.h), so copies in
// temporary documents count for the user's object they were made from.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host_types.h"

namespace host {

/// A mesh file the module had the host save, with the origins of every object in it.
struct SavedMeshFile {
    std::string path;
    bool written = false;
    std::uintmax_t bytes = 0; // the size written, when written
    std::vector<uint64_t> origins;
};

struct SaveTrace {
    std::unordered_set<uint64_t> userObjects; // origins of the document's objects, to count walks
    std::unordered_set<uint64_t> walked;      // of those, the ones the module has reached
    std::unordered_set<uint64_t> copied;
    std::unordered_set<uint64_t> currentState;
    std::unordered_set<uint64_t> cameras;     // asked for as the view's camera
    std::vector<std::pair<uint64_t, std::string>> namesRead;
    std::vector<SavedMeshFile> meshFiles;
    /// Called after an object is walked for the first time and after each mesh file.
    std::function<void(const SaveTrace&)> onProgress;
};

/// Starts recording for a save of `document` (the previous record is dropped) and stops it.
void startSaveTrace(const HostNode& document, std::function<void(const SaveTrace&)> onProgress = {});
void stopSaveTrace();
/// The record of the last save (empty when none was traced).
const SaveTrace& saveTrace();

// Called by the function table; they do nothing unless a trace runs.
void traceWalk(const HostNode* node);
void traceNameRead(const HostNode* node);
void traceCopy(const HostNode* node);
void traceCurrentState(const HostNode* object);
void traceCamera(const HostNode* camera);
void traceMeshSave(const HostNode& document, const std::string& path, bool written, std::uintmax_t bytes = 0);

} // namespace host
