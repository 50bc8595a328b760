#include "export/printed_elements.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "export/export_context.h"
#include "export/lumeno_saver_data.h"
#include "export/scene_defaults.h"
#include "export/xml_print.h"

namespace {
constexpr size_t blockBytes = (size_t(1) << 18) - 2 * sizeof(void*);
// Printed in this node's place while the head is printed, to find where the head ends. It is
// looked for from the end: only the scene's closing tag follows it, so even a name in front that
// held the same bytes would not be taken for it.
constexpr char kHeadMark[] = "\x01\x02lumeno-printed-elements\x02\x01";
} // namespace

struct PrintedElements::Block {
    Block* next;
    size_t used;
    char bytes[blockBytes];
};

PrintedElements::PrintedElements() : TiXmlNode(TiXmlNode::TINYXML_UNKNOWN) {}

PrintedElements::~PrintedElements() {
    std::free(tail_);
    while (Block* block = first_) {
        first_ = block->next;
        std::free(block);
    }
}

bool PrintedElements::Append(const char* bytes, size_t count) {
    while (count > 0) {
        if (!last_ || last_->used == blockBytes) {
            Block* block = static_cast<Block*>(std::malloc(sizeof(Block)));
            if (!block) return false;
            block->next = nullptr;
            block->used = 0;
            (last_ ? last_->next : first_) = block;
            last_ = block;
        }
        const size_t room = blockBytes - last_->used;
        const size_t part = count < room ? count : room;
        std::memcpy(last_->bytes + last_->used, bytes, part);
        last_->used += part;
        size_ += part;
        bytes += part;
        count -= part;
    }
    return true;
}

bool PrintedElements::TakeFollowing() {
    if (failed_) return false;
    if (!NextSibling()) return true;
    // Printed at the depth of the scene's children, separated as the scene separates them; the
    // scene itself writes the line break before this node.
    while (TiXmlNode* node = NextSibling()) {
        try {
            scratch_.clear();
            if (size_ > 0 && !node->ToText()) scratch_ += '\n';
            PrintXml(*node, 1, scratch_);
        } catch (const std::bad_alloc&) {
            failed_ = true;
            return false;
        }
        if (streamed_) {
            std::fwrite(scratch_.data(), 1, scratch_.size(), out_);
            size_ += 1; // counts that there is text; the file keeps the bytes
        } else if (!Append(scratch_.data(), scratch_.size())) {
            failed_ = true;
            return false;
        }
        Parent()->RemoveChild(node);
    }
    // Nothing follows this node now, so the document printed around it shows its head and end.
    if (!streamed_ && out_ && !StartStream()) {
        failed_ = true;
        return false;
    }
    return true;
}

void PrintedElements::StreamInto(FILE* out) {
    if (!streamed_) out_ = out;
}

size_t PrintedElements::NodesInFront() const {
    size_t count = 0;
    for (const TiXmlNode* node = PreviousSibling(); node; node = node->PreviousSibling()) ++count;
    return count;
}

bool PrintedElements::StartStream() {
    // The whole document as it stands, with a mark in this node's place: before it is the head,
    // after it what closes the scene and the document.
    const TiXmlDocument* document = GetDocument();
    if (!document) return false;
    char* text = nullptr;
    size_t size = 0;
    FILE* head = open_memstream(&text, &size);
    if (!head) return false;
    printingHead_ = true;
    document->Print(head, 0);
    printingHead_ = false;
    const bool printed = std::fflush(head) == 0 && !std::ferror(head);
    std::fclose(head);
    const size_t markSize = sizeof kHeadMark - 1;
    size_t mark = size;
    for (size_t i = size >= markSize ? size - markSize + 1 : 0; printed && i-- > 0;)
        if (std::memcmp(text + i, kHeadMark, markSize) == 0) {
            mark = i;
            break;
        }
    if (mark == size) {
        std::free(text);
        return false;
    }
    tailSize_ = size - mark - markSize;
    tail_ = static_cast<char*>(std::malloc(tailSize_ + 1));
    if (!tail_) {
        std::free(text);
        return false;
    }
    std::memcpy(tail_, text + mark + markSize, tailSize_);
    std::fwrite(text, 1, mark, out_);
    std::free(text);
    // What was kept before the front was complete follows the head, and goes.
    while (Block* block = first_) {
        std::fwrite(block->bytes, 1, block->used, out_);
        first_ = block->next;
        std::free(block);
    }
    last_ = nullptr;
    frontNodes_ = NodesInFront();
    streamed_ = true;
    return true;
}

bool PrintedElements::FinishStream() {
    if (!streamed_ || NodesInFront() != frontNodes_) return false;
    std::fwrite(tail_, 1, tailSize_, out_);
    return true;
}

void PrintedElements::Print(FILE* cfile, int /*depth*/) const {
    if (printingHead_) {
        std::fputs(kHeadMark, cfile);
        return;
    }
    for (const Block* block = first_; block; block = block->next) std::fwrite(block->bytes, 1, block->used, cfile);
}

// The node is made only by the save and never read from a file.
const char* PrintedElements::Parse(const char* /*p*/, TiXmlParsingData* /*data*/, TiXmlEncoding /*encoding*/) {
    return nullptr;
}

TiXmlNode* PrintedElements::Clone() const {
    PrintedElements* copy = new PrintedElements();
    copy->failed_ = failed_ || streamed_; // streamed text is in the file only
    for (const Block* block = first_; block && !copy->failed_; block = block->next)
        if (!copy->Append(block->bytes, block->used)) copy->failed_ = true;
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

void CompleteSceneFront(ExportContext& context) {
    if (context.sceneFrontComplete) return;
    context.sceneFrontComplete = true;
    // In front of everything, as it would go at the end of the save: nothing goes in front later.
    if (context.saver && !context.saver->settingsWritten) {
        PrependDefaultBackground(context.sceneElement);
        context.backgroundWritten = true;
    }
    if (context.printedElements && context.sceneStream) context.printedElements->StreamInto(context.sceneStream);
}

bool EndPrintedElements(ExportContext& context, PrintedElements*& streamed) {
    streamed = nullptr;
    PrintedElements* node = context.printedElements;
    if (!node) return true;
    // Elements appended since the last finished one (the material list) are taken too.
    node->TakeFollowing();
    context.printedElements = nullptr;
    const bool complete = !node->Failed();
    if (node->Streaming()) {
        streamed = node;
    } else if (node->Empty()) {
        node->Parent()->RemoveChild(node);
    }
    return complete;
}
