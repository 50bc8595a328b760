#include <gtest/gtest.h>

#include "host/resources/description_resource.h"
#include "resource_fixture.h"

namespace host::test {
namespace {

const char* const kHeader =
    "enum {\n"
    "    Tdemo = 10004,\n"
    "    DEMO_GROUP_MAIN = 9001,\n"
    "    DEMO_GROUP_INNER = 9002,\n"
    "    DEMO_ON = 1000,\n"
    "    DEMO_COUNT = 1001,\n"
    "    DEMO_GAIN = 1002,\n"
    "    DEMO_COLOUR = 1003,\n"
    "    DEMO_FILE = 1004,\n"
    "    DEMO_TARGET = 1005,\n"
    "    DEMO_MODE = 1100,\n"
    "    DEMO_MODE_FAST = 1101,\n"
    "    DEMO_MODE_GOOD = 1102,\n"
    "    DEMO_LOOSE = 2000,\n"
    "};\n";

const char* const kLabels =
    "STRINGTABLE Tdemo\n"
    "{\n"
    "    DEMO_GROUP_MAIN \"Main\"\n"
    "    DEMO_GROUP_INNER \"Inner\"\n"
    "    DEMO_ON \"On\"\n"
    "    DEMO_COUNT \"Count\"\n"
    "    DEMO_GAIN \"Gain\"\n"
    "    DEMO_COLOUR \"Colour\"\n"
    "    DEMO_FILE \"File\"\n"
    "    DEMO_TARGET \"Target\"\n"
    "    DEMO_MODE \"Mode\"\n"
    "    DEMO_MODE_FAST \"Fast\"\n"
    "    DEMO_MODE_GOOD \"Good\"\n"
    "    DEMO_LOOSE \"Loose\"\n"
    "}\n";

// Every type, a nested group, a parameter outside any group, braces on their own line and at
// the end of a line.
const char* const kDescription =
    "// demo\n"
    "DESCRIPTION Tdemo\n"
    "{\n"
    "    GROUP DEMO_GROUP_MAIN {\n"
    "        BOOL DEMO_ON\n"
    "        LONG DEMO_COUNT MIN 1 MAX 10\n"
    "        REAL DEMO_GAIN MAX 2.5\n"
    "        CHOICE DEMO_MODE\n"
    "        {\n"
    "            DEMO_MODE_GOOD\n"
    "            DEMO_MODE_FAST\n"
    "        }\n"
    "        GROUP DEMO_GROUP_INNER\n"
    "        {\n"
    "            VECTOR DEMO_COLOUR\n"
    "            FILENAME DEMO_FILE\n"
    "        }\n"
    "        LINK DEMO_TARGET\n"
    "    }\n"
    "    BOOL DEMO_LOOSE\n"
    "}\n";

class DescriptionTest : public ResourceFolder {
protected:
    void writeAll(const std::string& description) {
        write("res/description/Tdemo.h", kHeader);
        write("res/strings/Tdemo.str", kLabels);
        resFile_ = write("res/description/Tdemo.res", description);
    }
    std::filesystem::path resFile_;
};

TEST_F(DescriptionTest, ListsParametersInResourceOrderWithTypesGroupsAndLabels) {
    writeAll(kDescription);
    const DescriptionResource d = loadDescription(folder(), "Tdemo");
    EXPECT_EQ(d.name(), "Tdemo");
    EXPECT_EQ(d.id(), 10004);

    struct Expected {
        int32_t id;
        const char* symbol;
        ParameterType type;
        const char* label;
        const char* group;
    };
    const Expected expected[] = {
        {1000, "DEMO_ON", ParameterType::Bool, "On", "DEMO_GROUP_MAIN"},
        {1001, "DEMO_COUNT", ParameterType::Long, "Count", "DEMO_GROUP_MAIN"},
        {1002, "DEMO_GAIN", ParameterType::Real, "Gain", "DEMO_GROUP_MAIN"},
        {1100, "DEMO_MODE", ParameterType::Choice, "Mode", "DEMO_GROUP_MAIN"},
        {1003, "DEMO_COLOUR", ParameterType::Vector, "Colour", "DEMO_GROUP_INNER"},
        {1004, "DEMO_FILE", ParameterType::Filename, "File", "DEMO_GROUP_INNER"},
        {1005, "DEMO_TARGET", ParameterType::Link, "Target", "DEMO_GROUP_MAIN"},
        {2000, "DEMO_LOOSE", ParameterType::Bool, "Loose", ""},
    };
    ASSERT_EQ(d.parameters().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].symbol);
        const DescriptionParameter& p = d.parameters()[i];
        EXPECT_EQ(p.id, expected[i].id);
        EXPECT_EQ(p.symbol, expected[i].symbol);
        EXPECT_EQ(p.type, expected[i].type);
        EXPECT_EQ(p.label, expected[i].label);
        EXPECT_EQ(p.group, expected[i].group);
    }

    const DescriptionParameter* mode = d.find(1100);
    ASSERT_NE(mode, nullptr);
    ASSERT_EQ(mode->choices.size(), 2u);
    EXPECT_EQ(mode->choices[0].code, 1102);
    EXPECT_EQ(mode->choices[0].symbol, "DEMO_MODE_GOOD");
    EXPECT_EQ(mode->choices[0].label, "Good");
    EXPECT_EQ(mode->choices[1].code, 1101);
    EXPECT_EQ(mode->choices[1].label, "Fast");

    const DescriptionParameter* count = d.findParameter("DEMO_COUNT");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->min, 1.0);
    EXPECT_EQ(count->max, 10.0);
    EXPECT_FALSE(d.find(1002)->min.has_value());
    EXPECT_EQ(d.find(1002)->max, 2.5);

    ASSERT_EQ(d.groups().size(), 2u);
    EXPECT_EQ(d.groups()[0].symbol, "DEMO_GROUP_MAIN");
    EXPECT_EQ(d.groups()[0].label, "Main");
    EXPECT_EQ(d.groups()[0].parent, "");
    EXPECT_EQ(d.groups()[1].id, 9002);
    EXPECT_EQ(d.groups()[1].parent, "DEMO_GROUP_MAIN");

    EXPECT_EQ(d.findSymbol("DEMO_GAIN"), 1002);
    EXPECT_EQ(d.findSymbol("DEMO_MODE_FAST"), 1101); // choice codes are symbols too
    EXPECT_FALSE(d.findSymbol("DEMO_NONE").has_value());
    EXPECT_EQ(d.find(1101), nullptr); // but not parameters
    EXPECT_EQ(d.find(9001), nullptr);
}

TEST_F(DescriptionTest, MalformedDescriptionsNameFileAndLine) {
    struct Case {
        const char* what;
        std::string body; // the lines inside DESCRIPTION Tdemo { ... }, starting at line 3
        int line;
        const char* problem;
    };
    const Case cases[] = {
        {"unknown type", "    INTEGER DEMO_COUNT\n", 3, "unknown parameter type 'INTEGER'"},
        {"undefined symbol", "    BOOL DEMO_ON\n    BOOL DEMO_OFF\n", 4, "undefined symbol DEMO_OFF (not declared in Tdemo.h)"},
        {"duplicate ID", "    BOOL DEMO_ON\n    LONG DEMO_COUNT\n    BOOL DEMO_ON\n", 5,
         "duplicate ID 1000: DEMO_ON is already declared at line 3"},
        {"group reusing a parameter's ID", "    BOOL DEMO_ON\n    GROUP DEMO_ON\n    {\n    }\n", 4, "duplicate ID 1000"},
        {"missing opening brace of a group", "    GROUP DEMO_GROUP_MAIN\n        BOOL DEMO_ON\n    }\n", 3,
         "missing '{' after GROUP DEMO_GROUP_MAIN"},
        {"duplicate choice code", "    CHOICE DEMO_MODE\n    {\n        DEMO_MODE_FAST\n        DEMO_MODE_FAST\n    }\n", 6,
         "duplicate choice code 1101 in DEMO_MODE (first at line 5)"},
        {"empty choice", "    CHOICE DEMO_MODE\n    {\n    }\n", 3, "CHOICE DEMO_MODE lists no choices"},
        {"undefined choice", "    CHOICE DEMO_MODE\n    {\n        DEMO_MODE_SLOW\n    }\n", 5, "undefined symbol DEMO_MODE_SLOW"},
        {"range on a boolean", "    BOOL DEMO_ON MIN 0\n", 3, "MIN is allowed only on LONG and REAL, not on BOOL"},
        {"unknown option", "    REAL DEMO_GAIN STEP 0.1\n", 3, "unknown option 'STEP' of DEMO_GAIN"},
        {"fractional bound of a LONG", "    LONG DEMO_COUNT MIN 1.5\n", 3, "MIN of DEMO_COUNT must be an integer"},
        {"bound without number", "    REAL DEMO_GAIN MAX\n", 3, "MAX of DEMO_GAIN needs a number"},
        {"MIN above MAX", "    REAL DEMO_GAIN MIN 2 MAX 1\n", 3, "MIN of DEMO_GAIN is greater than its MAX"},
        {"missing symbol", "    VECTOR\n", 3, "missing the symbol after VECTOR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeAll("DESCRIPTION Tdemo\n{\n" + c.body + "}\n");
        const ResourceError error = expectResourceError([&] { loadDescription(folder(), "Tdemo"); });
        EXPECT_EQ(error.file(), resFile_);
        EXPECT_EQ(error.line(), c.line);
        EXPECT_NE(error.problem().find(c.problem), std::string::npos) << error.what();
    }
}

TEST_F(DescriptionTest, FrameOfTheFileIsChecked) {
    struct Case {
        const char* what;
        std::string content;
        int line;
        const char* problem;
    };
    const Case cases[] = {
        {"missing final brace", "DESCRIPTION Tdemo\n{\n    BOOL DEMO_ON\n", 1, "missing '}' to close DESCRIPTION Tdemo"},
        {"missing brace of a group", "DESCRIPTION Tdemo\n{\n    GROUP DEMO_GROUP_MAIN\n    {\n        BOOL DEMO_ON\n", 3,
         "missing '}' to close GROUP DEMO_GROUP_MAIN opened here"},
        {"other name", "DESCRIPTION Tother\n{\n}\n", 1, "description is named Tother, expected Tdemo"},
        {"text after the end", "DESCRIPTION Tdemo\n{\n}\nBOOL DEMO_ON\n", 4, "after the end of the description"},
        {"no description", "// nothing\n", 0, "holds no description"},
        {"brace with trailing text", "DESCRIPTION Tdemo\n{\n} x\n", 3, "after '}'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeAll(c.content);
        const ResourceError error = expectResourceError([&] { loadDescription(folder(), "Tdemo"); });
        EXPECT_EQ(error.file(), resFile_);
        EXPECT_EQ(error.line(), c.line);
        EXPECT_NE(error.problem().find(c.problem), std::string::npos) << error.what();
    }
}

TEST_F(DescriptionTest, MissingLabelIsReportedWhereTheSymbolIsUsed) {
    writeAll(kDescription);
    write("res/strings/Tdemo.str", "STRINGTABLE Tdemo\n{\n    DEMO_ON \"On\"\n}\n");
    const ResourceError error = expectResourceError([&] { loadDescription(folder(), "Tdemo"); });
    EXPECT_EQ(error.file(), resFile_);
    EXPECT_EQ(error.line(), 4); // GROUP DEMO_GROUP_MAIN, the first symbol without a label
    EXPECT_EQ(error.problem(), "DEMO_GROUP_MAIN has no label in Tdemo.str");
}

TEST_F(DescriptionTest, EachMissingFileIsNamed) {
    writeAll(kDescription);
    const auto dir = folder() / "res";
    for (const auto& file : {dir / "strings" / "Tdemo.str", dir / "description" / "Tdemo.res",
                             dir / "description" / "Tdemo.h"}) {
        SCOPED_TRACE(file.string());
        std::filesystem::remove(file);
        const ResourceError error = expectResourceError([&] { loadDescription(folder(), "Tdemo"); });
        EXPECT_EQ(std::string(error.what()), file.string() + ": file not found");
    }
}

TEST_F(DescriptionTest, HeaderMustDeclareTheDescriptionsOwnId) {
    writeAll(kDescription);
    const auto header = write("res/description/Tdemo.h", "enum {\n    DEMO_ON = 1000,\n};\n");
    const ResourceError error = expectResourceError([&] { loadDescription(folder(), "Tdemo"); });
    EXPECT_EQ(error.file(), header);
    EXPECT_NE(error.problem().find("does not declare the description's own ID Tdemo"), std::string::npos);
}

} // namespace
} // namespace host::test
