// The scene file on disk. It is printed into the export's staging folder (export/export_files.h)
// and put in place by the export's commit, after its mesh files, so that a failed or interrupted
// save leaves the earlier scene as it was, a reader never sees half a scene, and the scene never
// names a mesh file of another export.
#pragma once

#include <cstdio>
#include <string>

#include "export/export_files.h"

/// One scene file being written.
struct SceneFile {
    std::FILE* stream = nullptr;  // where the scene is printed
    std::string target;           // the file that is replaced (a link's own target)
    bool staged = false;          // printed for the commit; else straight into a device

    SceneFile() = default;
    SceneFile(const SceneFile&) = delete;
    SceneFile& operator=(const SceneFile&) = delete;
    ~SceneFile();
};

/// Opens the scene file `path` for printing: an ordinary file (or a new one) into the staging
/// folder of `files`, created exclusively (never through a link planted at its name); a device
/// such as /dev/full, which cannot be replaced, directly. False when it cannot be written: no
/// folder, a folder of that name, a file that may not be written.
bool OpenSceneFile(SceneFile& file, const char* path, ExportFiles& files);

/// Closes the printed file. False when printing or closing failed (a full disk may only show
/// when the data leaves the cache): the commit must then not happen.
bool CloseSceneFile(SceneFile& file);
