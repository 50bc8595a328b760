#include "commands/lumeno_export_command.h"

#include "commands/command_steps.h"
#include "commands/launch_renderer.h"
#include "export/lumeno_saver_data.h"
#include "frame/host_memory.h"
#include "frame/host_text.h"
#include "frame/module_strings.h"
#include "frame/plugin_ids.h"
#include "frame/plugin_registration.h"

bool LumenoExportCommand::Execute(HostDocument* document) { return ExecuteExport(document); }

int32_t LumenoExportCommand::GetState(HostDocument* document) { return CommandState(document); }

bool ExecuteExport(HostDocument* document) {
    HostFile output = MakeDefaultOutputFile(document);
    if (!output.get() || !AskForOutputFile(output.get())) return false;

    LumenoSaverData* saver = CreateCommandSaver(document);
    if (!saver) return false;
    char rendererFolder[kCommandFolderSize];
    bool started = false;
    if (!ReadCommandRendererFolder(*saver, document, rendererFolder)) {
        // why was shown
    } else if (SaveSceneForCommand(*saver, document, output.get())) {
        char path[kCommandPathSize];
        char argument[kCommandArgumentSize];
        MakeRendererArgument(output.get(), path, argument);
        started = StartRenderer(rendererFolder, argument);
        // The scene is there even when the renderer is not, so export-and-run may reuse it.
        saver->StoreLastExportFile(path);
    }
    ReleaseCommandSaver(saver);
    return started;
}

bool RegisterLumenoExportCommand() {
    LumenoExportCommand* command = NewInHostMemory<LumenoExportCommand>();
    HostText help(GetModuleString(kStringExportCommandHelp));
    HostText name(GetModuleString(kStringExportCommandName));
    return AddCommandPlugin(kLumenoExportCommandId, name.get(), 0, "lumenoexportcommand.tif",
                            help.get(), command);
}
