// How lumeno-host asks for the memory of its heap.
#pragma once

#include <filesystem>

namespace app {

/// Sets the allocator up for a command; call first in main, with main's arguments.
void setUpHeap(char** argv);

/// For an export about to read `input`: when the file is large, starts the program again in this
/// process, with the same arguments, so that the allocator takes large pages. Returns when they
/// are on already, when the file is small or missing, or when the system offers no large pages.
/// (An import keeps small pages: the reading of its model peaks higher in large ones.)
void useLargePagesFor(const std::filesystem::path& input);

} // namespace app
