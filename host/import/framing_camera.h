// The camera a model without one of its own gets: it looks at the bounding box of all imported
// geometry from the front (the model's +z side, the host's -z), turned 30 degrees towards the
// model's right (so that a flat model standing sideways is not seen edge on) and 20 degrees
// above, with a 50 mm
// lens across the 36 mm film, so far away that the box's corners fill nine tenths of the frame
// (of the export's default aspect ratio, 1.33).
#pragma once

#include <optional>
#include <vector>

#include "host/documents/document_file.h"

namespace host::import {

/// The framing camera's horizontal angle (radians), and how far it is turned from the front
/// towards the model's right and raised above it, in degrees.
extern const double framingAngle;
constexpr double framingTurnDegrees = 30, framingElevationDegrees = 20;

struct Bounds {
    docfile::Vector3 low, high;
};

/// The box around every point of the objects, placed where their placements (and their
/// parents') put them; none without points.
std::optional<Bounds> geometryBounds(const std::vector<docfile::Object>& objects);

/// The placement of the framing camera (looking along its +z, +y above, as the host's cameras do).
docfile::Matrix framingPlacement(const Bounds& box);

} // namespace host::import
