// The files of one export change over together. Every file of the export is written into a
// staging folder beside the scene file, under its final name; only when all of them are complete
// does the commit move the mesh files into place and then the scene file, and take away the mesh
// files of the earlier export that the new scene does not name. Until the commit, a kill, a full
// disk or a failed write leaves the earlier export exactly as it was. A lock beside the scene file
// lets one export at a time do this; the next export finishes a commit that was killed half-way
// and takes away what killed exports left behind. The names are in export/export_names.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "export/export_names.h"
#include "export/name_list.h"

/// Bytes of the paths built here: the scene's folder (at most 255 bytes), the export's own names
/// and a mesh file's name.
constexpr size_t kExportPathSize = 1024;

struct ExportFiles {
    int lock = -1;                        // held from the start of the export to its end
    char lockPath[kExportPathSize] = {};
    char folder[kExportPathSize] = {};    // the scene file's folder ("." when its path names none)
    char sceneName[kExportPathSize] = {}; // the scene file's name
    char key[kExportKeySize] = {};
    char staging[kExportPathSize] = {};   // the running export's folder; empty: files go straight to their names
    NameList obstacles;                   // mesh file names of the scene held by a folder, a link or a device
    bool stagedWriteFailed = false;       // a staged file could not be written: nothing is committed
    bool committed = false;

    ExportFiles() = default;
    ExportFiles(const ExportFiles&) = delete;
    ExportFiles& operator=(const ExportFiles&) = delete;
    /// Takes away the staging folder unless committed, and lets go of the lock.
    ~ExportFiles();
};

/// Prepares the export of the scene file `scenePath`: takes the lock, finishes an export that was
/// killed while it committed, takes away the staging folders of killed exports, notes which mesh
/// file names something other than a plain file holds, and makes the staging folder. A scene file
/// that is a device (which cannot be replaced) is written directly and none of this happens.
/// False when the folder cannot take the export (it does not exist, or may not be written).
bool BeginExportFiles(ExportFiles& files, const char* scenePath);

/// Where the file `path` of the export (the scene file or a mesh file beside it) is written:
/// its name in the staging folder. False, with `path` itself in `out`, when it goes straight to
/// its name: there is no staging folder, or a folder, link or device holds the name (the host's
/// save then meets it as it would without an export around it).
bool StagedPath(ExportFiles& files, const char* path, char* out, size_t size);

/// How a commit ended.
enum class CommitResult {
    Done,
    NoMemory, // nothing was changed: the list of the export's files could not be made
    Failed    // a file could not be moved into place: the earlier export is as it was, or, when
              // some were already moved, the staging folder stays for the next export to finish
};

/// Puts the export in place: the mesh files first, then the scene file onto `sceneTarget` (the
/// file the scene's name stands for: the file a link names), then takes away the mesh files of an
/// earlier export that are not among the new ones. `removed` counts those.
CommitResult CommitExportFiles(ExportFiles& files, const char* sceneTarget, int32_t& removed);
