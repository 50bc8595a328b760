// The quick reader against the JSON library: wherever it finishes, it handed over exactly the
// library's events; wherever it is unsure, the library takes over. Checked over hand-picked texts
// and over thousands of damaged copies of a real document.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "host/documents/quick_json.h"

namespace {

/// Writes every event down as text, numbers with their kind and exact value.
class Recorder : public nlohmann::json_sax<host::JsonTree> {
public:
    std::vector<std::string> events;
    std::string refusedKey; // the receiver says no to this key, as a reader of duplicates would

    bool null() override { return note("null"); }
    bool boolean(bool value) override { return note(value ? "true" : "false"); }
    bool number_integer(number_integer_t value) override { return note("int " + std::to_string(value)); }
    bool number_unsigned(number_unsigned_t value) override { return note("unsigned " + std::to_string(value)); }
    bool number_float(number_float_t value, const string_t& text) override {
        char exact[64];
        std::snprintf(exact, sizeof exact, "%a", value);
        return note("real " + std::string(exact) + " " + text);
    }
    bool string(string_t& value) override { return note("string " + value); }
    bool binary(binary_t&) override { return note("binary"); }
    bool start_object(std::size_t) override { return note("{"); }
    bool key(string_t& name) override { return note("key " + name) && name != refusedKey; }
    bool end_object() override { return note("}"); }
    bool start_array(std::size_t) override { return note("["); }
    bool end_array() override { return note("]"); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return note("error");
    }

private:
    bool note(std::string event) {
        events.push_back(std::move(event));
        return true;
    }
};

/// Checks one text: what the quick reader answers, and that it agrees with the library.
host::QuickScan checkAgainstLibrary(const std::string& text, const std::string& refusedKey = {}) {
    Recorder quick, library;
    quick.refusedKey = library.refusedKey = refusedKey;
    const host::QuickScan scan = host::scanPlainJson(text, quick);
    const bool parsed = host::JsonTree::sax_parse(text, &library);
    if (scan == host::QuickScan::Finished) {
        EXPECT_TRUE(parsed) << "the quick reader took text the library refuses";
        EXPECT_EQ(quick.events, library.events);
    } else if (scan == host::QuickScan::Stopped) {
        EXPECT_FALSE(parsed);
        EXPECT_EQ(quick.events, library.events) << "stopped at another place than the library";
    }
    return scan;
}

const char* const document = R"({
  "document": {"name": "Caf\u00e9 \ud834\udd1e", "path": "/tmp"},
  "materials": [{"name": "Glänzend ✓ 𝄞", "channels": {"1": {"colour": [1, 0.5, 0.25]}}}],
  "objects": [
    {"type": "polygon", "name": "box \"one\"\n\t/\\", "position": [-0, 1.5e3, -2.25E-2],
     "points": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "polygons": [[0, 1, 2]],
     "params": {"903": 18446744073709551615, "904": -9223372036854775808, "905": 18446744073709551616,
                "906": -9223372036854775809, "907": 1e-300, "908": true, "909": false, "910": null},
     "children": [{"type": "null", "children": [], "tags": [{}]}]}
  ]
}
)";

TEST(QuickJson, PlainTextGivesTheLibrarysEventsAndAnythingElseIsLeftToIt) {
    const struct {
        std::string text;
        host::QuickScan expected;
    } cases[] = {
        {document, host::QuickScan::Finished},
        {R"(["\u0000 \u00e9 \u20AC \ud834\udd1e"])", host::QuickScan::Finished},
        {R"(["\ud834"])", host::QuickScan::Unsure},
        {R"(["\udd1e\ud834"])", host::QuickScan::Unsure},
        {R"(["\u12G4"])", host::QuickScan::Unsure},
        {R"(["\x"])", host::QuickScan::Unsure},
        {"  [1, -1, 0.1, 1e2, 123456789012345678901234567890, \"\", {}, [], [[]]]  ", host::QuickScan::Finished},
        // Integers on either side of the digits read without the library's number parser.
        {"[999999999999999999, -999999999999999999, 1000000000000000000, -1000000000000000000, -0]",
         host::QuickScan::Finished},
        {"3", host::QuickScan::Finished},
        {"{\"a\": 1, \"a\": 2}", host::QuickScan::Finished},
        {"", host::QuickScan::Unsure},
        {"\xEF\xBB\xBF{}", host::QuickScan::Unsure},
        {"[1,]", host::QuickScan::Unsure},
        {"[01]", host::QuickScan::Unsure},
        {"[1.]", host::QuickScan::Unsure},
        {"[-]", host::QuickScan::Unsure},
        {"[1e400]", host::QuickScan::Unsure},
        {"[truex]", host::QuickScan::Unsure},
        {"{\"a\" 1}", host::QuickScan::Unsure},
        {"{\"a\": 1} {}", host::QuickScan::Unsure},
        {"[\"tab\there\"]", host::QuickScan::Unsure},
        {"[\"\xC0\x80\"]", host::QuickScan::Unsure},    // an overlong form
        {"[\"\xED\xA0\x80\"]", host::QuickScan::Unsure}, // a surrogate in UTF-8
        {"[\"\xF4\x90\x80\x80\"]", host::QuickScan::Unsure},
        {"[\"\xE2\x82\"]", host::QuickScan::Unsure},
        {std::string(3000, '[') + std::string(3000, ']'), host::QuickScan::Finished},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 80));
        EXPECT_EQ(checkAgainstLibrary(c.text), c.expected);
    }
    EXPECT_EQ(checkAgainstLibrary("{\"a\": {\"b\": 1, \"c\": [2]}, \"d\": 3}", "c"), host::QuickScan::Stopped);
}

TEST(QuickJson, DamagedDocumentsNeverPassWhereTheLibraryWouldRefuse) {
    const std::string plain = document;
    const std::string alphabet = "{}[],:\"\\ -+.eE0123456789abcdftnulx\x80\xC3\xE2\xF0\t\n";
    std::mt19937 random(20261208);
    int finished = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string text = plain;
        for (int edit = 1 + int(random() % 3); edit > 0; --edit) {
            const std::size_t at = random() % text.size();
            switch (random() % 3) {
            case 0: text[at] = alphabet[random() % alphabet.size()]; break;
            case 1: text.erase(at, 1 + random() % 4); break;
            default: text.insert(at, 1, alphabet[random() % alphabet.size()]); break;
            }
        }
        SCOPED_TRACE(text);
        finished += checkAgainstLibrary(text) == host::QuickScan::Finished;
        if (::testing::Test::HasFailure()) break;
    }
    EXPECT_GT(finished, 100) << finished; // the edits that keep the text valid: the quick way took them
}

} // namespace
