// The steps both export commands share: their state, the output file and its dialog, the saver
// they make for themselves, the save, and the texts they show the user.
#pragma once

#include <cstdint>

#include "frame/host_text.h"
#include "host_types.h"

class LumenoSaverData;

/// Title of the file dialog of both commands.
constexpr const char* kExportDialogTitle = "Export Lumeno Scene";
/// Texts of the host's text container for (document, export command ID).
constexpr int32_t kCommandTextNoRendererFolder = 1000;
constexpr int32_t kCommandTextNoMemory = 1001;
/// Bytes of the renderer folder as the commands read it: at most 255 characters.
constexpr int32_t kCommandFolderSize = 256;
/// Bytes of the output path in the renderer's argument: at most 255 characters.
constexpr int32_t kCommandPathSize = 256;
/// Bytes of the argument: the path between two double quotes.
constexpr int32_t kCommandArgumentSize = kCommandPathSize + 2;

/// COMMAND_STATE_ENABLED for a document with at least one object, else COMMAND_STATE_DISABLED.
int32_t CommandState(HostDocument* document);

/// The default output file: the document's file name (setting 1013) with ".xml" after it, as in
/// "scene.c4d.xml". None when the host has no memory.
HostFile MakeDefaultOutputFile(HostDocument* document);

/// Shows the dialog "Export Lumeno Scene" for saving, starting from `file`, which receives the
/// choice. False when the user cancelled.
bool AskForOutputFile(HostFilename* file);

/// Shows text `id` of the host's text container for the document and the export command's ID;
/// nothing when the host has no such container.
void ShowCommandText(HostDocument* document, int32_t id);

/// Shows a text composed by the module, after "Lumeno: " as the host's texts for the commands.
void ShowMessage(const char* text);

/// Reads the renderer folder into `folder`. False, after showing why, when none is set (text
/// 1000) or when it does not fit its 255 bytes: then nothing may be started.
bool ReadCommandRendererFolder(LumenoSaverData& saver, HostDocument* document,
                               char (&folder)[kCommandFolderSize]);

/// A saver of the command's own, marked commandOwned so that releasing it keeps the last export
/// file. None, after showing text 1001, when the host has no memory for it.
LumenoSaverData* CreateCommandSaver(HostDocument* document);
/// Destroys a command's saver and gives its memory back.
void ReleaseCommandSaver(LumenoSaverData* saver);

/// Saves the document to `file` with the save flags 1. When the save fails, shows a message that
/// names the file and the reason and answers false: the renderer must not start on a missing or
/// stale file.
bool SaveSceneForCommand(LumenoSaverData& saver, HostDocument* document, const HostFilename* file);

/// The output file's path as text (at most 255 characters) into `path`, and the renderer's
/// argument, that path between double quotes (`"/scenes/my scene.xml"`), into `argument`.
void MakeRendererArgument(const HostFilename* file, char (&path)[kCommandPathSize],
                          char (&argument)[kCommandArgumentSize]);
