#include "export/xml_print.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

void Indent(std::string& out, int depth) {
    if (depth > 0) out.append(static_cast<size_t>(depth) * 4, ' ');
}

// TinyXML prints every text as a C string: a NUL byte ends it.
void AppendText(std::string& out, const std::string& text) { out.append(text.c_str()); }

/// Whether TinyXML's encoding leaves `text` as it is: no markup character, quote or control character.
bool IsPlain(const std::string& text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == '&' || byte == '<' || byte == '>' || byte == '"' || byte == '\'') return false;
    }
    return true;
}

void AppendEncoded(std::string& out, const std::string& text) {
    if (IsPlain(text)) {
        out += text;
        return;
    }
    std::string encoded;
    TiXmlBase::EncodeString(text, &encoded);
    AppendText(out, encoded);
}

/// A node of a kind printed nowhere in a scene's elements goes through TinyXML's own print.
void PrintThroughFile(const TiXmlNode& node, int depth, std::string& out) {
    char* text = nullptr;
    size_t size = 0;
    FILE* file = open_memstream(&text, &size);
    if (!file) throw std::bad_alloc();
    node.Print(file, depth);
    const bool printed = std::fflush(file) == 0 && !std::ferror(file);
    std::fclose(file);
    if (printed) {
        try {
            out.append(text, size);
        } catch (...) {
            std::free(text);
            throw;
        }
    }
    std::free(text);
    if (!printed) throw std::bad_alloc();
}

void PrintAttribute(const TiXmlAttribute& attribute, std::string& out) {
    // Single quotes when the value holds a double one, as TinyXML does.
    const char quote = attribute.ValueStr().find('"') == std::string::npos ? '"' : '\'';
    AppendEncoded(out, attribute.NameTStr());
    out += '=';
    out += quote;
    AppendEncoded(out, attribute.ValueStr());
    out += quote;
}

void PrintText(const TiXmlText& text, int depth, std::string& out) {
    if (text.CDATA()) {
        out += '\n';
        Indent(out, depth);
        out += "<![CDATA[";
        AppendText(out, text.ValueStr());
        out += "]]>\n";
        return;
    }
    AppendEncoded(out, text.ValueStr());
}

void PrintElement(const TiXmlElement& element, int depth, std::string& out) {
    Indent(out, depth);
    out += '<';
    AppendText(out, element.ValueStr());
    for (const TiXmlAttribute* attribute = element.FirstAttribute(); attribute; attribute = attribute->Next()) {
        out += ' ';
        PrintAttribute(*attribute, out);
    }
    const TiXmlNode* first = element.FirstChild();
    if (!first) {
        out += " />";
        return;
    }
    if (first == element.LastChild() && first->ToText()) {
        out += '>';
        PrintXml(*first, depth + 1, out);
    } else {
        out += '>';
        for (const TiXmlNode* child = first; child; child = child->NextSibling()) {
            if (!child->ToText()) out += '\n';
            PrintXml(*child, depth + 1, out);
        }
        out += '\n';
        Indent(out, depth);
    }
    out += "</";
    AppendText(out, element.ValueStr());
    out += '>';
}

} // namespace

void PrintXml(const TiXmlNode& node, int depth, std::string& out) {
    switch (node.Type()) {
    case TiXmlNode::TINYXML_ELEMENT:
        if (const TiXmlElement* element = node.ToElement()) return PrintElement(*element, depth, out);
        break;
    case TiXmlNode::TINYXML_TEXT:
        if (const TiXmlText* text = node.ToText()) return PrintText(*text, depth, out);
        break;
    case TiXmlNode::TINYXML_COMMENT:
        if (node.ToComment()) {
            Indent(out, depth);
            out += "<!--";
            AppendText(out, node.ValueStr());
            out += "-->";
            return;
        }
        break;
    default:
        break;
    }
    PrintThroughFile(node, depth, out);
}
