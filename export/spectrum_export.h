// The `spectrum` of an emitter (rectangle light, mesh light) from a parameter container: the
// light tag's, or an area light's own.
#pragma once

#include <tinyxml.h>

#include "host_types.h"

/// Appends one `spectrum` element as the last child of `parent`, its form chosen by the
/// container's LLIGHT_SPECTRUM_TYPE: `peak` (`peak_min`, `peak_width`, `base_value`,
/// `peak_value`), `blackbody` (`temperature`, `gain`) or `rgb` holding one `rgb` "%f %f %f";
/// an empty `spectrum` for any other type or none. Absent entries take the light tag's
/// creation values. Nothing happens without a container or a parent.
void ExportSpectrum(const HostContainer* parameters, TiXmlElement* parent);
