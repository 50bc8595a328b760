#include <filesystem>

#include "host/model/image.h"
#include "host/plugins/registry.h"
#include "host/resources/icon_image.h"
#include "host/resources/resource_error.h"
#include "host/table/handle_counts.h"
#include "host/table/host_table_impl.h"
#include "host/table/table_guard.h"
#include "host/text/host_text.h"
#include "host_constants.h"

namespace host {
namespace {

// Answers of image_load other than success.
constexpr int32_t IMAGE_RESULT_NO_FILE = -1;
constexpr int32_t IMAGE_RESULT_UNREADABLE = -2;

bool registerPlugin(int32_t kind, int32_t id, const HostString* name, const void* record)
{
    return guarded("registry.register_plugin", false, [&] {
        liveSession().registry().add(kind, id, name ? name->utf8 : "", record);
        return true;
    });
}

int32_t imageLoad(HostImage* image, const HostFilename* file)
{
    return guarded("registry.image_load", IMAGE_RESULT_UNREADABLE, [&] {
        Session& session = liveSession();
        if (!image || !file)
            return IMAGE_RESULT_NO_FILE;
        image->pixels.reset();
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file->path, ec)) {
            session.addDiagnostic(file->path + ": icon file missing");
            return IMAGE_RESULT_NO_FILE;
        }
        try {
            image->pixels = loadIcon(file->path);
            return static_cast<int32_t>(IMAGE_RESULT_OK);
        } catch (const ResourceError& e) {
            session.addDiagnostic(e.what());
            return IMAGE_RESULT_UNREADABLE;
        }
    });
}

} // namespace

const HostRegistryOps& registryOps()
{
    // Icons are images like any other: the image group makes and frees them.
    static const HostRegistryOps ops = {registerPlugin, imageOps().create, imageLoad, imageOps().free};
    return ops;
}

} // namespace host
