// The renderer start: "lumeno.exe" in the renderer folder, on the scene file just written.
#pragma once

#include <cstdint>

/// The renderer's program name.
constexpr const char* kRendererExecutable = "lumeno.exe";

/// Starts `executable` without waiting for it, in `folder` as its working directory, looking for
/// it in the folder first and then along PATH, with the one argument `argument` (a quoted path).
/// Answers 0 when it runs, else the system's error number (ENOTDIR: the folder is missing;
/// ENOENT: the program is not found; EINVAL: no executable name or no argument given).
int32_t LaunchRenderer(const char* executable, const char* folder, const char* argument);

/// LaunchRenderer with "lumeno.exe"; when it cannot start, shows a message that names the folder
/// and the program. Answers whether the renderer runs.
bool StartRenderer(const char* folder, const char* argument);
