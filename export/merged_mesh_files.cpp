#include "export/merged_mesh_files.h"

#include "export/lumeno_saver_data.h"
#include "export/xml_helpers.h"
#include "frame/host_text.h"

MeshFileText MergedMeshFileName(const char* sceneFile, bool smooth) {
    MeshFileText out;
    FormatC(out.text, sizeof out.text, smooth ? "%s.smooth.3DS" : "%s.nosmooth.3DS", sceneFile ? sceneFile : "");
    return out;
}

MeshFileText MeshLightFileName(const char* sceneFile, int32_t number) {
    MeshFileText out;
    FormatC(out.text, sizeof out.text, "%s.light%d.3DS", sceneFile ? sceneFile : "", static_cast<int>(number));
    return out;
}

MeshFileText MeshLightName(int32_t number) {
    MeshFileText out;
    FormatC(out.text, sizeof out.text, "light%d", static_cast<int>(number));
    return out;
}

bool WriteMergedMeshFile(ExportContext& context, HostDocument* document, const char* meshName, const char* path,
                         const char* xmlPath) {
    if (!SaveMeshFile(context, document, path)) {
        context.meshRecords.fileFailed = true;
        LumenoSaverData* saver = context.saver;
        if (saver && saver->failedMeshFile[0] == '\0')
            CopyTextCut(saver->failedMeshFile, sizeof saver->failedMeshFile, path);
        return false;
    }
    AppendMeshElement(context.sceneElement, meshName, xmlPath);
    return true;
}
