// Images the host hands to modules: icons (decoded from .tif), pictures a module makes (24 bits)
// and material previews. All keep their pixels as 8-bit RGBA; a 24-bit image is opaque.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "host/resources/icon_image.h"

/// An image; empty until something is loaded into it or it is given a size.
struct HostImage {
    std::optional<host::IconImage> pixels;
};

namespace host {

/// A material's preview picture and what it was made from. Kept with the material and lent to
/// callers; a copy of the material starts without one, so a lent picture belongs to exactly one
/// material and stays valid until that material's look changes or the material is freed.
class MaterialPreview {
public:
    MaterialPreview() = default;
    MaterialPreview(const MaterialPreview&) {}
    MaterialPreview& operator=(const MaterialPreview&)
    {
        image.reset();
        madeFrom.clear();
        return *this;
    }
    MaterialPreview(MaterialPreview&&) = default;
    MaterialPreview& operator=(MaterialPreview&&) = default;

    std::unique_ptr<HostImage> image;
    std::string madeFrom; // the values the picture shows, to tell when it is out of date
};

} // namespace host
