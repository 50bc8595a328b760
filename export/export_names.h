// The names an export gives its own files beside the scene file "NAME":
//   ".lumeno-KEY.lock"        held while an export to NAME runs
//   ".lumeno-KEY-R.new/"      the files of a running export, before its commit
//   ".lumeno-KEY-R.commit/"   the same once complete: the commit moves them into place
// KEY is 16 hexadecimal digits made from NAME (so a name near the system's limit still has room),
// R 8 random ones. Inside the folders every file has its final name: NAME itself and its mesh files.
#pragma once

#include <cstddef>

/// Bytes of a key: 16 digits and a zero.
constexpr size_t kExportKeySize = 17;

/// The 16 hexadecimal digits of `sceneName`'s key.
void ExportKey(const char* sceneName, char (&key)[kExportKeySize]);

/// What an entry of the scene's folder is to an export of the scene with key `key`.
enum class ExportEntry { Other, Staging, Commit };
ExportEntry ClassifyExportEntry(const char* key, const char* entry);

/// Whether `entry` is a name the exporter gives a mesh file of the scene `sceneName`:
/// "NAME.%d.3DS", "NAME.smooth.3DS", "NAME.nosmooth.3DS" or "NAME.light%d.3DS".
bool IsSceneMeshFileName(const char* sceneName, const char* entry);
