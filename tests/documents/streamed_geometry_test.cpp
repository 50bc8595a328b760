// Geometry lists are read as records while the file streams by; a list that leaves the usual
// shape part way is read on as JSON, so the refusal names the same place either way.
#include <array>
#include <string>
#include <vector>

#include "document_fixture.h"
#include "host/documents/document_parser.h"

namespace testing_documents {
namespace {

std::array<int32_t, 4> corners(const HostPolygon& p) { return {p.a, p.b, p.c, p.d}; }

std::string polygon(const std::string& geometry) {
    return R"({"objects": [{"type": "polygon", "points": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], )" + geometry + "}]}";
}

TEST_F(DocumentTest, GeometryRefusedPartWayNamesThePlace) {
    const struct {
        std::string json;
        const char* path;
        const char* problem;
    } cases[] = {
        {R"({"objects": [{"type": "polygon", "points": [[0, 0, 0], [1, "a", 0]]}]})", "objects[0].points[1][1]", "expected a number"},
        {R"({"objects": [{"type": "polygon", "points": [[0, 0, 0], [1e39, 0, 0]]}]})", "objects[0].points[1][0]", "out of range of a 32-bit real"},
        {R"({"objects": [{"type": "polygon", "points": [[0, 0, 0], [1, 0]]}]})", "objects[0].points[1]", "expected [x, y, z]"},
        // Read on as JSON, a point is still checked for its range, and the first fault is named.
        {R"({"objects": [{"type": "polygon", "points": [[1e39, 0, 0], [1, 0]]}]})", "objects[0].points[0][0]", "out of range of a 32-bit real"},
        {polygon(R"("polygons": [[0, 1, 2], [0, 1, 2.5]])"), "objects[0].polygons[1][2]", "expected an integer"},
        {polygon(R"("polygons": [[0, 1, 2], [0, 1]])"), "objects[0].polygons[1]", "expected a triangle"},
        {polygon(R"("polygons": [[0, 1, 2], [0, 1, 2147483648]])"), "objects[0].polygons[1][2]", "integer out of range"},
        {polygon(R"("polygons": [[0, 1, 2]], "uvs": [[[0, 0], [0, 0], [0, 0], [0, 0]]])"), "objects[0].uvs[0]", "expected 3 corners [u, v] for the triangle polygons[0], found a list"},
        {polygon(R"("polygons": [[0, 1, 2]], "uvs": [[[0, 0], [0, 1e39], [0, 0]]])"), "objects[0].uvs[0][1][1]", "out of range of a 32-bit real"},
        {polygon(R"("polygons": [[0, 1, 2]], "uvs": [[[0, 0], [0, 0, 0], {"u": 0}]])"), "objects[0].uvs[0][2]", "expected [u, v] or [u, v, w]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        std::string message;
        EXPECT_EQ(refusalPath(c.json, &message), c.path);
        EXPECT_NE(message.find(c.problem), std::string::npos) << message;
    }
}

TEST_F(DocumentTest, StreamedGeometryKeepsEveryValue) {
    const auto doc = host::parseDocumentText(
        polygon(R"("polygons": [[0, 1, 2], [2, 1, 0, 1]], "uvs": [[[0.5, 1], [2, 3, 4], [5, 6]], [[1, 1], [2, 2], [3, 3], [4, 4]]])"),
        "test.json");
    const auto& object = doc.objects.at(0);
    ASSERT_EQ(object.points.size(), 3u);
    EXPECT_EQ(object.points[1].x, 1.0);
    EXPECT_EQ(corners(object.polygons[0]), (std::array<int32_t, 4>{0, 1, 2, 2}));
    EXPECT_EQ(corners(object.polygons[1]), (std::array<int32_t, 4>{2, 1, 0, 1}));
    const auto& uvs = object.uvs.value();
    EXPECT_EQ(uvs[0][0].x, 0.5);
    EXPECT_EQ(uvs[0][0].z, 0.0); // [u, v] has w = 0
    EXPECT_EQ(uvs[0][1].z, 4.0);
    EXPECT_EQ(uvs[0][3].y, 6.0); // a triangle repeats its last corner
    EXPECT_EQ(uvs[1][3].x, 4.0);
}

} // namespace
} // namespace testing_documents
