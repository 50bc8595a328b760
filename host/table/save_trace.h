// What the module did to the objects of a document during one save, as the host saw it through
// its function table: how many of them it walked, whose names it read (the scene file's element comments name objects) and which objects went into
// which saved mesh file. Every entry is the node's origin (host/model/node.h), so copies in
// temporary documents count for the user's object they were made from.
#pragma once

#include <cstdint>
#include <deque>
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
    std::size_t userObjects = 0; // the document's objects
    std::size_t walked = 0;      // of those, the ones the module has reached
    /// By origin: whether it is one of the document's objects, and whether it was walked. Origins
    /// are tokens, which count up from 1, so a table is cheaper than a set on every walk step.
    std::vector<uint8_t> objectStates;
    std::unordered_set<uint64_t> cameras; // asked for as the view's camera
    // Deques: they grow a block at a time, where a vector would hold up to twice what it keeps.
    std::deque<std::pair<uint64_t, std::string>> namesRead;
    std::deque<SavedMeshFile> meshFiles;
    /// Called after an object is walked for the first time and after each mesh file.
    std::function<void(const SaveTrace&)> onProgress;
};

/// Starts recording for a save of `document` (the previous record is dropped) and stops it.
void startSaveTrace(const HostNode& document, std::function<void(const SaveTrace&)> onProgress = {});
void stopSaveTrace();
/// The record of the last save (empty when none was traced), taken out of the recorder, which
/// keeps an empty one.
SaveTrace takeSaveTrace();

// Called by the function table; they do nothing unless a trace runs.
void traceWalk(const HostNode* node);
void traceNameRead(const HostNode* node);
void traceCamera(const HostNode* camera);
void traceMeshSave(const HostNode& document, const std::string& path, bool written, std::uintmax_t bytes = 0);

} // namespace host
