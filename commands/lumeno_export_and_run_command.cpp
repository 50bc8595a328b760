#include "commands/lumeno_export_and_run_command.h"

#include <cstdio>
#include <filesystem>

#include "commands/command_steps.h"
#include "commands/launch_renderer.h"
#include "export/lumeno_saver_data.h"
#include "frame/host_memory.h"
#include "frame/host_text.h"
#include "frame/module_strings.h"
#include "frame/plugin_ids.h"
#include "frame/plugin_registration.h"

namespace {

/// Takes the remembered file as the output, or asks for one and remembers it at once. False when
/// the dialog was cancelled or the remembered file is no full path (after saying so).
bool ChooseOutputFile(LumenoSaverData& saver, HostFile& output) {
    char remembered[kSaverSettingTextSize];
    saver.ReadLastExportFile(remembered, sizeof remembered);
    if (remembered[0] != '\0') {
        // Only a hand-edited setting is relative; the renderer would read it against its own folder.
        if (!std::filesystem::path(remembered).is_absolute()) {
            char message[kSaverSettingTextSize + 512];
            std::snprintf(message, sizeof message,
                          "the remembered scene file \"%s\" is not a full path, so nothing was "
                          "exported and the renderer was not started. Run the export command once "
                          "to choose the file again.",
                          remembered);
            ShowMessage(message);
            return false;
        }
        output = HostFile::FromCString(remembered);
        return output.get() != nullptr;
    }
    if (!AskForOutputFile(output.get())) return false;
    char chosen[kSaverSettingTextSize];
    output.ToBuffer(chosen, sizeof chosen);
    saver.StoreLastExportFile(chosen);
    return true;
}

} // namespace

bool LumenoExportAndRunCommand::Execute(HostDocument* document) { return ExecuteExportAndRun(document); }

int32_t LumenoExportAndRunCommand::GetState(HostDocument* document) { return CommandState(document); }

bool ExecuteExportAndRun(HostDocument* document) {
    HostFile output = MakeDefaultOutputFile(document);
    if (!output.get()) return false;
    LumenoSaverData* saver = CreateCommandSaver(document);
    if (!saver) return false;

    bool started = false;
    char rendererFolder[kCommandFolderSize];
    if (!ChooseOutputFile(*saver, output)) {
        // cancelled: nothing to tell
    } else if (!ReadCommandRendererFolder(*saver, document, rendererFolder)) {
        // The chosen file stays remembered, so the next run goes straight to this message.
    } else if (SaveSceneForCommand(*saver, document, output.get())) {
        char path[kCommandPathSize];
        char argument[kCommandArgumentSize];
        MakeRendererArgument(output.get(), path, argument);
        started = StartRenderer(rendererFolder, argument);
    }
    ReleaseCommandSaver(saver);
    return started;
}

bool RegisterLumenoExportAndRunCommand() {
    LumenoExportAndRunCommand* command = NewInHostMemory<LumenoExportAndRunCommand>();
    HostText help(GetModuleString(kStringExportAndRunCommandHelp));
    HostText name(GetModuleString(kStringExportAndRunCommandName));
    return AddCommandPlugin(kLumenoExportAndRunCommandId, name.get(), 0,
                            "lumenoexportandruncommand.tif", help.get(), command);
}
