// The scene file on disk: written to a temporary file beside it and put in its place only once
// complete, so that a failed or interrupted save leaves the earlier scene as it was, a reader
// never sees half a scene, and two saves to one file leave one whole scene of either.
#pragma once

#include <cstdio>
#include <string>

/// One scene file being written. Whatever has not been committed when it goes is taken away.
struct SceneFile {
    std::FILE* stream = nullptr;  // where the scene is printed
    std::string target;           // the file that is replaced (a link's own target)
    std::string temporary;        // the file printed to; empty when the target is written directly

    SceneFile() = default;
    SceneFile(const SceneFile&) = delete;
    SceneFile& operator=(const SceneFile&) = delete;
    ~SceneFile();
};

/// Opens the scene file `path` for printing: an ordinary file (or a new one) through a temporary
/// file created exclusively beside it (never through a link planted at its name); a device such
/// as /dev/full, which cannot be replaced, directly. False when it cannot be written: no folder,
/// a folder of that name, a file that may not be written.
bool OpenSceneFile(SceneFile& file, const char* path);

/// Closes the printed file and puts it in place of the target. False when printing, closing or
/// the replacement failed; the target then stays as it was and no temporary file remains.
bool CommitSceneFile(SceneFile& file);
