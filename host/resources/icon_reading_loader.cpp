// lumeno-host's icon decoding: the calls go into lib/liblumeno_icon_reading.so, loaded for the
// first icon and unloaded when the module has registered its plug-ins; its answers become the
// exceptions the decoding itself throws.
#include <new>
#include <string>

#include "host/plugins/host_error.h"
#include "host/plugins/own_library.h"
#include "host/resources/icon_reading.h"
#include "host/resources/resource_error.h"

namespace host {
namespace {

// Like the module's plug-ins, icons are registered on the main thread only.
struct Loaded {
    void* handle = nullptr;
    const IconReadingTable* table = nullptr;
};

Loaded& loaded() {
    static Loaded library;
    return library;
}

const IconReadingTable& table(const std::filesystem::path& tif) {
    Loaded& library = loaded();
    if (!library.table) {
        try {
            library.table = reinterpret_cast<IconReadingEntry>(
                loadOwnLibraryEntry(LUMENO_ICON_READING_LIBRARY_NAME, LUMENO_ICON_READING_LIBRARY_BUILT,
                                    iconReadingEntryName, "icon decoding", &library.handle))();
        } catch (const HostError& e) {
            throw ResourceError(tif, 0, e.what());
        }
    }
    return *library.table;
}

} // namespace

IconImage loadIcon(const std::filesystem::path& tif) {
    IconImage image;
    const IconOutcome outcome = table(tif).loadIcon(tif, image);
    switch (outcome.kind) {
    case IconOutcome::Kind::Done: break;
    case IconOutcome::Kind::Refused: throw ResourceError(tif, 0, outcome.problem);
    case IconOutcome::Kind::OutOfMemory: throw std::bad_alloc();
    }
    return image;
}

void releaseIconReading() {
    Loaded& library = loaded();
    unloadOwnLibrary(library.handle);
    library = {};
}

} // namespace host
