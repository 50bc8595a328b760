// The scene's elements printed into memory must be byte for byte what TinyXML prints into a file.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <tinyxml.h>

#include "export/xml_print.h"

namespace {

std::string PrintedByTinyXml(const TiXmlNode& node, int depth) {
    char* text = nullptr;
    size_t size = 0;
    FILE* file = open_memstream(&text, &size);
    node.Print(file, depth);
    std::fclose(file);
    std::string printed(text, size);
    std::free(text);
    return printed;
}

TEST(XmlPrint, MatchesTinyXmlForEveryKindOfNode) {
    TiXmlElement model("model");
    model.LinkEndChild(new TiXmlComment("Cube <1> & \"2\""));
    TiXmlElement* scale = new TiXmlElement("scale");
    scale->LinkEndChild(new TiXmlText("0.010000"));
    model.LinkEndChild(scale);
    TiXmlElement* quoted = new TiXmlElement("camera");
    quoted->SetAttribute("plain", "a<b & c>d");
    quoted->SetAttribute("quote", "say \"hi\" & 'bye'");
    quoted->SetAttribute("control", std::string("x\x01y").c_str());
    model.LinkEndChild(quoted);
    TiXmlElement* mixed = new TiXmlElement("name");
    mixed->LinkEndChild(new TiXmlText("W\xFCrfel & <co>"));
    mixed->LinkEndChild(new TiXmlElement("empty"));
    mixed->LinkEndChild(new TiXmlText("after"));
    model.LinkEndChild(mixed);
    TiXmlText* section = new TiXmlText("raw <text> & more");
    section->SetCDATA(true);
    TiXmlElement* holder = new TiXmlElement("data");
    holder->LinkEndChild(section);
    model.LinkEndChild(holder);
    TiXmlElement* cut = new TiXmlElement("cut");
    cut->LinkEndChild(new TiXmlText(std::string("before\0after", 12)));
    model.LinkEndChild(cut);
    TiXmlElement* nested = new TiXmlElement("outer");
    nested->LinkEndChild(new TiXmlElement("inner"))->LinkEndChild(new TiXmlElement("deepest"));
    model.LinkEndChild(nested);
    model.LinkEndChild(new TiXmlUnknown());

    for (int depth : {0, 1, 3}) {
        SCOPED_TRACE(depth);
        std::string ours;
        PrintXml(model, depth, ours);
        EXPECT_EQ(ours, PrintedByTinyXml(model, depth));
        for (const TiXmlNode* child = model.FirstChild(); child; child = child->NextSibling()) {
            std::string one;
            PrintXml(*child, depth, one);
            EXPECT_EQ(one, PrintedByTinyXml(*child, depth)) << child->Value();
        }
    }
}

} // namespace
