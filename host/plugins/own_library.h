// Libraries of this build that the host loads only when it first needs them (the OpenGL drawing,
// the model reading, the icon decoding), so that a command that needs none does not pay for
// loading them.
#pragma once

namespace host {

/// Loads the library `name` from beside the program (bin/../lib) or, failing that, from `built`,
/// where this build put it, and answers its entry `symbol`. The library stays loaded for the
/// life of the process, unless `handle` takes it for unloadOwnLibrary. Throws HostError naming
/// what it is for and why it cannot be loaded.
void* loadOwnLibraryEntry(const char* name, const char* built, const char* symbol, const char* what,
                          void** handle = nullptr);

/// Unloads a library that loadOwnLibraryEntry gave the handle of; nothing it answered may be
/// used after.
void unloadOwnLibrary(void* handle);

} // namespace host
