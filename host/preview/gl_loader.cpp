#include "host/preview/gl_drawing.h"

#include <dlfcn.h>

#include <filesystem>
#include <mutex>
#include <system_error>
#include <vector>

#include "host/plugins/host_error.h"
#include "host/preview/gl_library.h"

namespace host {
namespace {

/// Beside the program (bin/../lib) first, so a moved build still finds its own; then where this
/// build put it.
std::vector<std::filesystem::path> libraryPlaces() {
    std::vector<std::filesystem::path> places;
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) places.push_back(self.parent_path() / ".." / "lib" / LUMENO_GL_LIBRARY_NAME);
    places.emplace_back(LUMENO_GL_LIBRARY_BUILT);
    return places;
}

/// Loaded once and kept for the life of the process, as OSMesa keeps its own state.
GlDrawEntry loadEntry() {
    std::string reasons;
    for (const std::filesystem::path& place : libraryPlaces()) {
        if (!std::filesystem::exists(place)) continue;
        void* library = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            reasons += std::string("; ") + dlerror();
            continue;
        }
        if (void* entry = dlsym(library, glDrawEntryName)) return reinterpret_cast<GlDrawEntry>(entry);
        reasons += "; " + place.string() + " has no " + glDrawEntryName;
        dlclose(library);
    }
    throw HostError(std::string("cannot load the OpenGL drawing library ") + LUMENO_GL_LIBRARY_NAME +
                    (reasons.empty() ? std::string(": not found beside the program or in the build") : reasons));
}

} // namespace

RgbPicture drawPreview(const PreviewScene& scene, PictureSize size) {
    static std::once_flag loaded;
    static GlDrawEntry entry = nullptr;
    static std::string loadFailure;
    std::call_once(loaded, [] {
        try {
            entry = loadEntry();
        } catch (const HostError& failure) {
            loadFailure = failure.what();
        }
    });
    if (!entry) throw HostError(loadFailure);
    RgbPicture picture;
    std::string error;
    if (!entry(scene, size, picture, error)) throw HostError(error);
    return picture;
}

} // namespace host
