#include <gtest/gtest.h>

#include "host/resources/string_table.h"
#include "host/resources/symbol_header.h"
#include "resource_fixture.h"

namespace host::test {
namespace {

using StringTableTest = ResourceFolder;

TEST_F(StringTableTest, ReadsTextsWithEscapesAndUtf8) {
    write("res/strings/module.str",
          "// the module's texts\n"
          "STRINGTABLE\n"
          "{\n"
          "    10000 \"Render \\\"Settings\\\"\"   // a trailing comment\n"
          "\n"
          "    10001 \"back\\\\slash\\ttab\\nline\"\n"
          "    10002 \"caf\\u00e9 and caf\xC3\xA9 // not a comment\"\n"
          "    10003 \"\"\n"
          "}\n");
    const StringTable table = loadModuleStrings(folder());
    EXPECT_EQ(table.size(), 4u);
    EXPECT_EQ(table.text(10000), "Render \"Settings\"");
    EXPECT_EQ(table.text(10001), "back\\slash\ttab\nline");
    EXPECT_EQ(table.text(10002), "caf\xC3\xA9 and caf\xC3\xA9 // not a comment");
    ASSERT_TRUE(table.find(10003).has_value());
    EXPECT_EQ(*table.find(10003), "");
    EXPECT_FALSE(table.find(10004).has_value());
    EXPECT_EQ(table.text(10004), "");
}

TEST_F(StringTableTest, MalformedFilesNameFileAndLine) {
    struct Case {
        const char* what;
        std::string content;
        int line;
        const char* problem;
    };
    const Case cases[] = {
        {"bad escape", "STRINGTABLE\n{\n  10000 \"a\\qb\"\n}\n", 3, "bad escape '\\q'"},
        {"short \\u escape", "STRINGTABLE\n{\n  10000 \"\\u12\"\n}\n", 3, "four hexadecimal digits"},
        {"surrogate escape", "STRINGTABLE\n{\n  10000 \"\\uD800\"\n}\n", 3, "surrogate"},
        {"duplicate ID", "STRINGTABLE\n{\n  10000 \"a\"\n  10000 \"b\"\n}\n", 4,
         "duplicate ID 10000 (first at line 3)"},
        {"missing closing brace", "STRINGTABLE\n{\n  10000 \"a\"\n", 1, "missing '}'"},
        {"missing opening brace", "STRINGTABLE\n  10000 \"a\"\n}\n", 1, "missing '{'"},
        {"symbol as key", "STRINGTABLE\n{\n  NAME \"a\"\n}\n", 3, "expected a numeric string ID"},
        {"unterminated string", "STRINGTABLE\n{\n  10000 \"a\n}\n", 3, "unterminated string"},
        {"invalid UTF-8", "STRINGTABLE\n{\n  10000 \"caf\xE9\"\n}\n", 3, "invalid UTF-8"},
        {"text on the next line", "STRINGTABLE\n{\n  10000\n  \"a\"\n}\n", 3, "missing the quoted text of 10000"},
        {"two texts", "STRINGTABLE\n{\n  10000 \"a\" \"b\"\n}\n", 3, "after the text of 10000"},
        {"text after the end", "STRINGTABLE\n{\n}\nSTRINGTABLE\n", 4, "after the end of the string table"},
        {"wrong head", "STRINGS\n{\n}\n", 1, "expected 'STRINGTABLE'"},
        {"stray character", "STRINGTABLE\n{\n  10000 @\"a\"\n}\n", 3, "unexpected character '@'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto file = write("res/strings/module.str", c.content);
        const ResourceError error = expectResourceError([&] { loadModuleStrings(folder()); });
        EXPECT_EQ(error.file(), file);
        EXPECT_EQ(error.line(), c.line);
        EXPECT_NE(error.problem().find(c.problem), std::string::npos) << error.what();
        EXPECT_EQ(std::string(error.what()).rfind(file.string() + ":" + std::to_string(c.line) + ": ", 0), 0u)
            << error.what();
    }
}

TEST_F(StringTableTest, MissingOrEmptyFileIsRefusedByName) {
    const auto file = folder() / "res" / "strings" / "module.str";
    const ResourceError missing = expectResourceError([&] { loadModuleStrings(folder()); });
    EXPECT_EQ(missing.file(), file);
    EXPECT_EQ(missing.line(), 0);
    EXPECT_EQ(std::string(missing.what()), file.string() + ": file not found");

    write("res/strings/module.str", "// nothing but a comment\n");
    const ResourceError empty = expectResourceError([&] { loadModuleStrings(folder()); });
    EXPECT_NE(empty.problem().find("holds no string table"), std::string::npos) << empty.what();
}

TEST_F(StringTableTest, LabelFileResolvesSymbolsOfItsHeader) {
    const auto header = write("res/description/Tdemo.h", "enum {\n  Tdemo = 7,\n  DEMO_A = 1000,\n};\n");
    const SymbolHeader symbols = loadSymbolHeader(header);
    const auto labels = write("res/strings/Tdemo.str", "STRINGTABLE Tdemo\n{\n  DEMO_A \"First\"\n}\n");
    const StringTable table = loadLabelFile(labels, "Tdemo", symbols);
    EXPECT_EQ(table.text(1000), "First");

    write("res/strings/Tdemo.str", "STRINGTABLE Tdemo\n{\n  DEMO_A \"First\"\n  DEMO_B \"Second\"\n}\n");
    const ResourceError undefined = expectResourceError([&] { loadLabelFile(labels, "Tdemo", symbols); });
    EXPECT_EQ(undefined.line(), 4);
    EXPECT_NE(undefined.problem().find("undefined symbol DEMO_B (not declared in Tdemo.h)"), std::string::npos);

    write("res/strings/Tdemo.str", "STRINGTABLE Tother\n{\n}\n");
    const ResourceError misnamed = expectResourceError([&] { loadLabelFile(labels, "Tdemo", symbols); });
    EXPECT_EQ(misnamed.line(), 1);
    EXPECT_NE(misnamed.problem().find("named Tother, expected Tdemo"), std::string::npos);
}

} // namespace
} // namespace host::test
