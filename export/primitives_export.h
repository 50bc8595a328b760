// The renderer's analytic shapes and area lights: a host sphere as `sphere`, a host plane as
// `plane`, a host area light as `rectanglelight`. O is the object being walked, L the object it
// stands for (O itself, or the object an instance links to), W the world matrix of O; the caller
// finishes the element with FinishElement, or calls ExportLinkedPrimitive, which does both.
#pragma once


#include <tinyxml.h>

#include "export/export_context.h"
#include "host_types.h"

/// The host's kind of light that is exported (parameter 90002 of a light).
constexpr int32_t kLightKindParameter = 90002;
constexpr int32_t kLightKindArea = 8;
/// An area light's own size (reals, host units).
constexpr int32_t kLightAreaWidthParameter = 100010;
constexpr int32_t kLightAreaHeightParameter = 100011;

/// `rectanglelight` for a light L of kind 8, else none: `pos` (O's bounding-box centre placed by
/// W, x z y, scaled), `width`, `height`, then the `spectrum`. Size and spectrum come from O's
/// light tag, or from O's own container when it has none; the 9.5 build's per-object strategy
/// takes the size from L's own area size instead, scaled.
ElementPtr ExportRectangleLight(ExportContext& context, HostObject* object, HostObject* linked, const HostMatrix& world);

/// `sphere` with `center` (O's bounding-box centre placed by W) and `radius` (O's own x scale
/// times L's x half size, scaled); none when O's object tag excludes it.
ElementPtr ExportSphere(ExportContext& context, HostObject* object, HostObject* linked, const HostMatrix& world);

/// `plane` with `normal` (W's unit y axis, x z y) and `dist` (W's offset along that normal,
/// scaled); none when O's object tag excludes it.
ElementPtr ExportPlane(ExportContext& context, HostObject* object, HostObject* linked, const HostMatrix& world);

/// The element of whichever of the three L is (a light, sphere or plane), finished with
/// FinishElement; an L of any other type, or an element that is none, writes nothing.
void ExportLinkedPrimitive(ExportContext& context, HostObject* object, HostObject* linked, const HostMatrix& world);
