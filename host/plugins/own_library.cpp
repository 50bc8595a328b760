#include "host/plugins/own_library.h"

#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "host/plugins/host_error.h"

namespace host {
namespace {

/// Beside the program (bin/../lib) first, so a moved build still finds its own; then where this
/// build put it.
std::vector<std::filesystem::path> libraryPlaces(const char* name, const char* built) {
    std::vector<std::filesystem::path> places;
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) places.push_back(self.parent_path() / ".." / "lib" / name);
    places.emplace_back(built);
    return places;
}

} // namespace

void* loadOwnLibraryEntry(const char* name, const char* built, const char* symbol, const char* what,
                          void** handle) {
    std::string reasons;
    for (const std::filesystem::path& place : libraryPlaces(name, built)) {
        if (!std::filesystem::exists(place)) continue;
        void* library = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            reasons += std::string("; ") + dlerror();
            continue;
        }
        if (void* entry = dlsym(library, symbol)) {
            if (handle) *handle = library;
            return entry;
        }
        reasons += "; " + place.string() + " has no " + symbol;
        dlclose(library);
    }
    throw HostError(std::string("cannot load the ") + what + " library " + name +
                    (reasons.empty() ? std::string(": not found beside the program or in the build") : reasons));
}

void unloadOwnLibrary(void* handle) {
    if (handle) dlclose(handle);
}

} // namespace host
