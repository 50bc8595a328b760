// Images, drawing surfaces and material previews through the function table, and a tag's Draw
// dispatched to the fake module's tag, which paints as the material helper tag does.
#include <gtest/gtest.h>

#include <unistd.h>

#include "host/model/build.h"
#include "host/model/copy.h"
#include "host/model/document.h"
#include "host/pictures/surface.h"
#include "host/plugins/plugin_tags.h"
#include "host/plugins/session.h"
#include "host/plugins/tag_draw.h"
#include "host_constants.h"
#include "tests/host/session/fake_module.h"

namespace {

namespace fs = std::filesystem;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

Rgb at(const host::IconImage& image, uint32_t x, uint32_t y)
{
    const uint32_t p = image.pixel(x, y);
    return {int(p >> 24), int((p >> 16) & 255), int((p >> 8) & 255)};
}

Rgb at(const HostSurface& surface, int32_t x, int32_t y)
{
    const uint8_t* p = &surface.picture.rgb[(static_cast<std::size_t>(y) * surface.picture.width + x) * 3];
    return {p[0], p[1], p[2]};
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::reset();
        host::SessionOptions options;
        options.prefsFile = fs::temp_directory_path() / ("lumeno-picture-" + std::to_string(::getpid()) + ".json");
        session = std::make_unique<host::Session>(options);
        t = session->table();
    }

    /// An image of the given pixels (one row per string of 'r', 'g', 'b', 'k', 'w').
    HostImage* image(const std::vector<std::string>& rows)
    {
        HostImage* made = t->image->create();
        EXPECT_TRUE(t->image->init(made, int32_t(rows[0].size()), int32_t(rows.size()), 24));
        for (uint32_t y = 0; y < rows.size(); ++y)
            for (uint32_t x = 0; x < rows[y].size(); ++x) {
                uint8_t* p = &made->pixels->rgba[(y * rows[0].size() + x) * 4];
                const char c = rows[y][x];
                p[0] = (c == 'r' || c == 'w') ? 255 : 0;
                p[1] = (c == 'g' || c == 'w') ? 255 : 0;
                p[2] = (c == 'b' || c == 'w') ? 255 : 0;
            }
        return made;
    }

    std::unique_ptr<host::Session> session;
    const HostTable* t = nullptr;
};

TEST_F(PictureTest, ImagesAreMadeOnlyAt24BitsAndOfASensibleSize)
{
    HostImage* made = t->image->create();
    EXPECT_EQ(t->image->width(made), 0) << "no pixels before init";
    struct Ask {
        int32_t w, h, depth;
        bool made;
    };
    for (const Ask& ask : {Ask{4, 3, 32, false}, Ask{0, 3, 24, false}, Ask{4, -1, 24, false},
                           Ask{100000, 100000, 24, false}, Ask{4, 3, 24, true}}) {
        EXPECT_EQ(t->image->init(made, ask.w, ask.h, ask.depth), ask.made) << ask.w << "x" << ask.h << "@" << ask.depth;
    }
    EXPECT_EQ(t->image->width(made), 4);
    EXPECT_EQ(t->image->height(made), 3);
    EXPECT_EQ(at(*made->pixels, 3, 2), (Rgb{0, 0, 0})) << "a new image is black";
    EXPECT_EQ(made->pixels->pixel(0, 0) & 255, 255u) << "and opaque";
    t->image->free(made);
    EXPECT_EQ(session->liveHandles(), 0);
}

TEST_F(PictureTest, ScalingInterpolatesAveragesOrTakesTheNearest)
{
    HostImage* redBlue = image({"rb"});
    HostImage* wide = image({"kkkk"});
    t->image->scale(redBlue, wide, 256, 0, 0);
    EXPECT_EQ(at(*wide->pixels, 0, 0), (Rgb{255, 0, 0})) << "the ends keep their colours";
    EXPECT_EQ(at(*wide->pixels, 1, 0), (Rgb{191, 0, 64})) << "between them, interpolated";
    EXPECT_EQ(at(*wide->pixels, 3, 0), (Rgb{0, 0, 255}));
    t->image->scale(redBlue, wide, 0, 0, 0);
    EXPECT_EQ(at(*wide->pixels, 1, 0), (Rgb{255, 0, 0})) << "not smooth: the nearest pixel";
    EXPECT_EQ(at(*wide->pixels, 2, 0), (Rgb{0, 0, 255}));

    HostImage* checker = image({"wkwk", "kwkw", "wkwk", "kwkw"});
    HostImage* one = image({"r"});
    t->image->scale(checker, one, 256, 0, 0);
    EXPECT_EQ(at(*one->pixels, 0, 0), (Rgb{128, 128, 128})) << "shrinking averages what it covers";
    for (HostImage* i : {redBlue, wide, checker, one})
        t->image->free(i);
    EXPECT_EQ(session->liveHandles(), 0);
}

TEST_F(PictureTest, SurfacesDrawImagesAndRectangleOutlines)
{
    HostSurface surface = host::makeSurface(6, 5);
    EXPECT_TRUE(t->surface->is_valid(&surface));
    EXPECT_EQ(t->surface->width(&surface), 6);
    EXPECT_EQ(t->surface->height(&surface), 5);
    HostSurface none;
    EXPECT_FALSE(t->surface->is_valid(&none));
    EXPECT_FALSE(t->surface->is_valid(nullptr));

    t->surface->set_colour(&surface, 255, 0, 0, 255);
    t->surface->rectangle(&surface, 0, 0, 5, 4);
    EXPECT_FALSE(host::surfacePainted(surface)) << "shapes only between begin and end";

    HostImage* green = image({"ggggggggg", "ggggggggg"}); // wider than the surface: clipped
    t->surface->draw_image(&surface, green, 128);
    EXPECT_EQ(surface.lastImageMode, 128);
    t->surface->begin(&surface);
    t->surface->set_colour(&surface, 300, 0, -5, 255); // held to 255, 0, 0
    t->surface->rectangle(&surface, 4, 3, 1, 1);       // corners in either order
    t->surface->set_colour(&surface, 0, 0, 255, 128);
    t->surface->rectangle(&surface, -100000, 4, 100000, 4); // a line, far beyond the sides
    t->surface->end(&surface);

    EXPECT_EQ(at(surface, 0, 0), (Rgb{0, 255, 0})) << "the image at the top left";
    EXPECT_EQ(at(surface, 0, 2), (Rgb{0, 0, 0})) << "and no further down than it is tall";
    EXPECT_EQ(at(surface, 1, 1), (Rgb{255, 0, 0})) << "corners included";
    EXPECT_EQ(at(surface, 4, 3), (Rgb{255, 0, 0}));
    EXPECT_EQ(at(surface, 4, 2), (Rgb{255, 0, 0})) << "right edge";
    EXPECT_EQ(at(surface, 2, 2), (Rgb{0, 0, 0})) << "an outline, not filled";
    EXPECT_EQ(at(surface, 3, 4), (Rgb{0, 0, 128})) << "half alpha over black";
    EXPECT_TRUE(host::surfacePainted(surface));
    t->image->free(green);
}

TEST_F(PictureTest, MaterialPreviewIsKeptWithTheMaterialAndFollowsItsColour)
{
    auto doc = host::createDocument();
    HostNode* red = host::makeMaterial(*doc, "Red");
    red->params.setVector(2100, {1, 0, 0});
    const HostImage* preview = t->image->material_preview(red, 0);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(t->image->width(preview), t->image->height(preview));
    const uint32_t mid = uint32_t(t->image->width(preview)) / 2;
    const Rgb grey = at(*preview->pixels, mid, mid);
    EXPECT_TRUE(grey.r == grey.g && grey.g == grey.b && grey.r > 60) << "channel 0 off: a grey sphere";
    EXPECT_EQ(t->image->material_preview(red, 0), preview) << "kept, not made again";

    host::channel(*red, 0).enabled = true;
    EXPECT_EQ(t->image->material_preview(red, 0), preview) << "the same image, lent";
    const Rgb lit = at(*preview->pixels, mid, mid);
    EXPECT_GT(lit.r, 60);
    EXPECT_EQ(lit.g, 0);
    EXPECT_EQ(lit.b, 0);
    const Rgb corner = at(*preview->pixels, 1, 1);
    EXPECT_TRUE(corner.r == corner.g && corner.g == corner.b) << "the backdrop around it";

    host::channel(*red, 9).enabled = true;
    red->params.setReal(3101, 0.2f);
    t->image->material_preview(red, 0);
    Rgb brightest{0, 0, 0};
    for (uint32_t y = 0; y < preview->pixels->height; ++y)
        for (uint32_t x = 0; x < preview->pixels->width; ++x) {
            const Rgb p = at(*preview->pixels, x, y);
            if (p.r + p.g + p.b > brightest.r + brightest.g + brightest.b)
                brightest = p;
        }
    EXPECT_GT(brightest.g, 200) << "channel 9: a white highlight";

    auto copy = host::copyDocument(*doc);
    const HostImage* copied = t->image->material_preview(host::firstMaterial(*copy), 0);
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, preview) << "a copy has its own picture";
    EXPECT_EQ(copied->pixels->rgba, preview->pixels->rgba);
    EXPECT_EQ(t->image->material_preview(doc.get(), 0), nullptr) << "a document is no material";
    EXPECT_EQ(session->liveHandles(), 0) << "a lent preview is not the module's to free";
}

TEST_F(PictureTest, ATagsDrawPaintsOnTheSurfaceOrAnswersFalse)
{
    session->attachModule(fake::c4d_main, fs::path(LUMENO_SOURCE_DIR) / "LumenoExporter.so");
    ASSERT_EQ(session->startModule(), C4D_RESULT_OK);
    {
        auto doc = host::createDocument();
        HostNode* cube = host::makeObject(*doc, TYPE_CUBE, "Cube");
        HostNode* tag = host::addPluginTag(session->registry(), *cube, fake::TAG_ID);

        HostSurface empty = host::makeSurface(16, 16);
        host::DrawResult result = host::drawTag(*tag, empty);
        EXPECT_FALSE(result.answered) << "no material linked";
        EXPECT_FALSE(result.painted);

        HostNode* blue = host::makeMaterial(*doc, "Blue");
        host::channel(*blue, 0).enabled = true;
        blue->params.setVector(2100, {0, 0, 1});
        tag->params.setLink(fake::TAG_MATERIAL_LINK, blue);
        HostSurface surface = host::makeSurface(40, 30);
        result = host::drawTag(*tag, surface);
        EXPECT_TRUE(result.answered);
        EXPECT_TRUE(result.painted);
        EXPECT_EQ(at(surface, 1, 1), (Rgb{244, 255, 108})) << "the frame";
        EXPECT_EQ(at(surface, 38, 28), (Rgb{244, 255, 108}));
        const Rgb middle = at(surface, 20, 15);
        EXPECT_GT(middle.b, 60) << "the preview, scaled to the surface";
        EXPECT_EQ(middle.r, 0);
        EXPECT_FALSE(surface.drawing) << "drawing ends with the Draw";
    }
    EXPECT_EQ(session->liveHandles(), 0);
}

} // namespace
