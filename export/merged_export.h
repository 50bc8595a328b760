// The merged geometry strategy: all polygon geometry of the scene in "NAME.smooth.3DS" and
// "NAME.nosmooth.3DS" with materials named "Mat_%d", emitting meshes in "NAME.lightN.3DS",
// spheres, planes and rectangle lights as analytic shapes.
#pragma once

#include "export/export_context.h"

/// The whole strategy, default material included, in this order: camera, a
/// copy of the document, settings, marking pass, polygonize, targets and "Mat_%d" names, merge
/// walk, the two mesh files, material list, default material, the two models, writing pass,
/// clean-up. Works on its own copy, so the user's document is not changed; every document it
/// makes is freed before it returns. A host failure sets `meshRecords.hostFailed` (the save
/// answers -7), a mesh file that could not be written `fileFailed` (-1).
void ExportMergedGeometry(ExportContext& context);
