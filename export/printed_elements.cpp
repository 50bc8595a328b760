#include "export/printed_elements.h"

#include <cstdlib>
#include <new>

#include "export/export_context.h"

PrintedElements::PrintedElements() : TiXmlNode(TiXmlNode::TINYXML_UNKNOWN) {}

PrintedElements::~PrintedElements() {
    if (stream_) std::fclose(stream_);
    std::free(text_);
}

bool PrintedElements::TakeFollowing() {
    if (failed_) return false;
    if (!stream_ && NextSibling()) {
        stream_ = open_memstream(&text_, &size_);
        if (!stream_) return true; // the elements stay where they are and print as ever
    }
    // Printed at the depth of the scene's children, separated as the scene separates them; the
    // scene itself writes the line break before this node.
    while (TiXmlNode* node = NextSibling()) {
        if (std::ftell(stream_) > 0 && !node->ToText()) std::fputs("\n", stream_);
        node->Print(stream_, 1);
        if (std::fflush(stream_) != 0 || std::ferror(stream_)) {
            failed_ = true;
            return false;
        }
        Parent()->RemoveChild(node);
    }
    return true;
}

void PrintedElements::Print(FILE* cfile, int /*depth*/) const {
    if (size_ > 0) std::fwrite(text_, 1, size_, cfile);
}

// The node is made only by the save and never read from a file.
const char* PrintedElements::Parse(const char* /*p*/, TiXmlParsingData* /*data*/, TiXmlEncoding /*encoding*/) {
    return nullptr;
}

TiXmlNode* PrintedElements::Clone() const {
    PrintedElements* copy = new PrintedElements();
    copy->failed_ = failed_;
    if (size_ == 0) return copy;
    copy->stream_ = open_memstream(&copy->text_, &copy->size_);
    if (!copy->stream_ || std::fwrite(text_, 1, size_, copy->stream_) != size_ || std::fflush(copy->stream_) != 0)
        copy->failed_ = true;
    return copy;
}

bool PrintedElements::Accept(TiXmlVisitor* /*visitor*/) const { return true; }

void PrintedElements::StreamIn(std::istream* /*in*/, TIXML_STRING* /*tag*/) {}

PrintedElements* StartPrintedElements(TiXmlElement* scene) {
    if (!scene) return nullptr;
    PrintedElements* node = new (std::nothrow) PrintedElements();
    if (!node) return nullptr;
    scene->LinkEndChild(node);
    return node;
}

bool PrintFinishedElements(ExportContext& context) {
    return !context.printedElements || context.printedElements->TakeFollowing();
}

bool EndPrintedElements(ExportContext& context) {
    PrintedElements* node = context.printedElements;
    if (!node) return true;
    context.printedElements = nullptr;
    const bool complete = !node->Failed();
    if (node->Empty()) node->Parent()->RemoveChild(node);
    return complete;
}
