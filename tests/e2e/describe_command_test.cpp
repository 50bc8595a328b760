// lumeno-host describe, with the real module of each release: the render-settings tag's panel as
// the application shows it, edits made as the application makes them, and the saved document.
#include <map>
#include <sstream>
#include <vector>

#include "e2e_fixture.h"

namespace e2e {
namespace {

/// One row of the panel: label, value and whether it is marked disabled.
struct Row {
    std::string label;
    std::string value;
    bool disabled = false;
};

/// The fields of a row: the texts between runs of two or more blanks.
std::vector<std::string> wideGapFields(const std::string& text) {
    std::vector<std::string> fields;
    size_t at = 0;
    while (at < text.size()) {
        size_t gap = text.find("  ", at);
        if (gap == std::string::npos) gap = text.size();
        fields.push_back(text.substr(at, gap - at));
        at = text.find_first_not_of(' ', gap);
        if (at == std::string::npos) break;
    }
    return fields;
}

bool isSymbol(const std::string& text) {
    if (text.empty() || text[0] < 'A' || text[0] > 'Z') return false;
    for (char c : text)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

/// The panel's rows by symbolic name. Rows are "  LABEL  SYMBOL  VALUE[  [disabled]]".
std::map<std::string, Row> panelRows(const std::string& out) {
    static const std::string disabledMark = "  [disabled]";
    std::map<std::string, Row> rows;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("  ", 0) != 0 || line.size() < 3 || line[2] == ' ') continue;
        bool disabled = line.size() > disabledMark.size() &&
                        line.compare(line.size() - disabledMark.size(), disabledMark.size(), disabledMark) == 0;
        if (disabled) line.resize(line.size() - disabledMark.size());
        std::vector<std::string> fields = wideGapFields(line.substr(2));
        if (fields.size() < 2 || fields.size() > 3 || !isSymbol(fields[1])) continue;
        rows[fields[1]] = Row{fields[0], fields.size() == 3 ? fields[2] : "", disabled};
    }
    return rows;
}

constexpr const char* taggedDocument = R"({
  "objects": [
    {"type": "null", "name": "Studio", "tags": [
      {"type": "texture"},
      {"type": "Lumeno Render Settings", "name": "Look"}]},
    {"type": "light", "name": "Sun", "position": [10, 20, 0]}
  ]
})";

class DescribeTest : public HostCommandTest {
protected:
    RunResult describe(const std::string& document, std::vector<std::string> extra = {}) {
        auto input = writeFile("doc.json", document);
        std::vector<std::string> args{"describe", input.string(), "--object", "Studio", "--tag", "10000"};
        args.insert(args.end(), extra.begin(), extra.end());
        return run(args);
    }
};

TEST_P(DescribeTest, FreshTagShowsEveryParameterWithItsCreationValue) {
    RunResult result = describe(taggedDocument);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.rfind("Tag \"Look\" (type 10000) on object \"Studio\"", 0), 0u) << result.out;
    auto rows = panelRows(result.out);
    EXPECT_EQ(rows.size(), 35u) << result.out;
    EXPECT_EQ(rows["LCFG_WIDTH"].value, "600");
    EXPECT_EQ(rows["LCFG_HALT_TIME"].value, "-1");
    EXPECT_EQ(rows["LCFG_MAX_NUM_CONSEC_REJECTIONS"].value, "1000");
    EXPECT_EQ(rows["LCFG_LOGGING"].value, "true");
    EXPECT_EQ(rows["LCFG_APERTURE_RADIUS"].value, "0.001");
    EXPECT_EQ(rows["LCFG_BACKGROUND_RADIANCE"].value, "0 0 0");
    EXPECT_EQ(rows["LCFG_SUN_OBJECT"].value, "(empty)");
    EXPECT_EQ(rows["LCFG_ENV_MAP_PATH"].value, "(none)");
    EXPECT_NE(rows["LCFG_TONEMAPPING_TYPE"].value.find("(1020)"), std::string::npos);
    EXPECT_NE(rows["LCFG_WHITE_BALANCE"].value.find("(3004)"), std::string::npos);
    EXPECT_FALSE(rows["LCFG_WIDTH"].label.empty());
    // Linear tone mapping: the post scale is shown but disabled, and only it.
    for (const auto& [symbol, row] : rows) EXPECT_EQ(row.disabled, symbol == "LCFG_POST_SCALE") << symbol;
    // Groups head their rows.
    EXPECT_NE(result.out.find("\nTone mapping\n"), std::string::npos);
}

TEST_P(DescribeTest, TagIsFoundByNameByPluginNameAndByDescriptionName) {
    for (const char* tag : {"Look", "Lumeno Render Settings", "Tlumenoconfig"}) {
        SCOPED_TRACE(tag);
        auto input = writeFile("doc.json", taggedDocument);
        RunResult result = run({"describe", input.string(), "--object", "Studio", "--tag", tag});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(panelRows(result.out).size(), 35u);
    }
}

TEST_P(DescribeTest, EditsChangeWhatThePanelShowsAndEnables) {
    RunResult result = describe(taggedDocument, {"--set", "LCFG_TONEMAPPING_TYPE=LCFG_TONEMAPPING_REINHARD", "--set",
                                                 "LCFG_ENV_MAP_TYPE=2003", "--set", "LCFG_SUN_OBJECT=Sun", "--set",
                                                 "LCFG_BACKGROUND_RADIANCE=0,0.2,0.2", "--set", "LCFG_TURBIDITY=3.5"});
    ASSERT_EQ(result.status, 0) << result.err;
    auto rows = panelRows(result.out);
    EXPECT_FALSE(rows["LCFG_POST_SCALE"].disabled);
    EXPECT_NE(rows["LCFG_TONEMAPPING_TYPE"].value.find("(1021)"), std::string::npos);
    // Latlong: the width is hidden, the rest of the map is shown.
    EXPECT_EQ(rows.count("LCFG_ENV_MAP_WIDTH"), 0u);
    EXPECT_EQ(rows.count("LCFG_ENV_MAP_PATH"), 1u);
    EXPECT_EQ(rows.count("LCFG_ENV_MAP_GAIN"), 1u);
    EXPECT_NE(rows["LCFG_ENV_MAP_TYPE"].value.find("(2003)"), std::string::npos);
    EXPECT_EQ(rows["LCFG_SUN_OBJECT"].value, "Sun");
    EXPECT_EQ(rows["LCFG_BACKGROUND_RADIANCE"].value, "0 0.2 0.2");
    EXPECT_EQ(rows["LCFG_TURBIDITY"].value, "3.5");
}

TEST_P(DescribeTest, EditThatChangesNothingLeavesTheMapHidden) {
    // Message 16 hides the map's entries; no value changed, so no 31 shows them again.
    RunResult result = describe(taggedDocument, {"--set", "LCFG_WIDTH=600"});
    ASSERT_EQ(result.status, 0) << result.err;
    auto rows = panelRows(result.out);
    EXPECT_EQ(rows.count("LCFG_ENV_MAP_TYPE"), 1u);
    for (const char* hidden : {"LCFG_ENV_MAP_PATH", "LCFG_ENV_MAP_WIDTH", "LCFG_ENV_MAP_GAIN"})
        EXPECT_EQ(rows.count(hidden), 0u) << hidden;
    EXPECT_EQ(rows.size(), 32u);
}

TEST_P(DescribeTest, StoredLatlongMapShowsTheWidthUntilTheTagIsTold) {
    // The tag's display state is not stored with the document.
    RunResult result = describe(R"({"objects": [{"type": "null", "name": "Studio", "tags": [
        {"type": 10000, "params": {"LCFG_ENV_MAP_TYPE": "LCFG_ENV_MAP_LATLONG"}}]}]})");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(panelRows(result.out).count("LCFG_ENV_MAP_WIDTH"), 1u);
}

TEST_P(DescribeTest, SavedDocumentLoadsBackToTheEditedValues) {
    auto saved = folder / "saved.json";
    RunResult edited = describe(taggedDocument, {"--set", "LCFG_WIDTH=1920", "--set", "LCFG_HALT_TIME=3600", "--set",
                                                 "LCFG_ENV_MAP_PATH=/maps/sky.hdr", "--set", "LCFG_SUN_OBJECT=Sun",
                                                 "--set", "LCFG_WHITE_BALANCE=LCFG_WHITE_BALANCE_F11", "--set",
                                                 "LCFG_POS_SIZE_MULTIPLIER=0.001", "-o", saved.string()});
    ASSERT_EQ(edited.status, 0) << edited.err;
    ASSERT_TRUE(std::filesystem::exists(saved));
    RunResult reloaded =
        run({"describe", saved.string(), "--object", "Studio", "--tag", "Lumeno Render Settings"});
    ASSERT_EQ(reloaded.status, 0) << reloaded.err;
    auto before = panelRows(edited.out);
    auto after = panelRows(reloaded.out);
    EXPECT_EQ(after["LCFG_WIDTH"].value, "1920");
    EXPECT_EQ(after["LCFG_HALT_TIME"].value, "3600");
    EXPECT_EQ(after["LCFG_ENV_MAP_PATH"].value, "/maps/sky.hdr");
    EXPECT_EQ(after["LCFG_SUN_OBJECT"].value, "Sun");
    EXPECT_NE(after["LCFG_WHITE_BALANCE"].value.find("(3012)"), std::string::npos);
    EXPECT_EQ(after["LCFG_POS_SIZE_MULTIPLIER"].value, "0.001");
    for (const auto& [symbol, row] : before) EXPECT_EQ(after[symbol].value, row.value) << symbol;
}

TEST_P(DescribeTest, RefusalsNameTheProblemAndSaveNothing) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    auto input = writeFile("doc.json", taggedDocument);
    auto saved = folder / "saved.json";
    const std::string doc = input.string();
    const Case cases[] = {
        {{"--object", "Studio", "--tag", "10000", "--set", "LCFG_WDTH=5"},
         "the tag declares no parameter \"LCFG_WDTH\" (did you mean LCFG_WIDTH?)"},
        {{"--object", "Studio", "--tag", "10000", "--set", "LCFG_WIDTH=wide"}, "LCFG_WIDTH=wide: expected a 32-bit integer"},
        {{"--object", "Studio", "--tag", "10000", "--set", "LCFG_LOGGING=maybe"}, "expected true or false"},
        {{"--object", "Studio", "--tag", "10000", "--set", "LCFG_SUN_OBJECT=Moon"}, "there is no object at \"Moon\""},
        {{"--object", "Studio", "--tag", "10000", "--set", "LCFG_WIDTH"}, "expected KEY=VALUE"},
        {{"--object", "Stduio", "--tag", "10000"}, "there is no object at \"Stduio\""},
        {{"--object", "Sun", "--tag", "10000"}, "the object \"Sun\" has no tag \"10000\" (it has no tags)"},
        {{"--object", "Studio", "--tag", "Missing"}, "has no tag \"Missing\" (its tags: unnamed (type 5616), \"Look\" (type 10000))"},
        {{"--object", "Studio", "--tag", "5616"}, "has no description to show"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"describe", doc};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), {"-o", saved.string()});
        SCOPED_TRACE(c.message);
        RunResult result = run(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_FALSE(std::filesystem::exists(saved));
    }
}

TEST_P(DescribeTest, LightTagShowsTheParametersOfTheSpectrumTypeItWasLastTold) {
    const std::string lamp = R"({"objects": [{"type": "light", "name": "Lamp", "params": {"LIGHT_KIND": 8},
        "tags": [{"type": "Lumeno Light"}]}]})";
    auto input = writeFile("lamp.json", lamp);
    struct Case {
        std::vector<std::string> edits;
        std::vector<const char*> shown; // besides the type and the size, always shown
    };
    const Case cases[] = {
        {{}, {"LLIGHT_PEAK_MIN", "LLIGHT_PEAK_WIDTH", "LLIGHT_BASE_VALUE", "LLIGHT_PEAK_VALUE"}},
        {{"--set", "LLIGHT_SPECTRUM_TYPE=LLIGHT_SPECTRUM_BLACKBODY"}, {"LLIGHT_TEMPERATURE", "LLIGHT_GAIN"}},
        {{"--set", "LLIGHT_SPECTRUM_TYPE=1103"}, {"LLIGHT_RGB"}},
        // An edit that changes nothing begins an edit but never tells the tag: all stay hidden.
        {{"--set", "LLIGHT_WIDTH=0.4"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edits.empty() ? "fresh" : c.edits.back());
        std::vector<std::string> args{"describe", input.string(), "--object", "Lamp", "--tag", "Lumeno Light"};
        args.insert(args.end(), c.edits.begin(), c.edits.end());
        RunResult result = run(args);
        ASSERT_EQ(result.status, 0) << result.err;
        auto rows = panelRows(result.out);
        EXPECT_EQ(rows.size(), 3u + c.shown.size()) << result.out;
        for (const char* always : {"LLIGHT_SPECTRUM_TYPE", "LLIGHT_WIDTH", "LLIGHT_HEIGHT"})
            EXPECT_EQ(rows.count(always), 1u) << always;
        for (const char* shown : c.shown)
            EXPECT_EQ(rows.count(shown), 1u) << shown;
    }
}

INSTANTIATE_TEST_SUITE_P(BothReleases, DescribeTest, ::testing::Values("9.0", "9.5"), releaseName);

} // namespace
} // namespace e2e
