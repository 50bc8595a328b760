// lumeno-host preview and export --preview: scene files drawn from their camera, checked by the
// pixels of the PNG pictures they write, and the scene files that are refused.
#include <png.h>

#include <cstdlib>
#include <set>

#include "e2e_fixture.h"

namespace e2e {
namespace {

struct Pixel {
    int r = 0, g = 0, b = 0;
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    Pixel at(int x, int y) const {
        const uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
        return {p[0], p[1], p[2]};
    }
    Pixel centre() const { return at(width / 2, height / 2); }
};

/// Reads a PNG file with libpng; the test fails when it cannot.
Picture readPicture(const std::filesystem::path& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    if (!png_image_begin_read_from_file(&image, file.c_str())) {
        ADD_FAILURE() << file << ": " << image.message;
        return picture;
    }
    image.format = PNG_FORMAT_RGB;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) ADD_FAILURE() << image.message;
    return picture;
}

bool near(Pixel p, Pixel q, int tolerance = 2) {
    return std::abs(p.r - q.r) <= tolerance && std::abs(p.g - q.g) <= tolerance && std::abs(p.b - q.b) <= tolerance;
}

std::string text(Pixel p) {
    return std::to_string(p.r) + " " + std::to_string(p.g) + " " + std::to_string(p.b);
}

/// The default background radiance 0 0.2 0.2 as 8-bit pixels.
constexpr Pixel background{0, 51, 51};

/// A scene file: a camera at `camera` (pos, forwards, up) with a 36 mm sensor and lens, the
/// default background, a red and a blue material, and `body`.
std::string sceneText(const std::string& camera, const std::string& body) {
    return R"(<?xml version="1.0" encoding="utf-16" ?>
<scene>
  <camera>)" + camera + R"(<sensor_width>0.036000</sensor_width><lens_sensor_dist>0.036000</lens_sensor_dist>
    <aspect_ratio>1.333333</aspect_ratio></camera>
  <background><radiance>0.0 0.2 0.2</radiance></background>
  <material><name>Red</name><diffuse><colour>0.9 0.1 0.1</colour></diffuse></material>
  <material><name>Blue</name><phong><diffuse>0.1 0.1 0.9</diffuse><specular>1 1 1</specular><exponent>5000</exponent></phong></material>
)" + body + "\n</scene>\n";
}

/// Looking along +y from 5 units before the origin, z up.
const std::string alongY = "<pos>0 -5 0</pos><forwards>0 1 0</forwards><up>0 0 1</up>";

/// A square of 200 host units facing the camera, green in its mesh file, and a camera.
constexpr const char* squareDocument = R"({
  "materials": [{"name": "Green", "channels": {"0": {"on": true}}, "params": {"2100": [0.1, 0.8, 0.1]}}],
  "objects": [
    {"type": "polygon", "name": "Square", "points": [[-100, -100, 0], [100, -100, 0], [100, 100, 0], [-100, 100, 0]],
     "polygons": [[0, 1, 2, 3]], "tags": [{"type": "texture", "material": "Green"}]},
    {"type": "camera", "name": "Camera", "position": [0, 0, -500]}],
  "view": {"camera": "Camera"}
})";

class PreviewTest : public HostCommandTest {
protected:
    /// Writes the scene file and previews it at 64x48; the test fails when the preview fails.
    Picture preview(const std::string& scene) {
        auto file = writeFile("scene.xml", scene);
        auto picture = folder / "scene.png";
        RunResult result = runPlain({"preview", file.string(), "-o", picture.string(), "--size", "64x48"});
        EXPECT_EQ(result.status, 0) << result.err;
        return readPicture(picture);
    }

    /// The square's mesh file, written by an export of the square document: "square.xml.0.3DS".
    void exportSquare() {
        auto document = writeFile("square.json", squareDocument);
        RunResult result = run({"export", document.string(), "-o", (folder / "square.xml").string()});
        ASSERT_EQ(result.status, 0) << result.err;
        ASSERT_TRUE(std::filesystem::exists(folder / "square.xml.0.3DS"));
    }
};

TEST_P(PreviewTest, ARedSphereBeforeTheCameraIsRedAtTheCentreAndTheBackgroundElsewhere) {
    const std::string sphere = "<sphere><center>0 0 0</center><radius>1</radius><material_name>Red</material_name></sphere>";
    Picture picture = preview(sceneText(alongY, sphere));
    ASSERT_EQ(picture.width, 64);
    ASSERT_EQ(picture.height, 48);
    Pixel centre = picture.centre();
    EXPECT_GT(centre.r, 150) << text(centre);
    EXPECT_LT(centre.g, 60) << text(centre);
    EXPECT_LT(centre.b, 60) << text(centre);
    for (Pixel corner : {picture.at(0, 0), picture.at(63, 0), picture.at(0, 47), picture.at(63, 47)})
        EXPECT_TRUE(near(corner, background)) << text(corner);

    // Turned away, the camera sees nothing but the background.
    Picture away = preview(sceneText("<pos>0 -5 0</pos><forwards>0 -1 0</forwards><up>0 0 1</up>", sphere));
    std::set<std::string> seen;
    for (int y = 0; y < away.height; ++y)
        for (int x = 0; x < away.width; ++x) seen.insert(text(away.at(x, y)));
    EXPECT_EQ(seen, std::set<std::string>{text(background)});
}

TEST_P(PreviewTest, ModelsShapesAndEmittersAppearInTheirColours) {
    exportSquare();
    const std::string down = "<pos>0 0 5</pos><forwards>0 0 -1</forwards><up>0 1 0</up>";
    const std::string up = "<pos>0 0 -5</pos><forwards>0 0 1</forwards><up>0 1 0</up>";
    const std::string mesh = "<mesh><name>square</name><external><path>square.xml.0.3DS</path></external></mesh>";
    struct Case {
        const char* what;
        std::string camera, body;
        bool (*looks)(Pixel);
    };
    const Case cases[] = {
        {"a model in its material's colour", alongY,
         mesh + "<model><pos>0 0 0</pos><scale>0.01</scale><mesh_name>square</mesh_name><material_name>Blue</material_name></model>",
         [](Pixel p) { return p.b > 150 && p.r < 60 && p.g < 60; }},
        {"a model without a material of its own in its mesh file's colour", alongY,
         mesh + "<model><pos>0 0 0</pos><scale>0.01</scale><mesh_name>square</mesh_name></model>",
         [](Pixel p) { return p.g > 150 && p.r < 60 && p.b < 60; }},
        {"a mesh light unlit in its spectrum's hue", alongY,
         mesh + "<meshlight><pos>0 0 0</pos><scale>0.01</scale><mesh_name>square</mesh_name>"
                "<spectrum><rgb><rgb>2 1 0</rgb></rgb></spectrum></meshlight>",
         [](Pixel p) { return p.r == 255 && std::abs(p.g - 128) <= 1 && p.b == 0; }},
        {"a plane seen from above", down, "<plane><normal>0 0 1</normal><dist>0</dist><material_name>Red</material_name></plane>",
         [](Pixel p) { return p.r > 150 && p.g < 60 && p.b < 60; }},
        {"a rectangle light seen from below, white", up,
         "<rectanglelight><pos>0 0 0</pos><width>2</width><height>2</height><spectrum><blackbody>"
         "<temperature>6500</temperature><gain>0.001</gain></blackbody></spectrum></rectanglelight>",
         [](Pixel p) { return p.r == 255 && p.g == 255 && p.b == 255; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Picture picture = preview(sceneText(c.camera, c.body));
        ASSERT_EQ(picture.width, 64);
        EXPECT_TRUE(c.looks(picture.centre())) << text(picture.centre());
    }
}

TEST_P(PreviewTest, TexturesShowWhereTheirCoordinatesPutThemAndGlassLetsTheBackShowThrough) {
    // A texture red on its left half and blue on its right, on a square seen from the front with
    // u across from left to right (the host's v counts down from the top).
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 8;
    image.height = 8;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> halves(8 * 8 * 3);
    for (size_t i = 0; i < 64; ++i) halves[i * 3 + (i % 8 < 4 ? 0 : 2)] = 230;
    ASSERT_TRUE(png_image_write_to_file(&image, (folder / "halves.png").c_str(), 0, halves.data(), 0, nullptr));
    auto document = writeFile("textured.json", R"({
      "materials": [{"name": "Halves", "channels": {"0": {"on": true, "texture": "halves.png"}}}],
      "objects": [
        {"type": "polygon", "name": "Square", "points": [[-100, -100, 0], [100, -100, 0], [100, 100, 0], [-100, 100, 0]],
         "polygons": [[0, 1, 2, 3]], "uvs": [[[0, 1], [1, 1], [1, 0], [0, 0]]], "tags": [{"type": "texture", "material": "Halves"}]},
        {"type": "camera", "name": "Camera", "position": [0, 0, -500]}],
      "view": {"camera": "Camera"}})");
    RunResult result = run({"export", document.string(), "-o", (folder / "t.xml").string(), "--preview",
                            (folder / "t.png").string()});
    ASSERT_EQ(result.status, 0) << result.err;
    Picture textured = readPicture(folder / "t.png");
    const int y = textured.height / 2, x = textured.width / 2;
    const Pixel left = textured.at(x - 20, y), right = textured.at(x + 20, y);
    EXPECT_TRUE(left.r > 100 && left.b < 40) << text(left);
    EXPECT_TRUE(right.b > 100 && right.r < 40) << text(right);

    // A glass sphere before a red one: red shows through it, paler than the red beside it.
    const std::string spheres =
        "<material><name>Glass</name><specular><transparent>true</transparent><rgb_absorptivity>0 0 0</rgb_absorptivity>"
        "</specular></material><sphere><center>0 0 0</center><radius>1</radius><material_name>Glass</material_name></sphere>"
        "<sphere><center>0 4 0</center><radius>3</radius><material_name>Red</material_name></sphere>";
    Picture glass = preview(sceneText(alongY, spheres));
    const Pixel through = glass.centre(), beside = glass.at(18, 24);
    EXPECT_GT(through.r, through.g + 30) << text(through);
    EXPECT_GT(through.g, beside.g + 30) << text(through) << " beside " << text(beside);
}

TEST_P(PreviewTest, AnUnreadableSceneIsRefusedNamingTheFileAndWritesNoPicture) {
    const std::string model = "<model><mesh_name>gone</mesh_name></model>";
    struct Case {
        const char* what;
        std::string scene;
        std::string named; // a text the message must hold, besides the scene file's path
    };
    const Case cases[] = {
        {"a missing mesh file",
         sceneText(alongY, "<mesh><name>gone</name><external><path>gone.3DS</path></external></mesh>" + model),
         (folder / "gone.3DS").string() + ": no such file"},
        {"broken XML", sceneText(alongY, "<sphere><center>0 0 0</center>"), "line "},
        {"no camera", "<scene><background><radiance>0 0 0</radiance></background></scene>", "no camera element"},
        {"a model naming no mesh", sceneText(alongY, model), "no mesh is named \"gone\""},
        {"a value that is no number", sceneText(alongY, "<sphere><center>0 0 zero</center><radius>1</radius></sphere>"),
         "sphere/center: \"0 0 zero\" is not three numbers"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto file = writeFile("scene.xml", c.scene);
        auto picture = folder / "scene.png";
        RunResult result = runPlain({"preview", file.string(), "-o", picture.string()});
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find("lumeno-host: " + file.string() + ": "), std::string::npos) << result.err;
        EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(picture));
    }
    RunResult missing = runPlain({"preview", (folder / "none.xml").string(), "-o", (folder / "none.png").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find((folder / "none.xml").string() + ": no such file"), std::string::npos) << missing.err;
    RunResult badSize = runPlain({"preview", "a.xml", "-o", "a.png", "--size", "0x10"});
    EXPECT_EQ(badSize.status, 2);
    EXPECT_NE(badSize.err.find("--size"), std::string::npos) << badSize.err;
}

TEST_P(PreviewTest, EveryExampleExportsWithItsPreview) {
    for (const auto& entry : std::filesystem::directory_iterator(LUMENO_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".json") continue;
        SCOPED_TRACE(entry.path().string());
        auto scene = folder / (entry.path().stem().string() + ".xml");
        auto picture = folder / (entry.path().stem().string() + ".png");
        RunResult result = run({"export", entry.path().string(), "-o", scene.string(), "--preview", picture.string()});
        ASSERT_EQ(result.status, 0) << result.err;
        Picture drawn = readPicture(picture);
        EXPECT_GT(drawn.width, 0);
        // Both with renderer settings of 800 by 600; without them the picture is 600 wide and as high as the aspect ratio makes it.
        if (entry.path().stem() == "scene" || entry.path().stem() == "merged") {
            EXPECT_EQ(drawn.width, 800);
            EXPECT_EQ(drawn.height, 600);
        } else {
            EXPECT_EQ(drawn.width, 600);
            EXPECT_EQ(drawn.height, 451);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothReleases, PreviewTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
