#include "host/preview/gl_drawing.h"

#include <mutex>
#include <string>

#include "host/plugins/host_error.h"
#include "host/plugins/own_library.h"
#include "host/preview/gl_library.h"

namespace host {

RgbPicture drawPreview(const PreviewScene& scene, PictureSize size) {
    static std::once_flag loaded;
    static GlDrawEntry entry = nullptr;
    static std::string loadFailure;
    std::call_once(loaded, [] {
        try {
            entry = reinterpret_cast<GlDrawEntry>(
                loadOwnLibraryEntry(LUMENO_GL_LIBRARY_NAME, LUMENO_GL_LIBRARY_BUILT, glDrawEntryName, "OpenGL drawing"));
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
