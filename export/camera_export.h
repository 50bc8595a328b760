// The scene file's `camera`: the camera the document's active view looks through, in the
// renderer's axis order and units, with the lens values and the render-settings tag's extras.
#pragma once

#include "host_types.h"

struct ExportContext;

/// Puts `camera` in front of everything `scene` holds, once per save: the view's camera object,
/// else the view's editor camera; nothing when there is neither. Sets the saver's cameraWritten
/// either way, so the camera is looked for once per save.
void ExportCamera(ExportContext& context);

/// The distance from the lens to the film for a film of `sensorWidth` behind a lens that sees
/// `fieldOfView` radians across it: sensorWidth / (2 tan(fieldOfView / 2)). A field of view
/// without a finite distance (0, which would need an infinitely long lens) gives the distance of
/// the host's standard lens, 2 atan(1/2), whose lens distance equals the sensor width.
float LensSensorDistance(float sensorWidth, float fieldOfView);
