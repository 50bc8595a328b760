// The lock that lets one export at a time write the files of a scene: a file beside the scene
// ("FOLDER/.lumeno-KEY.lock") held with flock while the export runs. The system lets go of it
// when the holder ends, however it ends, so a killed export never blocks the next one. The
// holder removes the file when it lets go; an export that waited on a removed file tries again.
#pragma once

/// Takes the lock `path`, waiting while another export holds it. Answers the descriptor that
/// holds it, or -1 when the file cannot be made (no such folder, a folder one may not write).
int TakeExportLock(const char* path);

/// Removes the lock file and lets go of it.
void ReleaseExportLock(int descriptor, const char* path);
