#include "export/mesh_files.h"

#include "export/export_files.h"
#include "export/xml_helpers.h"
#include "frame/host_api.h"
#include "frame/host_text.h"

MeshFileText MeshFileName(const char* sceneFile, int32_t number) {
    MeshFileText out;
    FormatC(out.text, sizeof out.text, "%s.%d.3DS", sceneFile ? sceneFile : "", static_cast<int>(number));
    return out;
}

MeshFileText MeshName(int32_t number) {
    MeshFileText out;
    FormatC(out.text, sizeof out.text, "meshName_%d", static_cast<int>(number));
    return out;
}

bool SaveMeshFile(ExportContext& context, HostDocument* meshDocument, const char* path) {
    char target[kExportPathSize];
    const bool staged = context.files && StagedPath(*context.files, path, target, sizeof target);
    HostFile file = HostFile::FromCString(staged ? target : path);
    const bool written = file.get() && DocumentSave(meshDocument, file.get(), 0, SAVE_FORMAT_3DS) == FILE_RESULT_OK;
    if (!written && staged) context.files->stagedWriteFailed = true;
    return written;
}
