// Parameters that the host's own object types keep in their containers, with the values a new
// object of the type receives (makeObject and newObject set them). The document loader and
// tests set them by these IDs.
//
//   sphere (5160)   SPHERE_RADIUS     real    100        bounding box: centre 0, half size r, r, r
//   cube (5159)     CUBE_SIZE         vector  200 200 200  centre 0, half size = size / 2
//   plane (5168)    PLANE_WIDTH       real    400        lies in the object's x-z plane, normal +y;
//                   PLANE_HEIGHT      real    400        half size (w / 2, 0, h / 2)
//   camera (5103)   CAMERA_FOCUS_DISTANCE real 2000      host units from the camera
//                   CAMERA_FILM_WIDTH real    36         millimetres
//                   CAMERA_FIELD_OF_VIEW (1008) real 2 atan(18/36)  radians across the film width
//   light (5102)    LIGHT_KIND (90002) integer 0         8 = area light
//                   LIGHT_AREA_WIDTH (100010) real 200, LIGHT_AREA_HEIGHT (100011) real 200
//                                                        an area light's half size (w / 2, h / 2, 0)
//   instance (5126) INSTANCE_LINK (1001) link            empty
//
// Any other type starts with an empty container. A polygon object's bounding box comes from its
// points; cylinder, cone, disc and torus from their shapes (primitive_params.h); an instance
// reports the box of the object it repeats; every other type has a zero box.
//
// The default editor camera of a new document's view sits at (0, 0, -1000) with the identity
// axes (looking along +z, y up) and the camera defaults above.
#pragma once

#include <cstdint>

#include "host_types.h"

namespace host {

constexpr int32_t SPHERE_RADIUS = 1200;
constexpr int32_t CUBE_SIZE = 1201;
constexpr int32_t PLANE_WIDTH = 1202;
constexpr int32_t PLANE_HEIGHT = 1203;
constexpr int32_t CAMERA_FOCUS_DISTANCE = 1204;
constexpr int32_t CAMERA_FILM_WIDTH = 1205;
constexpr int32_t LIGHT_KIND = 90002;
constexpr int32_t LIGHT_AREA_WIDTH = 100010;
constexpr int32_t LIGHT_AREA_HEIGHT = 100011;
/// The LIGHT_KIND of an area light.
constexpr int32_t LIGHT_KIND_AREA = 8;

constexpr float DEFAULT_SPHERE_RADIUS = 100.0f;
constexpr float DEFAULT_CUBE_EDGE = 200.0f;
constexpr float DEFAULT_PLANE_SIZE = 400.0f;
constexpr float DEFAULT_FOCUS_DISTANCE = 2000.0f;
constexpr float DEFAULT_FILM_WIDTH = 36.0f;
/// 2 atan(18 / 36): a 36 mm film behind a 36 mm lens.
constexpr float DEFAULT_FIELD_OF_VIEW = 0.927295218f;
constexpr float DEFAULT_AREA_SIZE = 200.0f;
constexpr float DEFAULT_EDITOR_CAMERA_Z = -1000.0f;

/// Writes the defaults of an object type into a container (nothing for other types).
void setObjectDefaults(int32_t type, HostContainer& params);

/// The parameter a camera type keeps its focus distance in / its film width in; both read with
/// the defaults above when absent.
float cameraFocusDistance(const HostNode& camera);
float cameraFilmWidth(const HostNode& camera);

} // namespace host
