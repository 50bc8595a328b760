// The primitives' meshes: counts from their parameters, closed surfaces with outward fronts, and
// parameters held to their ranges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "host/geometry/primitive_meshes.h"
#include "host/geometry/primitive_params.h"
#include "host/model/build.h"
#include "host_constants.h"
#include "tests/host/mesh_checks.h"

namespace {

using meshcheck::closed;
using meshcheck::facesAway;
using meshcheck::from;
using meshcheck::triangles;

constexpr HostVector origin{0, 0, 0};

host::PolygonMesh meshOf(const HostNode& object)
{
    std::optional<host::PolygonMesh> mesh = host::primitiveMesh(object);
    EXPECT_TRUE(mesh.has_value());
    return mesh ? *mesh : host::PolygonMesh{};
}

void expectClosedAndOutward(const host::PolygonMesh& mesh)
{
    const auto tris = triangles(mesh.polygons);
    EXPECT_TRUE(closed(tris));
    EXPECT_TRUE(facesAway(mesh.points, tris, from(origin)));
}

TEST(PrimitiveMesh, DefaultsGiveTheDocumentedCounts)
{
    struct Case {
        int32_t type;
        std::size_t points;
        std::size_t polygons;
    };
    // sphere 24 segments, 12 rings; cube 1 x 1 x 1; plane 20 x 20; cylinder 36 around, 4 high;
    // cone 36 around, 8 high with an apex; disc 36 around, 1 ring; torus 36 x 18.
    const Case cases[] = {{TYPE_SPHERE, 2 + 11 * 24, 12 * 24}, {TYPE_CUBE, 8, 6},
                          {TYPE_PLANE, 21 * 21, 400},          {TYPE_CYLINDER, 2 + 5 * 36, 6 * 36},
                          {TYPE_CONE, 2 + 8 * 36, 9 * 36},     {TYPE_DISC, 1 + 36, 36},
                          {TYPE_TORUS, 36 * 18, 36 * 18}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const host::PolygonMesh mesh = meshOf(*host::newObject(c.type));
        EXPECT_EQ(mesh.points.size(), c.points);
        EXPECT_EQ(mesh.polygons.size(), c.polygons);
    }
}

TEST(PrimitiveMesh, ClosedShapesAreClosedWithOutwardFronts)
{
    auto sphere = host::newObject(TYPE_SPHERE);
    sphere->params.setInt(host::SPHERE_SEGMENTS, 7); // odd: rings = 3
    const host::PolygonMesh sphereMesh = meshOf(*sphere);
    EXPECT_EQ(sphereMesh.points.size(), 2u + 2 * 7);
    EXPECT_EQ(sphereMesh.polygons.size(), 3u * 7);
    expectClosedAndOutward(sphereMesh);

    auto cube = host::newObject(TYPE_CUBE);
    cube->params.setVector(host::CUBE_SIZE, {100, 200, 300});
    cube->params.setInt(host::CUBE_SEGMENTS_X, 2);
    cube->params.setInt(host::CUBE_SEGMENTS_Y, 3);
    cube->params.setInt(host::CUBE_SEGMENTS_Z, 4);
    const host::PolygonMesh cubeMesh = meshOf(*cube);
    EXPECT_EQ(cubeMesh.points.size(), 3u * 4 * 5 - 1 * 2 * 3);
    EXPECT_EQ(cubeMesh.polygons.size(), 2u * (2 * 3 + 3 * 4 + 4 * 2));
    expectClosedAndOutward(cubeMesh);

    expectClosedAndOutward(host::cylinderMesh(50, 200, 3, 12));
    // A cone with a flat top, one with an apex, and one standing on its apex.
    expectClosedAndOutward(host::coneMesh(30, 100, 200, 2, 10));
    expectClosedAndOutward(host::coneMesh(0, 100, 200, 2, 10));
    expectClosedAndOutward(host::coneMesh(100, 0, 200, 2, 10));
}

TEST(PrimitiveMesh, TorusFacesAwayFromItsRing)
{
    const float ring = 100;
    const host::PolygonMesh mesh = host::torusMesh(ring, 20, 16, 8);
    const auto tris = triangles(mesh.polygons);
    EXPECT_TRUE(closed(tris));
    auto nearestOnRing = [ring](const HostVector& p) {
        const float d = std::sqrt(p.x * p.x + p.z * p.z);
        return HostVector{ring * p.x / d, 0, ring * p.z / d};
    };
    EXPECT_TRUE(facesAway(mesh.points, tris, nearestOnRing));
}

TEST(PrimitiveMesh, PlaneAndDiscFaceUpAndSpanTheirSize)
{
    const host::PolygonMesh plane = host::planeMesh(400, 200, 4, 2);
    EXPECT_EQ(plane.points.size(), 5u * 3);
    EXPECT_EQ(plane.polygons.size(), 8u);
    const HostVector below{0, -1, 0};
    EXPECT_TRUE(facesAway(plane.points, triangles(plane.polygons), from(below)));
    float maxX = 0, maxZ = 0;
    for (const HostVector& p : plane.points) {
        EXPECT_EQ(p.y, 0.0f);
        maxX = std::max(maxX, std::fabs(p.x));
        maxZ = std::max(maxZ, std::fabs(p.z));
    }
    EXPECT_FLOAT_EQ(maxX, 200);
    EXPECT_FLOAT_EQ(maxZ, 100);

    // A ring (inner radius given) and a ring given the wrong way round both face up.
    for (const auto& disc : {host::discMesh(20, 100, 2, 12), host::discMesh(100, 20, 2, 12)}) {
        EXPECT_EQ(disc.points.size(), 3u * 12);
        EXPECT_EQ(disc.polygons.size(), 2u * 12);
        EXPECT_TRUE(facesAway(disc.points, triangles(disc.polygons), from(below)));
    }
}

TEST(PrimitiveMesh, TextureCoordinatesCoverEachPolygonWithinTheTexture)
{
    for (const int32_t type : {TYPE_SPHERE, TYPE_CUBE, TYPE_PLANE, TYPE_CYLINDER, TYPE_CONE, TYPE_DISC, TYPE_TORUS}) {
        SCOPED_TRACE(type);
        const host::PolygonMesh mesh = meshOf(*host::newObject(type));
        ASSERT_EQ(mesh.uvws.size(), mesh.polygons.size());
        float uMax = 0, vMax = 0;
        for (const host::UvwPolygon& r : mesh.uvws)
            for (const HostVector& c : {r.a, r.b, r.c, r.d}) {
                EXPECT_TRUE(c.x >= 0 && c.x <= 1 && c.y >= 0 && c.y <= 1 && c.z == 0);
                uMax = std::max(uMax, c.x);
                vMax = std::max(vMax, c.y);
            }
        EXPECT_EQ(uMax, 1.0f) << "the texture is covered once, seam included";
        EXPECT_EQ(vMax, 1.0f);
    }
    // The plane (1 x 1 segments): u along x, v from its +z edge; corners (-x,-z), (-x,+z), (+x,+z), (+x,-z).
    const host::PolygonMesh plane = host::planeMesh(400, 400, 1, 1);
    ASSERT_EQ(plane.uvws.size(), 1u);
    EXPECT_EQ(plane.points[plane.polygons[0].b].z, 200.0f);
    EXPECT_EQ(plane.uvws[0].a, (HostVector{0, 1, 0}));
    EXPECT_EQ(plane.uvws[0].b, (HostVector{0, 0, 0}));
    EXPECT_EQ(plane.uvws[0].c, (HostVector{1, 0, 0}));
    EXPECT_EQ(plane.uvws[0].d, (HostVector{1, 1, 0}));
}

TEST(PrimitiveParams, ValuesAreHeldToTheirRange)
{
    auto cylinder = host::newObject(TYPE_CYLINDER);
    cylinder->params.setInt(host::CYLINDER_ROTATION_SEGMENTS, 2000000000);
    cylinder->params.setInt(host::CYLINDER_HEIGHT_SEGMENTS, -4);
    cylinder->params.setReal(host::CYLINDER_RADIUS, std::numeric_limits<float>::quiet_NaN());
    cylinder->params.setReal(host::CYLINDER_HEIGHT, -10);
    EXPECT_EQ(host::primitiveInteger(*cylinder, host::CYLINDER_ROTATION_SEGMENTS), host::MAX_PRIMITIVE_SEGMENTS);
    EXPECT_EQ(host::primitiveInteger(*cylinder, host::CYLINDER_HEIGHT_SEGMENTS), 1);
    EXPECT_EQ(host::primitiveReal(*cylinder, host::CYLINDER_RADIUS), 50.0f); // the default
    EXPECT_EQ(host::primitiveReal(*cylinder, host::CYLINDER_HEIGHT), 0.0f);
    const host::PolygonMesh mesh = meshOf(*cylinder);
    EXPECT_EQ(mesh.polygons.size(), std::size_t(3 * host::MAX_PRIMITIVE_SEGMENTS));

    // Reading a parameter of another type is a mistake of the caller.
    EXPECT_THROW(host::primitiveReal(*cylinder, host::SPHERE_RADIUS), std::invalid_argument);
    EXPECT_FALSE(host::primitiveMesh(*host::newObject(TYPE_NULL)).has_value());
}

TEST(PrimitiveParams, EveryPrimitiveTypeHasNamedParametersWithDistinctIds)
{
    std::set<int32_t> ids;
    for (const host::PrimitiveParameter& p : host::primitiveParameters()) {
        EXPECT_TRUE(host::isPrimitiveType(p.type)) << p.symbol;
        EXPECT_TRUE(ids.insert(p.id).second) << p.symbol;
        EXPECT_GE(p.defaultValue, p.minimum) << p.symbol;
        EXPECT_LE(p.defaultValue, p.maximum) << p.symbol;
    }
    for (int32_t type : {TYPE_SPHERE, TYPE_CUBE, TYPE_PLANE, TYPE_CYLINDER, TYPE_CONE, TYPE_DISC, TYPE_TORUS})
        EXPECT_FALSE(host::primitiveParametersOf(type).empty()) << type;
}

} // namespace
