// The parameters of the host's primitive objects (sphere, cube, plane, cylinder, cone, disc,
// torus): their IDs, the symbols document files use, the values an object has when its container
// lacks them, and the range a value is held to when the object is turned into polygons.
//
// Every primitive stands in object space as the application makes it: centred on the origin, its
// axis (or its normal) along +y. Sizes are host units, segment counts are whole numbers.
// The sizes of sphere, cube and plane (SPHERE_RADIUS, CUBE_SIZE, PLANE_WIDTH, PLANE_HEIGHT) are
// declared with the model's other object parameters (host/model/object_params.h).
#pragma once

#include <cstdint>
#include <vector>

#include "host/model/object_params.h"
#include "host_types.h"

namespace host {

constexpr int32_t SPHERE_SEGMENTS = 1210;
constexpr int32_t CUBE_SEGMENTS_X = 1211;
constexpr int32_t CUBE_SEGMENTS_Y = 1212;
constexpr int32_t CUBE_SEGMENTS_Z = 1213;
constexpr int32_t PLANE_SEGMENTS_WIDTH = 1214;
constexpr int32_t PLANE_SEGMENTS_HEIGHT = 1215;
constexpr int32_t CYLINDER_RADIUS = 1220;
constexpr int32_t CYLINDER_HEIGHT = 1221;
constexpr int32_t CYLINDER_HEIGHT_SEGMENTS = 1222;
constexpr int32_t CYLINDER_ROTATION_SEGMENTS = 1223;
constexpr int32_t CONE_TOP_RADIUS = 1230;
constexpr int32_t CONE_BOTTOM_RADIUS = 1231;
constexpr int32_t CONE_HEIGHT = 1232;
constexpr int32_t CONE_HEIGHT_SEGMENTS = 1233;
constexpr int32_t CONE_ROTATION_SEGMENTS = 1234;
constexpr int32_t DISC_INNER_RADIUS = 1240;
constexpr int32_t DISC_OUTER_RADIUS = 1241;
constexpr int32_t DISC_RING_SEGMENTS = 1242;
constexpr int32_t DISC_ROTATION_SEGMENTS = 1243;
constexpr int32_t TORUS_RING_RADIUS = 1250;
constexpr int32_t TORUS_PIPE_RADIUS = 1251;
constexpr int32_t TORUS_RING_SEGMENTS = 1252;
constexpr int32_t TORUS_PIPE_SEGMENTS = 1253;

/// The largest segment count a primitive is built with; larger values are held to it, so a
/// document cannot ask for an unbounded mesh.
constexpr int32_t MAX_PRIMITIVE_SEGMENTS = 1000;
/// The largest size a primitive is built with (host units).
constexpr float MAX_PRIMITIVE_SIZE = 1.0e7f;

enum class PrimitiveValue { Real, Integer, Vector };

/// One parameter of a primitive type. A vector's three components share default and range.
struct PrimitiveParameter {
    int32_t type;       // the object type (TYPE_SPHERE, ...)
    int32_t id;         // the container ID
    const char* symbol; // the name document files use
    PrimitiveValue kind;
    float defaultValue;
    float minimum;
    float maximum;
};

/// Every primitive parameter, grouped by type in the order of the list above.
const std::vector<PrimitiveParameter>& primitiveParameters();
/// The parameters of one type (none for a type that is not a primitive).
std::vector<PrimitiveParameter> primitiveParametersOf(int32_t type);
/// Whether the type is a primitive that current state to object turns into polygons.
bool isPrimitiveType(int32_t type);

/// A parameter's value as the primitive is built with it: the container's value, or the default
/// when the container lacks it or holds no finite number, held to the parameter's range.
/// An ID that is not a primitive parameter of the object's type throws std::invalid_argument.
float primitiveReal(const HostNode& object, int32_t id);
int32_t primitiveInteger(const HostNode& object, int32_t id);
HostVector primitiveVector(const HostNode& object, int32_t id);

} // namespace host
