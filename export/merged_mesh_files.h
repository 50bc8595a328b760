// The merged strategy's mesh files: their names, the host's save and the `mesh` element that
// refers to a file that was written.
#pragma once

#include <cstdint>

#include "export/export_context.h"
#include "export/mesh_files.h"
#include "host_types.h"

/// "%s.smooth.3DS" ("D/a.xml" gives "D/a.xml.smooth.3DS") or "%s.nosmooth.3DS".
MeshFileText MergedMeshFileName(const char* sceneFile, bool smooth);

/// "%s.light%d.3DS": "D/a.xml" and 1 give "D/a.xml.light1.3DS".
MeshFileText MeshLightFileName(const char* sceneFile, int32_t number);

/// "light%d": 1 gives "light1".
MeshFileText MeshLightName(int32_t number);

/// Has the host save `document` as 3DS to `path` (beside the scene file) and, when it did, appends
/// to `scene` a `mesh` with `name` `meshName` and `external`/`path` `xmlPath`. A file that could
/// not be written fails the save (-1), and the first such file is kept in the saver's
/// `failedMeshFile` so that a command or lumeno-host can name it. Answers whether it was written.
bool WriteMergedMeshFile(ExportContext& context, HostDocument* document, const char* meshName, const char* path,
                         const char* xmlPath);
