// The scene-wide elements of the render-settings tag: environment map, tone mapping, background,
// sun and sky, renderer settings. Each is put in front of everything `scene` holds, so they end up
// in the order renderer_settings, skylight, background, tonemapping, env_map.
#pragma once

#include <cstdint>

#include "host_types.h"

struct ExportContext;

/// Bytes of the environment map's file name as text: at most 511 characters.
constexpr int32_t kEnvMapPathSize = 512;

/// Writes the elements of the first render-settings tag found in pre-order from `start` (the
/// object, its following siblings and everything below them), once per save: nothing when the
/// saver's settingsWritten is already set, or when there is no such tag (then the flag stays
/// clear and a later call searches again).
void ExportRenderSettings(ExportContext& context, const HostObject* start);

/// The environment map's path as the scene file gives it: relative to the output folder when the
/// file lies inside it (the folder text followed by a path separator, or a folder text that
/// itself ends in one), else unchanged. "C:\scenes" and "C:\scenes\maps\sky.hdr" give
/// "maps\sky.hdr"; "C:\scenes2\sky.hdr" and "C:\scenes" itself stay as they are.
const char* EnvMapPathText(const char* file, const char* outputFolder);
