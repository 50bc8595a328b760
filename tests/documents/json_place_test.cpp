// Places in a document file: the text of a place, and places that outlive, share and replace
// each other the way a document's pending links hold them.
#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "host/documents/document_error.h"
#include "host/documents/json_path.h"

namespace host {
namespace {

TEST(JsonPlaceTest, TextOfEachKindOfStep) {
    const JsonPlace objects("objects");
    const std::pair<JsonPlace, const char*> cases[] = {
        {JsonPlace(), ""},
        {objects.index(2).member("tags").index(0).member("material"), "objects[2].tags[0].material"},
        {objects.index(0).member("params").member("a key"), "objects[0].params[\"a key\"]"},
        {JsonPlace().member("view"), "view"},
        {JsonPlace("objects[1].children").index(3), "objects[1].children[3]"},
    };
    for (const auto& [place, text] : cases) EXPECT_EQ(place.text(), text);
}

TEST(JsonPlaceTest, APlaceKeepsWhatItStandsBelowWhateverGoesFirst) {
    std::optional<JsonPlace> object = JsonPlace("objects").index(7);
    JsonPlace link = object->member("tags").index(1).member("material");
    JsonPlace copy = link;
    object.reset();
    EXPECT_EQ(link.text(), "objects[7].tags[1].material");

    JsonPlace moved = std::move(link);
    EXPECT_EQ(link.text(), ""); // a moved place is the top of the document
    copy = moved; // the same place: neither is let go of
    const JsonPlace& same = copy;
    copy = same;
    EXPECT_EQ(copy.text(), "objects[7].tags[1].material");
    moved = JsonPlace("view").member("camera");
    EXPECT_EQ(moved.text(), "view.camera");
    EXPECT_EQ(copy.text(), "objects[7].tags[1].material");
}

TEST(JsonPlaceTest, AChainOfHalfAMillionStepsIsLetGoOfWithoutRecursionAndKeepsWhatIsHeld) {
    JsonPlace deepest = JsonPlace("objects").index(0);
    const JsonPlace second = deepest.member("children").index(1);
    deepest = second;
    for (int i = 0; i < 250000; ++i) deepest = deepest.member("children").index(0);
    deepest = JsonPlace(); // a recursive release would overflow the stack here
    EXPECT_EQ(second.text(), "objects[0].children[1]");
    EXPECT_EQ(deepest.text(), "");
}

// A message names a deep place by its ends; the error still holds the whole path.
TEST(JsonPlaceTest, AMessageShortensOnlyAPathOfMoreThanTwelveSteps) {
    auto chain = [](int levels) {
        std::string path = "objects[0]";
        for (int i = 1; i < levels; ++i) path += ".children[0]";
        return path + ".points";
    };
    const std::string twelve = chain(11);
    const std::string head = "objects[0].children[0].children[0].children[0]";
    const std::string tail = "children[0].children[0].children[0].points";
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {twelve, twelve},
        {chain(12), head + "...(5 steps)..." + tail},
        {chain(1000), head + "...(993 steps)..." + tail},
        // A quoted key is one step, whatever it holds.
        {R"(["a.b[c"].x.y.z.w.v.u.t.s.r.q.p.o)", R"(["a.b[c"].x.y.z...(5 steps)...r.q.p.o)"},
        {R"(a["k\"[.]"].b.c.d.e.f.g.h.i.j.k.l)", R"(a["k\"[.]"].b.c...(5 steps)...i.j.k.l)"},
    };
    for (const auto& [path, text] : cases) EXPECT_EQ(jsonpath::shown(path), text) << path;

    const DocumentError error("deep.json", chain(1000), "lists and objects nest deeper than 2000 levels");
    EXPECT_EQ(std::string(error.what()),
              "deep.json: " + head + "...(993 steps)..." + tail + ": lists and objects nest deeper than 2000 levels");
    EXPECT_EQ(error.jsonPath(), chain(1000));
}

} // namespace
} // namespace host
