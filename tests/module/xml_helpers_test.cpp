// The scene file's value forms and element building.
#include <clocale>
#include <string>

#include <gtest/gtest.h>
#include <tinyxml.h>

#include "export/matrix_helpers.h"
#include "export/xml_helpers.h"

namespace {

TEST(ValueForms, RealsHaveSixDecimalsAndNoExponent) {
    EXPECT_STREQ(RealText(0.0001f).text, "0.000100");
    EXPECT_STREQ(RealText(1e-7f).text, "0.000000");
    EXPECT_STREQ(RealText(123456.5f).text, "123456.500000");
    EXPECT_STREQ(RealText(0.01f).text, "0.010000");
    EXPECT_STREQ(RealText(-2.5f).text, "-2.500000");
}

TEST(ValueForms, IntegersAndBooleans) {
    EXPECT_STREQ(IntegerText(8).text, "8");
    EXPECT_STREQ(IntegerText(-1).text, "-1");
    EXPECT_STREQ(BoolText(true), "true");
    EXPECT_STREQ(BoolText(false), "false");
}

TEST(ValueForms, PointsSwapTheSecondAndThirdAxisAndScale) {
    EXPECT_STREQ(PointText(HostVector{1, 2, 3}, 0.01f).text, "0.010000 0.030000 0.020000");
    EXPECT_STREQ(PointText(HostVector{100, 200, 300}, 0.01f).text, "1.000000 3.000000 2.000000");
}

TEST(ValueForms, DirectionsSwapButDoNotScaleAndColoursKeepTheirOrder) {
    EXPECT_STREQ(DirectionText(HostVector{0, 1, 0}).text, "0.000000 0.000000 1.000000");
    EXPECT_STREQ(VectorText(HostVector{0.8f, 0.2f, 0.1f}).text, "0.800000 0.200000 0.100000");
}

TEST(ValueForms, NumbersUseAPointWhateverTheProcessLocale) {
    const char* chosen = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
        if ((chosen = std::setlocale(LC_ALL, name))) break;
    if (!chosen) GTEST_SKIP() << "no locale with a decimal comma is installed";
    std::string real = RealText(0.5f).text;
    std::string vector = VectorText(HostVector{0.5f, 1.5f, 2.5f}).text;
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(real, "0.500000");
    EXPECT_EQ(vector, "0.500000 1.500000 2.500000");
}

TEST(ValueForms, FormatCReportsACutText) {
    char small[6];
    EXPECT_FALSE(FormatC(small, sizeof small, "%f", 1.0));
    EXPECT_STREQ(small, "1.000");
    char enough[16];
    EXPECT_TRUE(FormatC(enough, sizeof enough, "%s.%d.3DS", "a", 7));
    EXPECT_STREQ(enough, "a.7.3DS");
}

TEST(ValueForms, NormalizedZeroVectorIsWrittenAsZeros) {
    EXPECT_STREQ(DirectionText(NormalizeVector(HostVector{0, 0, 0})).text,
                 "0.000000 0.000000 0.000000");
    // A sun at (10, 20, 0) points along the unit vector, written x, z, y.
    EXPECT_STREQ(DirectionText(NormalizeVector(HostVector{10, 20, 0})).text,
                 "0.447214 0.000000 0.894427");
}

TEST(Elements, TextChildHoldsOneTextNode) {
    TiXmlElement parent("camera");
    TiXmlElement* pos = AddTextChild(&parent, "pos", "1 2 3");
    ASSERT_NE(pos, nullptr);
    EXPECT_EQ(parent.FirstChildElement("pos"), pos);
    ASSERT_NE(pos->FirstChild(), nullptr);
    EXPECT_EQ(pos->FirstChild(), pos->LastChild());
    ASSERT_NE(pos->FirstChild()->ToText(), nullptr);
    EXPECT_STREQ(pos->GetText(), "1 2 3");

    TiXmlElement* empty = AddTextChild(&parent, "name", "");
    ASSERT_NE(empty, nullptr);
    ASSERT_NE(empty->FirstChild(), nullptr);
    ASSERT_NE(empty->FirstChild()->ToText(), nullptr);
    EXPECT_STREQ(empty->FirstChild()->Value(), "");
    EXPECT_EQ(pos->NextSibling(), empty);
}

TEST(Elements, TextIsEscapedWhenPrintedAndReadBackUnchanged) {
    TiXmlDocument document;
    document.InsertEndChild(TiXmlElement("scene"));
    AddTextChild(document.RootElement(), "name", "a<b & \"c\"");
    TiXmlPrinter printer;
    document.Accept(&printer);
    TiXmlDocument reread;
    reread.Parse(printer.CStr());
    ASSERT_FALSE(reread.Error()) << reread.ErrorDesc();
    EXPECT_STREQ(reread.RootElement()->FirstChildElement("name")->GetText(), "a<b & \"c\"");
}

TEST(Elements, CommentKeepsTheFirst240Characters) {
    std::string text(300, 'x');
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
    TiXmlComment comment = MakeComment(text.c_str());
    EXPECT_EQ(std::string(comment.Value()), text.substr(0, 240));

    EXPECT_STREQ(MakeComment("Global Pos/Size Multiplier: 0.010000").Value(),
                 "Global Pos/Size Multiplier: 0.010000");
    EXPECT_STREQ(MakeComment("").Value(), "");
}

TEST(Elements, CommentEndsAtAnArrowInTheText) {
    EXPECT_STREQ(MakeComment("Cube-->rest").Value(), "Cube");
}

TEST(Elements, CommentNeverSplitsACharacter) {
    // 239 ASCII bytes, then a two-byte character that would straddle the 240-byte limit.
    std::string text = std::string(239, 'a') + "\xC3\xA9" + "tail";
    EXPECT_EQ(std::string(MakeComment(text.c_str()).Value()), std::string(239, 'a'));
}

TEST(Elements, PrependAppendsToAnEmptySceneAndPutsTheLaterFirst) {
    TiXmlElement scene("scene");
    PrependToScene(&scene, TiXmlElement("background"));
    ASSERT_NE(scene.FirstChildElement(), nullptr);
    EXPECT_STREQ(scene.FirstChildElement()->Value(), "background");

    PrependToScene(&scene, TiXmlElement("tonemapping"));
    PrependToScene(&scene, TiXmlElement("camera"));
    std::string order;
    for (TiXmlElement* e = scene.FirstChildElement(); e; e = e->NextSiblingElement())
        order += std::string(e->Value()) + " ";
    EXPECT_EQ(order, "camera tonemapping background ");
}

TEST(Elements, PrependGoesInFrontOfCommentsToo) {
    TiXmlElement scene("scene");
    scene.InsertEndChild(MakeComment("Cube"));
    scene.InsertEndChild(TiXmlElement("model"));
    TiXmlNode* added = PrependToScene(&scene, TiXmlElement("background"));
    EXPECT_EQ(scene.FirstChild(), added);
}

} // namespace
