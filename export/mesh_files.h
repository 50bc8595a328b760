// Names of the external mesh files and of the meshes in the scene file, and the host's 3DS save.
#pragma once

#include <cstdint>

#include "export/export_context.h"
#include "host_types.h"

/// Bytes of a mesh file's path or name: the scene file's 255 characters and the longest suffix,
/// ".-2147483648.3DS", so a mesh file is never named by a cut path.
constexpr int32_t kMeshFileTextSize = kOutputTextSize + 16;

struct MeshFileText {
    char text[kMeshFileTextSize];
};

/// "%s.%d.3DS": the scene file "D/a.xml" and mesh 0 give "D/a.xml.0.3DS".
MeshFileText MeshFileName(const char* sceneFile, int32_t number);

/// "meshName_%d": mesh 3 is "meshName_3".
MeshFileText MeshName(int32_t number);

/// Has the host save `meshDocument` in its 3DS format (1001038, flags 0) as the mesh file `path`
/// of the export: into its staging folder, or straight to `path` where something other than a
/// plain file holds the name. Answers whether the host reports the file written; a staged file
/// that was not fails the whole export, which then changes nothing.
bool SaveMeshFile(ExportContext& context, HostDocument* meshDocument, const char* path);
