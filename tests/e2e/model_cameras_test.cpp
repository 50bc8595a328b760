// The exported camera of real models, per format, against the numbers in each model file itself
// (quoted beside each row): its place, its view direction, its field of view across the film and
// its aspect ratio. Every row is exported by lumeno-host and read back from the scene file.
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include <tinyxml.h>

#include "e2e_fixture.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

const fs::path models = "/usr/share/assimp/models";
constexpr double degree = M_PI / 180;

struct V {
    double x = 0, y = 0, z = 0;
};
V operator-(V a, V b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(V a, V b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double length(V a) { return std::sqrt(dot(a, a)); }

/// `v` turned about a coordinate axis (0 x, 1 y, 2 z) by `degrees`, right-handed.
V turned(V v, int axis, double degrees) {
    const double c = std::cos(degrees * degree), s = std::sin(degrees * degree);
    if (axis == 0) return {v.x, c * v.y - s * v.z, s * v.y + c * v.z};
    if (axis == 1) return {c * v.x + s * v.z, v.y, -s * v.x + c * v.z};
    return {c * v.x - s * v.y, s * v.x + c * v.y, v.z};
}

/// How a format's frame stands in the renderer's (z up, metres).
enum class Frame { YUp, ZUp, LeftHandedYUp };

V toRenderer(V v, Frame frame, double metres) {
    switch (frame) {
    case Frame::YUp: return {v.x * metres, -v.z * metres, v.y * metres};
    case Frame::ZUp: return {v.x * metres, v.y * metres, v.z * metres};
    case Frame::LeftHandedYUp: return {v.x * metres, v.z * metres, v.y * metres};
    }
    return v;
}

struct CameraRow {
    const char* file;
    Frame frame;
    double metres; // renderer metres per file unit
    V position;
    V direction;
    double fovDegrees; // across the width
    double aspect;
};

/// Reads the last value list of an FBX binary property record named `name` (P records: the name,
/// three more strings, then the values).
std::vector<double> fbxProperty(const std::string& bytes, const std::string& name) {
    std::string pattern = "S";
    const uint32_t size = static_cast<uint32_t>(name.size());
    pattern.append(reinterpret_cast<const char*>(&size), 4);
    pattern += name;
    std::vector<double> values;
    for (size_t at = bytes.find(pattern); at != std::string::npos; at = bytes.find(pattern, at + 1)) {
        size_t pos = at + pattern.size();
        bool record = true;
        for (int k = 0; k < 3 && record; ++k) {
            record = pos + 5 <= bytes.size() && bytes[pos] == 'S';
            uint32_t skip = 0;
            if (record) std::memcpy(&skip, bytes.data() + pos + 1, 4), pos += 5 + skip;
        }
        if (!record) continue;
        values.clear();
        for (; pos + 9 <= bytes.size() && bytes[pos] == 'D'; pos += 9) {
            double value;
            std::memcpy(&value, bytes.data() + pos + 1, 8);
            values.push_back(value);
        }
    }
    return values;
}

/// The 3DS camera record (position, target, bank, lens) that follows the named object's name.
std::vector<float> threeDsCamera(const std::string& bytes, const std::string& name) {
    const size_t at = bytes.find(name + std::string("\0\x00\x47", 3));
    std::vector<float> values(8);
    if (at == std::string::npos || at + name.size() + 7 + 32 > bytes.size()) return {};
    std::memcpy(values.data(), bytes.data() + at + name.size() + 7, 32);
    return values;
}

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<CameraRow> rows() {
    std::vector<CameraRow> rows;
    // Cameras.gltf: node "translation": [0.5, 0.5, 3.0], no rotation (looks along -z);
    // "yfov": 0.7, "aspectRatio": 1.0 (metres).
    rows.push_back({"glTF2/cameras/Cameras.gltf", Frame::YUp, 1, {0.5, 0.5, 3}, {0, 0, -1},
                    2 * std::atan(1.0 * std::tan(0.7 / 2)) / degree, 1.0});
    // 2CylinderEngine.glb, node 81: "matrix" columns x (0.7071, -2.156e-7, -0.7071),
    // y (-0.3313, 0.8835, -0.3313), z (0.6247, 0.4685, 0.6247), translation (1005.99, 766.317,
    // 953.346); "yfov": 0.3143, "aspectRatio": 1.0.
    rows.push_back({"glTF2/2CylinderEngine-glTF-Binary/2CylinderEngine.glb", Frame::YUp, 1,
                    {1005.9874267578125, 766.3170776367188, 953.3455810546875},
                    {-0.6246951818466187, -0.4685211479663849, -0.6246950030326843}, 0.3143463730812073 / degree, 1.0});
    // duck.dae (centimetres, Y_UP): camera1 <translate>400.113 463.264 -431.078</translate>,
    // <rotate>0 1 0 -223.2</rotate>, <rotate>1 0 0 -38.4</rotate>, looking along -z;
    // <yfov>37.8492</yfov> <aspect_ratio>1.5</aspect_ratio>.
    rows.push_back({"Collada/duck.dae", Frame::YUp, 0.01, {400.113, 463.264, -431.078},
                    turned(turned({0, 0, -1}, 0, -38.4), 1, -223.2),
                    2 * std::atan(1.5 * std::tan(37.8492 / 2 * degree)) / degree, 1.5});
    // spider.fbx (binary, centimetres): the camera model's "Lcl Translation" and "Lcl Rotation"
    // (degrees, x then y then z; an FBX camera looks along +x), "FieldOfView" and
    // "AspectWidth" / "AspectHeight".
    const std::string fbx = bytesOf(models / "FBX/spider.fbx");
    const std::vector<double> at = fbxProperty(fbx, "Lcl Translation"), turn = fbxProperty(fbx, "Lcl Rotation");
    const std::vector<double> fov = fbxProperty(fbx, "FieldOfView"), w = fbxProperty(fbx, "AspectWidth"),
                              h = fbxProperty(fbx, "AspectHeight");
    if (at.size() == 3 && turn.size() == 3 && fov.size() == 1 && w.size() == 1 && h.size() == 1)
        rows.push_back({"FBX/spider.fbx", Frame::YUp, 0.01, {at[0], at[1], at[2]},
                        turned(turned(turned({1, 0, 0}, 0, turn[0]), 1, turn[1]), 2, turn[2]), fov[0], w[0] / h[0]});
    // TargetCameraAnim.3ds (binary, z up): Camera01's camera record: position, target, bank, lens;
    // a lens of L is 2400 / L degrees across. No aspect ratio: the export's 1.33.
    const std::vector<float> c = threeDsCamera(bytesOf(models / "3DS/TargetCameraAnim.3ds"), "Camera01");
    if (c.size() == 8)
        rows.push_back({"3DS/TargetCameraAnim.3ds", Frame::ZUp, 0.01, {c[0], c[1], c[2]},
                        {c[3] - c[0], c[4] - c[1], c[5] - c[2]}, 2400 / c[7], 1.33});
    // TargetCameraAnim.ase (z up): Camera01 *TM_POS -65.8677 16.1213 0.0000, its target
    // Camera01.Target *TM_POS 14.4292 28.2159 0.0000, *CAMERA_FOV 0.7854.
    rows.push_back({"ASE/TargetCameraAnim.ase", Frame::ZUp, 0.01, {-65.8677, 16.1213, 0},
                    V{14.4292, 28.2159, 0} - V{-65.8677, 16.1213, 0}, 0.7854 / degree, 1.33});
    // move_x.lws (LightWave: left-handed, y up): the camera's channels 0-2 -0.1, 0.95, -6.384 and
    // no rotation (it looks along +z); ZoomFactor 3.2 over half the frame's height, FrameSize 640 480.
    rows.push_back({"LWS/move_x.lws", Frame::LeftHandedYUp, 0.01, {-0.10000002384185791, 0.94999998807907104, -6.384000301361084},
                    {0, 0, 1}, 2 * std::atan(640.0 / 480.0 / 3.2) / degree, 640.0 / 480.0});
    return rows;
}

V vectorOf(const TiXmlElement* camera, const char* name) {
    const TiXmlElement* child = camera->FirstChildElement(name);
    std::istringstream in(child && child->GetText() ? child->GetText() : "");
    V v;
    in >> v.x >> v.y >> v.z;
    return v;
}

double realOf(const TiXmlElement* camera, const char* name) {
    const TiXmlElement* child = camera->FirstChildElement(name);
    return child && child->GetText() ? std::stod(child->GetText()) : NAN;
}

class ModelCameraTest : public HostCommandTest {};

TEST_P(ModelCameraTest, EachFormatsCameraIsExportedAsItsFileGivesIt) {
    if (!fs::is_directory(models)) GTEST_SKIP() << "assimp-testmodels is not installed";
    const std::vector<CameraRow> table = rows();
    ASSERT_EQ(table.size(), 7u) << "a file's camera could not be read by the test";
    for (const CameraRow& row : table) {
        SCOPED_TRACE(row.file);
        const fs::path scene = folder / (fs::path(row.file).filename().string() + ".xml");
        RunResult result = run({"export", (models / row.file).string(), "-o", scene.string()});
        ASSERT_EQ(result.status, 0) << result.err;
        TiXmlDocument xml;
        xml.Parse(readFile(scene).c_str(), nullptr, TIXML_ENCODING_LEGACY);
        const TiXmlElement* camera = xml.RootElement() ? xml.RootElement()->FirstChildElement("camera") : nullptr;
        ASSERT_NE(camera, nullptr);

        const V expected = toRenderer(row.position, row.frame, row.metres);
        const V position = vectorOf(camera, "pos");
        EXPECT_LE(length(position - expected), 1e-3 * length(expected))
            << position.x << " " << position.y << " " << position.z;
        const V look = toRenderer(row.direction, row.frame, 1), forwards = vectorOf(camera, "forwards");
        const double between = std::acos(std::min(1.0, dot(look, forwards) / length(look) / length(forwards)));
        EXPECT_LE(between / degree, 0.5) << forwards.x << " " << forwards.y << " " << forwards.z;
        const double fov = 2 * std::atan(realOf(camera, "sensor_width") / 2 / realOf(camera, "lens_sensor_dist"));
        EXPECT_NEAR(fov / degree, row.fovDegrees, 0.5);
        EXPECT_NEAR(realOf(camera, "aspect_ratio"), row.aspect, 1e-3);
    }
}

TEST_P(ModelCameraTest, AModelWithoutACameraIsFramedFromTheFrontRightAndAbove) {
    if (!fs::is_directory(models)) GTEST_SKIP() << "assimp-testmodels is not installed";
    // A box 4 wide, 2 high and 1 deep, away from the origin, in a file without a camera.
    const fs::path model = writeFile("box.obj",
                                     "v 10 5 0\nv 14 5 0\nv 14 7 0\nv 10 7 0\nv 10 5 -1\nv 14 5 -1\nv 14 7 -1\nv 10 7 -1\n"
                                     "f 1 2 3 4\nf 5 8 7 6\nf 1 5 6 2\nf 4 3 7 8\nf 1 4 8 5\nf 2 6 7 3\n");
    RunResult result = run({"export", model.string(), "-o", (folder / "box.xml").string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("the model has no camera"), std::string::npos) << result.err;
    TiXmlDocument xml;
    xml.Parse(readFile(folder / "box.xml").c_str(), nullptr, TIXML_ENCODING_LEGACY);
    const TiXmlElement* camera = xml.RootElement()->FirstChildElement("camera");
    ASSERT_NE(camera, nullptr);
    const V eye = vectorOf(camera, "pos"), forwards = vectorOf(camera, "forwards"), up = vectorOf(camera, "up");
    // From the front (the model's +z, the renderer's -y), 30 degrees to the right, 20 degrees above.
    EXPECT_NEAR(std::atan2(-forwards.x, forwards.y) / degree, 30, 0.5);
    EXPECT_NEAR(std::asin(-forwards.z / length(forwards)) / degree, 20, 0.5);
    // Every corner inside the frame, and the box taking most of its width or height.
    const V right{forwards.y * up.z - forwards.z * up.y, forwards.z * up.x - forwards.x * up.z,
                  forwards.x * up.y - forwards.y * up.x};
    const double halfWidth = realOf(camera, "sensor_width") / 2 / realOf(camera, "lens_sensor_dist");
    const double halfHeight = halfWidth / realOf(camera, "aspect_ratio");
    double widest = 0, highest = 0;
    for (int corner = 0; corner < 8; ++corner) {
        const V p = toRenderer({corner & 1 ? 14.0 : 10.0, corner & 2 ? 7.0 : 5.0, corner & 4 ? -1.0 : 0.0}, Frame::YUp, 0.01);
        const V q = p - eye;
        const double depth = dot(q, forwards) / length(forwards);
        ASSERT_GT(depth, 0);
        const double across = std::abs(dot(q, right) / length(right)) / depth / halfWidth;
        const double above = std::abs(dot(q, up) / length(up)) / depth / halfHeight;
        EXPECT_LE(across, 1.0);
        EXPECT_LE(above, 1.0);
        widest = std::max(widest, across), highest = std::max(highest, above);
    }
    EXPECT_GT(std::max(widest, highest), 0.8);
}

TEST_P(ModelCameraTest, FilesOfOnlyCamerasOrLightsImport) {
    if (!fs::is_directory(models)) GTEST_SKIP() << "assimp-testmodels is not installed";
    // cameras.dae (metres, Z_UP): three cameras and nothing else; the first, "Camera", has a
    // <matrix> whose translation is 10 0 0 and whose z column is +x (it looks along -x), and
    // <xfov>49.13434</xfov>.
    RunResult cameras = run({"export", (models / "Collada/cameras.dae").string(), "-o", (folder / "c.xml").string()});
    ASSERT_EQ(cameras.status, 0) << cameras.err;
    EXPECT_NE(cameras.err.find("0 polygon objects, 0 triangles"), std::string::npos) << cameras.err;
    TiXmlDocument xml;
    xml.Parse(readFile(folder / "c.xml").c_str(), nullptr, TIXML_ENCODING_LEGACY);
    const TiXmlElement* camera = xml.RootElement()->FirstChildElement("camera");
    ASSERT_NE(camera, nullptr);
    const V position = vectorOf(camera, "pos"), forwards = vectorOf(camera, "forwards");
    EXPECT_NEAR(position.x, 10, 1e-2);
    EXPECT_NEAR(position.y, 0, 1e-2);
    EXPECT_NEAR(position.z, 0, 1e-2);
    EXPECT_NEAR(forwards.x, -1, 1e-3);
    EXPECT_NEAR(2 * std::atan(realOf(camera, "sensor_width") / 2 / realOf(camera, "lens_sensor_dist")) / degree, 49.1343, 0.5);

    RunResult lights = run({"import", (models / "Collada/lights.dae").string(), "-o", (folder / "l.json").string()});
    ASSERT_EQ(lights.status, 0) << lights.err;
    EXPECT_NE(lights.out.find("4 lights"), std::string::npos) << lights.out;
    EXPECT_NE(lights.out.find("left out: 1 ambient light"), std::string::npos) << lights.out;
}

INSTANTIATE_TEST_SUITE_P(Releases, ModelCameraTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
