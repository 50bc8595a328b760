#include <gtest/gtest.h>

#include <cstring>

#include "host/text/host_text.h"

namespace {

// "aé€😀": 1 + 2 + 3 + 4 bytes, four characters.
const std::string mixed = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";

TEST(Utf8, LengthCountsCharacters)
{
    EXPECT_EQ(host::utf8Length(""), 0);
    EXPECT_EQ(host::utf8Length("plain"), 5);
    EXPECT_EQ(host::utf8Length(mixed), 4);
    // A stray continuation byte and a cut-short sequence each count as one character.
    EXPECT_EQ(host::utf8Length("\x80x\xE2\x82"), 4);
}

TEST(Utf8, CopyCutsAtACharacterBoundary)
{
    char buffer[16];
    std::memset(buffer, 'Z', sizeof buffer);
    // Room for 3 bytes: "a" and "é" fit, the first byte of "€" would not be a whole character.
    EXPECT_EQ(host::copyToBuffer(mixed, buffer, 4), 3);
    EXPECT_STREQ(buffer, "a\xC3\xA9");

    // Room for 5 bytes: "€" needs 3 after the 3 used, so it is left out.
    EXPECT_EQ(host::copyToBuffer(mixed, buffer, 6), 3);
    EXPECT_STREQ(buffer, "a\xC3\xA9");

    EXPECT_EQ(host::copyToBuffer(mixed, buffer, 7), 6);
    EXPECT_EQ(host::copyToBuffer(mixed, buffer, 11), 10);
    EXPECT_EQ(std::string(buffer), mixed);

    EXPECT_EQ(host::copyToBuffer(mixed, buffer, 1), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(host::copyToBuffer(mixed, nullptr, 8), 0);
    EXPECT_EQ(host::copyToBuffer(mixed, buffer, 0), 0);
}

TEST(FileNames, PartsAndJoin)
{
    EXPECT_EQ(host::fileNamePart("/d/e/a.xml"), "a.xml");
    EXPECT_EQ(host::folderPart("/d/e/a.xml"), "/d/e");
    EXPECT_EQ(host::folderPart("/a.xml"), "/");
    EXPECT_EQ(host::folderPart("a.xml"), "");
    EXPECT_EQ(host::fileNamePart("a.xml"), "a.xml");
    EXPECT_EQ(host::joinPath("/d", "res"), "/d/res");
    EXPECT_EQ(host::joinPath("/d/", "/res"), "/d/res");
    EXPECT_EQ(host::joinPath("", "res"), "res");
}

} // namespace
