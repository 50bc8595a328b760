#include "commands/command_steps.h"

#include <cstdio>
#include <cstring>

#include "export/lumeno_saver_data.h"
#include "frame/host_api.h"
#include "frame/host_memory.h"
#include "frame/plugin_ids.h"
#include "host_constants.h"

namespace {

/// Bytes of the texts the commands read from settings and file names: at most 1023 characters.
constexpr int32_t kLongTextSize = 1024;
/// Bytes of a composed message: room for two long paths and the sentences around them.
constexpr int32_t kMessageSize = 3072;
/// The start of every text the commands show.
constexpr const char* kMessagePrefix = "Lumeno: ";

/// Why a save failed, in the user's words.
void DescribeSaveFailure(int32_t result, const char* path, const LumenoSaverData& saver,
                         char (&message)[kMessageSize]) {
    const char* failedMeshFile = saver.failedMeshFile;
    // The limit is one of bytes: a character outside ASCII takes two to four.
    int32_t bytes = static_cast<int32_t>(std::strlen(path));
    if (result == FILE_RESULT_OPEN_FAILED && bytes >= kCommandPathSize)
        std::snprintf(message, sizeof message,
                      "The Lumeno scene was not written: the path \"%s\" has %d bytes, and at "
                      "most %d are accepted. The renderer was not started.",
                      path, bytes, kCommandPathSize - 1);
    else if (result == FILE_RESULT_OPEN_FAILED && failedMeshFile[0] != '\0' && !saver.failedMeshLeftOut)
        std::snprintf(message, sizeof message,
                      "The Lumeno scene was not written to \"%s\": its mesh file \"%s\" could not be "
                      "saved by the host (a full disk, a file-size limit or a folder that cannot be "
                      "written to), so nothing was changed and an earlier export there is as it was. "
                      "The renderer was not started.",
                      path, failedMeshFile);
    else if (result == FILE_RESULT_OPEN_FAILED && failedMeshFile[0] != '\0')
        std::snprintf(message, sizeof message,
                      "The Lumeno scene was written to \"%s\", but its mesh file \"%s\" could not "
                      "be saved by the host (something that is not a file stands at its name), so "
                      "the scene leaves that mesh out. The renderer was not started.",
                      path, failedMeshFile);
    else if (result == FILE_RESULT_OPEN_FAILED)
        std::snprintf(message, sizeof message,
                      "The Lumeno scene could not be written to \"%s\": the file cannot be opened "
                      "or written. Check that its folder exists and can be written to. The "
                      "renderer was not started.",
                      path);
    else if (result == FILE_RESULT_OUT_OF_MEMORY)
        std::snprintf(message, sizeof message,
                      "The Lumeno scene could not be written to \"%s\": there is not enough "
                      "memory. The renderer was not started.",
                      path);
    else
        std::snprintf(message, sizeof message,
                      "The Lumeno scene could not be written to \"%s\" (file result %d). The "
                      "renderer was not started.",
                      path, result);
}

} // namespace

int32_t CommandState(HostDocument* document) {
    HostScratch* scratch = ScratchAcquire();
    bool enabled = document && scratch && DocumentFirstObject(document);
    ScratchRelease(scratch);
    return enabled ? COMMAND_STATE_ENABLED : COMMAND_STATE_DISABLED;
}

HostFile MakeDefaultOutputFile(HostDocument* document) {
    char name[kLongTextSize];
    HostFile(DocumentSettingFilename(document, DOCUMENT_FILE_NAME)).ToBuffer(name, sizeof name);
    char withSuffix[kLongTextSize + 4];
    std::snprintf(withSuffix, sizeof withSuffix, "%s.xml", name);
    return HostFile::FromCString(withSuffix);
}

bool AskForOutputFile(HostFilename* file) {
    HostText title = HostText::FromCString(kExportDialogTitle);
    return FilenameDialog(file, FILE_DIALOG_KIND_ANY, FILE_DIALOG_SAVE, title.get());
}

void ShowCommandText(HostDocument* document, int32_t id) {
    const HostContainer* texts = PluginTextContainer(document, kLumenoExportCommandId);
    if (!texts) return;
    HostText text(ContainerGetString(texts, id));
    ShowText(text.get());
}

void ShowMessage(const char* text) {
    // Every text the commands show starts alike, as the host's own texts for them do.
    char prefixed[kMessageSize + 16];
    std::snprintf(prefixed, sizeof prefixed, "%s%s", kMessagePrefix, text);
    HostText message = HostText::FromCString(prefixed);
    ShowText(message.get());
}

bool ReadCommandRendererFolder(LumenoSaverData& saver, HostDocument* document,
                               char (&folder)[kCommandFolderSize]) {
    char whole[kSaverSettingTextSize];
    saver.ReadRendererFolder(whole, sizeof whole);
    folder[0] = '\0';
    if (whole[0] == '\0') {
        ShowCommandText(document, kCommandTextNoRendererFolder);
        return false;
    }
    if (!CopyTextCut(folder, sizeof folder, whole)) {
        // A cut folder could name another folder, and start another program.
        char message[kMessageSize];
        std::snprintf(message, sizeof message,
                      "the renderer folder \"%s\" has %d bytes, and at most %d are accepted, so the "
                      "renderer was not started and nothing was exported. Set a shorter folder with "
                      "\"lumeno-host prefs --renderer-folder DIR\".",
                      whole, static_cast<int>(std::strlen(whole)), kCommandFolderSize - 1);
        ShowMessage(message);
        folder[0] = '\0';
        return false;
    }
    return true;
}

LumenoSaverData* CreateCommandSaver(HostDocument* document) {
    LumenoSaverData* saver = NewInHostMemory<LumenoSaverData>();
    if (!saver) {
        ShowCommandText(document, kCommandTextNoMemory);
        return nullptr;
    }
    saver->commandOwned = true;
    return saver;
}

void ReleaseCommandSaver(LumenoSaverData* saver) {
    if (saver) saver->Destroy(true);
}

bool SaveSceneForCommand(LumenoSaverData& saver, HostDocument* document, const HostFilename* file) {
    int32_t result = saver.SaveScene(nullptr, file, document, SAVE_FLAG_WRITE);
    if (result == FILE_RESULT_OK) return true;
    char path[kLongTextSize];
    HostText(FilenameToText(file)).ToBuffer(path, sizeof path);
    char message[kMessageSize];
    DescribeSaveFailure(result, path, saver, message);
    ShowMessage(message);
    return false;
}

void MakeRendererArgument(const HostFilename* file, char (&path)[kCommandPathSize],
                          char (&argument)[kCommandArgumentSize]) {
    HostText(FilenameToText(file)).ToBuffer(path, sizeof path);
    std::snprintf(argument, sizeof argument, "\"%s\"", path);
}
