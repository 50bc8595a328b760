// lumeno-host draw, with the real module of each release: a tag that paints nothing is refused
// and no picture is written; the material helper tag's preview is saved as a PNG that libpng
// reads back.
#include <png.h>

#include "e2e_fixture.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr const char* settingsDocument = R"({
  "objects": [{"type": "null", "name": "Studio", "tags": [{"type": "Lumeno Render Settings"}]}]
})";

constexpr const char* helperDocument = R"({
  "materials": [{"name": "Blue", "channels": {"0": {"on": true}}, "params": {"2100": [0.1, 0.2, 0.9]}}],
  "objects": [{"type": "null", "name": "Studio", "tags": [{"type": 10008, "params": {"1000": {"material": "Blue"}}}]}]
})";

class DrawTest : public HostCommandTest {};

TEST_P(DrawTest, TagThatDrawsNothingWritesNothingAndFails) {
    auto document = writeFile("doc.json", settingsDocument);
    auto picture = writeFile("old.png", "an earlier picture");
    RunResult result = run({"draw", document.string(), "--object", "Studio", "--tag", "10000", "-o", picture.string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("drew nothing"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(picture.string() + " was not written"), std::string::npos) << result.err;
    EXPECT_EQ(readFile(picture), "an earlier picture");
}

TEST_P(DrawTest, BadSizesAndMissingTagsAreRefusedByName) {
    auto document = writeFile("doc.json", settingsDocument);
    const std::string picture = (folder / "p.png").string();
    struct Case {
        std::vector<std::string> extra;
        std::string message;
    };
    for (const Case& c : {Case{{"--tag", "10000", "--size", "0x10"}, "--size 0x10: expected WIDTHxHEIGHT"},
                          Case{{"--tag", "10000", "--size", "64"}, "--size 64: expected"},
                          Case{{"--tag", "10000", "--size", "5000x5"}, "each 1 to 4096"},
                          Case{{"--tag", "Look"}, "has no tag \"Look\""}}) {
        std::vector<std::string> args{"draw", document.string(), "--object", "Studio", "-o", picture};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        RunResult result = run(args);
        EXPECT_EQ(result.status, 1) << c.message;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_FALSE(fs::exists(picture));
    }
}

TEST_P(DrawTest, HelperTagPreviewIsSavedAtTheAskedSize) {
    RunResult plugins = run({"plugins"});
    if (plugins.out.find("10008") == std::string::npos) GTEST_SKIP() << "the module registers no material helper tag";
    auto document = writeFile("doc.json", helperDocument);
    const fs::path picture = folder / "preview.png";
    RunResult result =
        run({"draw", document.string(), "--object", "Studio", "--tag", "10008", "--size", "60x40", "-o", picture.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, picture.c_str())) << image.message;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) << image.message;
    EXPECT_EQ(image.width, 60u);
    EXPECT_EQ(image.height, 40u);
    const uint8_t* middle = &rgb[(20 * 60 + 30) * 3];
    EXPECT_GT(middle[2], middle[0]) << "a blue sphere";
    const uint8_t* frame = &rgb[(1 * 60 + 1) * 3];
    EXPECT_EQ(frame[0], 244);
    EXPECT_EQ(frame[1], 255);
    EXPECT_EQ(frame[2], 108);
}

INSTANTIATE_TEST_SUITE_P(BothReleases, DrawTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
