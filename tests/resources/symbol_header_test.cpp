#include <gtest/gtest.h>

#include "host/resources/symbol_header.h"
#include "resource_fixture.h"

namespace host::test {
namespace {

using SymbolHeaderTest = ResourceFolder;

TEST_F(SymbolHeaderTest, ReadsSymbolsInFileOrder) {
    const auto file = write("res/description/Tdemo.h",
                            "// IDs of the demo tag.\n"
                            "#ifndef TDEMO_H\n"
                            "#define TDEMO_H\n"
                            "enum Tdemo_ids {\n"
                            "    Tdemo = 10004,   // the plug-in\n"
                            "\n"
                            "    DEMO_WIDTH = 1004,\n"
                            "    DEMO_OFFSET = -2\n"
                            "};\n"
                            "#endif\n");
    const SymbolHeader header = loadSymbolHeader(file);
    ASSERT_EQ(header.symbols().size(), 3u);
    EXPECT_EQ(header.symbols()[0].name, "Tdemo");
    EXPECT_EQ(header.symbols()[0].line, 5);
    EXPECT_EQ(header.symbols()[1].name, "DEMO_WIDTH");
    EXPECT_EQ(header.symbols()[2].id, -2);
    EXPECT_EQ(header.find("DEMO_WIDTH"), 1004);
    EXPECT_FALSE(header.find("DEMO_HEIGHT").has_value());
    ASSERT_NE(header.byId(10004), nullptr);
    EXPECT_EQ(header.byId(10004)->name, "Tdemo");
    EXPECT_EQ(header.byId(1), nullptr);
}

TEST_F(SymbolHeaderTest, MalformedHeadersNameFileAndLine) {
    struct Case {
        const char* what;
        std::string content;
        int line;
        const char* problem;
    };
    const Case cases[] = {
        {"duplicate ID", "enum {\n  A = 1000,\n  B = 1000,\n};\n", 3, "duplicate ID 1000: B and A (line 2)"},
        {"duplicate symbol", "enum {\n  A = 1000,\n  A = 1001,\n};\n", 3, "duplicate symbol A (first at line 2)"},
        {"missing closing brace", "// ids\nenum {\n  A = 1000,\n", 2, "missing '};'"},
        {"missing semicolon", "enum {\n  A = 1000,\n}\n", 3, "missing ';'"},
        {"missing equals", "enum {\n  A 1000,\n};\n", 2, "expected '=' and an ID after A"},
        {"real as ID", "enum {\n  A = 12.5,\n};\n", 2, "must be a decimal integer"},
        {"ID past 32 bits", "enum {\n  A = 3000000000,\n};\n", 2, "must be a decimal integer"},
        {"missing comma", "enum {\n  A = 1\n  B = 2\n};\n", 2, "expected ',' after A = 1"},
        {"outside the enum", "A = 1;\n", 1, "outside the enum"},
        {"two enums", "enum {\n A = 1,\n};\nenum {\n B = 2,\n};\n", 4, "a second enum"},
        {"number as name", "enum {\n  1 = 2,\n};\n", 2, "expected a symbol name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto file = write("res/description/Tdemo.h", c.content);
        const ResourceError error = expectResourceError([&] { loadSymbolHeader(file); });
        EXPECT_EQ(error.file(), file);
        EXPECT_EQ(error.line(), c.line);
        EXPECT_NE(error.problem().find(c.problem), std::string::npos) << error.what();
    }
}

TEST_F(SymbolHeaderTest, HeaderWithoutEnumOrFileIsRefused) {
    const auto file = write("res/description/Tdemo.h", "#ifndef X\n#define X\n#endif\n");
    const ResourceError none = expectResourceError([&] { loadSymbolHeader(file); });
    EXPECT_EQ(std::string(none.what()), file.string() + ": holds no enum of IDs");

    const auto absent = folder() / "res" / "description" / "Tnone.h";
    const ResourceError missing = expectResourceError([&] { loadSymbolHeader(absent); });
    EXPECT_EQ(std::string(missing.what()), absent.string() + ": file not found");
}

} // namespace
} // namespace host::test
