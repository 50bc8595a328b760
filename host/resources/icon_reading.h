// Decoding icons with libtiff. lumeno-host has it in a library of its own,
// lib/liblumeno_icon_reading.so, loaded for the first icon and unloaded once the module has
// registered its plug-ins, so that libtiff and the codecs it brings are not held through an
// export. Tests link the decoding itself (lumeno_host_icon_decoding).
#pragma once

#include <filesystem>
#include <string>

#include "host/resources/icon_image.h"

namespace host {

/// How a call into the loaded library ended; exceptions do not cross it.
struct IconOutcome {
    enum class Kind { Done, Refused, OutOfMemory } kind = Kind::Done;
    std::string problem; // a refusal's problem, without the file's name
};

/// The library's entry answers this table.
struct IconReadingTable {
    IconOutcome (*loadIcon)(const std::filesystem::path& tif, IconImage& result) noexcept;
};
using IconReadingEntry = const IconReadingTable* (*)() noexcept;
constexpr const char* iconReadingEntryName = "lumenoIconReading";

} // namespace host
