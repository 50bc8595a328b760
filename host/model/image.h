// Images the host hands to modules: icons (decoded from .tif) and previews.
#pragma once

#include <optional>

#include "host/resources/icon_image.h"

/// An image; empty until something is loaded into it.
struct HostImage {
    std::optional<host::IconImage> pixels;
};
