// Libraries of this build that the host loads only when it first needs them (the OpenGL drawing,
// the model reading), so that a command that needs neither does not pay for loading them.
#pragma once

namespace host {

/// Loads the library `name` from beside the program (bin/../lib) or, failing that, from `built`,
/// where this build put it, and answers its entry `symbol`. The library stays loaded for the
/// life of the process. Throws HostError naming what it is for and why it cannot be loaded.
void* loadOwnLibraryEntry(const char* name, const char* built, const char* symbol, const char* what);

} // namespace host
