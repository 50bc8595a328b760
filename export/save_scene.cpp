// The save driver: read the settings, open the file, build the template, run the strategy, add
// the defaults, print.
#include "export/export_context.h"
#include "export/lumeno_saver_data.h"
#include "export/material_export.h"
#include "export/matrix_helpers.h"
#include "export/merged_export.h"
#include "export/mesh_files.h"
#include "export/mesh_records.h"
#include "export/object_tree_export.h"
#include "export/printed_elements.h"
#include "export/render_settings_read.h"
#include "export/scene_file.h"
#include "export/scene_defaults.h"
#include "frame/host_api.h"
#include "frame/host_memory.h"
#include "frame/host_text.h"
#include "host_constants.h"

namespace {

/// What one save holds; everything is given back when the save ends, however it ends.
struct SaveRun {
    ExportContext context{};
    ExportFiles files;  // the staging folder, taken away unless committed, and the lock
    SceneFile file;

    SaveRun() = default;
    SaveRun(const SaveRun&) = delete;
    SaveRun& operator=(const SaveRun&) = delete;
    ~SaveRun() {
        DeleteInHostMemory(context.xmlDocument);
        FilenameFree(context.outputFile);
        ReleaseMeshRecords(context.meshRecords);
    }
};

/// Takes the output file and its three texts. Answers false when a text does not fit its
/// 255 characters: a cut path would name another file.
bool SetOutputNames(ExportContext& context, const HostFilename* file) {
    HostText path(FilenameToText(file));
    if (path.get()) FilenameSetText(context.outputFile, path.get());
    HostFile name(FilenameNamePart(context.outputFile));
    HostFile folder(FilenameFolderPart(context.outputFile));
    bool nameFits = name.ToBuffer(context.outputName, kOutputTextSize);
    bool folderFits = folder.ToBuffer(context.outputFolder, kOutputTextSize);
    bool pathFits = path.ToBuffer(context.outputPath, kOutputTextSize);
    return nameFits && folderFits && pathFits;
}

bool OpenOutput(SaveRun& run) {
    if (run.context.outputPath[0] == '\0') return false;
    if (!BeginExportFiles(run.files, run.context.outputPath)) return false;
    run.context.files = &run.files;
    if (!OpenSceneFile(run.file, run.context.outputPath, run.files)) return false;
    // A large buffer: the scene is printed node by node.
    static char buffer[1 << 18];
    std::setvbuf(run.file.stream, buffer, _IOFBF, sizeof buffer);
    // The text goes into the file as it is made only where a failed save takes the file away: a
    // device written directly gets nothing from a save that fails before its end.
    if (run.file.staged) run.context.sceneStream = run.file.stream;
    return true;
}

bool CreateXmlDocument(ExportContext& context) {
    context.xmlDocument = NewInHostMemory<TiXmlDocument>(context.outputPath);
    return context.xmlDocument != nullptr;
}

void RunPerObjectStrategy(ExportContext& context) {
    // Mesh pass, which first writes the renderer settings and the camera.
    ExportObjectTree(context, DocumentFirstObject(context.document), IdentityMatrix(), true);
    WriteMaterialList(context, context.sceneElement, context.document);
    AppendDefaultMaterial(context.sceneElement);
    // The element pass numbers the meshes as the mesh pass did.
    context.meshCounter = 0;
    ExportObjectTree(context, DocumentFirstObject(context.document), IdentityMatrix(), false);
}

void RunMergedStrategy(ExportContext& context) {
    // The whole merged strategy, default material included.
    ExportMergedGeometry(context);
}

/// Prints the document and closes the file; a failed write or close (a full disk) is a failed
/// save, not a success.
int32_t PrintAndClose(SaveRun& run, PrintedElements* streamed) {
    if (!streamed) {
        run.context.xmlDocument->Print(run.file.stream, 0);
    } else if (!streamed->FinishStream()) {
        return FILE_RESULT_OPEN_FAILED; // the scene file would lack what went in front late
    }
    return CloseSceneFile(run.file) ? FILE_RESULT_OK : FILE_RESULT_OPEN_FAILED;
}

/// Keeps the first mesh file that could not be written, so that a command can name it.
void RememberFailedMeshFile(LumenoSaverData& saver, const ExportContext& context) {
    if (saver.failedMeshFile[0] != '\0') return;
    for (int32_t i = 0; i < context.meshRecords.count; ++i) {
        if (context.meshRecords.records[i].written) continue;
        MeshFileText name = MeshFileName(context.outputPath, context.meshRecords.records[i].number);
        CopyTextCut(saver.failedMeshFile, sizeof saver.failedMeshFile, name.text);
        return;
    }
}

/// Puts the export in place once everything of it is written. A mesh file that could not be
/// written into the staging folder fails the save before anything changes; one whose name a
/// folder holds is left out of a scene that is still put in place, and fails the save after.
int32_t Commit(SaveRun& run, LumenoSaverData& saver) {
    ExportContext& context = run.context;
    if (context.meshRecords.hostFailed) return FILE_RESULT_OUT_OF_MEMORY;
    if (run.files.stagedWriteFailed) {
        RememberFailedMeshFile(saver, context);
        return FILE_RESULT_OPEN_FAILED;
    }
    int32_t removed = 0;
    switch (CommitExportFiles(run.files, run.file.target.c_str(), removed)) {
    case CommitResult::Done: break;
    case CommitResult::NoMemory: return FILE_RESULT_OUT_OF_MEMORY;
    case CommitResult::Failed: return FILE_RESULT_OPEN_FAILED;
    }
    if (context.meshRecords.fileFailed) {
        RememberFailedMeshFile(saver, context);
        saver.failedMeshLeftOut = true;
        return FILE_RESULT_OPEN_FAILED;
    }
    return FILE_RESULT_OK;
}

} // namespace

int32_t LumenoSaverData::SaveScene(HostNode* /*node*/, const HostFilename* file,
                                   HostDocument* document, int32_t flags) {
    if ((flags & SAVE_FLAG_WRITE) == 0) return FILE_RESULT_OK;

    failedMeshFile[0] = '\0';
    failedMeshLeftOut = false;
    SaveRun run;
    ExportContext& context = run.context;
    context.saveFlags = flags;
    context.document = document;
    context.saver = this;
    context.outputFile = FilenameCreate();
    if (!document || !context.outputFile) return FILE_RESULT_OUT_OF_MEMORY;

    ReadRenderSettings(*this, DocumentFirstObject(document));
    if (!SetOutputNames(context, file)) return FILE_RESULT_OPEN_FAILED;
    if (!OpenOutput(run)) return FILE_RESULT_OPEN_FAILED;
    if (!CreateXmlDocument(context)) return FILE_RESULT_OUT_OF_MEMORY;

    settingsWritten = false;
    cameraWritten = false;
    context.sceneElement = ParseSceneTemplate(*context.xmlDocument);
    if (!context.sceneElement) return FILE_RESULT_OUT_OF_MEMORY;
    context.printedElements = StartPrintedElements(context.sceneElement);

    if (mergedMeshExport)
        RunMergedStrategy(context);
    else
        RunPerObjectStrategy(context);

    if (!settingsWritten && !context.backgroundWritten) PrependDefaultBackground(context.sceneElement);
    PrintedElements* streamed = nullptr;
    if (!EndPrintedElements(context, streamed)) return FILE_RESULT_OUT_OF_MEMORY;
    const int32_t result = PrintAndClose(run, streamed);
    if (result != FILE_RESULT_OK) return result;
    return Commit(run, *this);
}
