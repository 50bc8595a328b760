#include "export/printed_elements.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "export/export_context.h"

namespace {
constexpr size_t blockBytes = (size_t(1) << 18) - 2 * sizeof(void*);
} // namespace

struct PrintedElements::Block {
    Block* next;
    size_t used;
    char bytes[blockBytes];
};

PrintedElements::PrintedElements() : TiXmlNode(TiXmlNode::TINYXML_UNKNOWN) {}

PrintedElements::~PrintedElements() {
    if (scratch_) std::fclose(scratch_);
    std::free(scratchText_);
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
    if (!scratch_ && NextSibling()) {
        scratch_ = open_memstream(&scratchText_, &scratchSize_);
        if (!scratch_) return true; // the elements stay where they are and print as ever
    }
    // Printed at the depth of the scene's children, separated as the scene separates them; the
    // scene itself writes the line break before this node.
    while (TiXmlNode* node = NextSibling()) {
        if (std::fseek(scratch_, 0, SEEK_SET) != 0) {
            failed_ = true;
            return false;
        }
        if (size_ > 0 && !node->ToText()) std::fputs("\n", scratch_);
        node->Print(scratch_, 1);
        if (std::fflush(scratch_) != 0 || std::ferror(scratch_) || !Append(scratchText_, scratchSize_)) {
            failed_ = true;
            return false;
        }
        Parent()->RemoveChild(node);
    }
    return true;
}

void PrintedElements::Print(FILE* cfile, int /*depth*/) const {
    for (const Block* block = first_; block; block = block->next) std::fwrite(block->bytes, 1, block->used, cfile);
}

// The node is made only by the save and never read from a file.
const char* PrintedElements::Parse(const char* /*p*/, TiXmlParsingData* /*data*/, TiXmlEncoding /*encoding*/) {
    return nullptr;
}

TiXmlNode* PrintedElements::Clone() const {
    PrintedElements* copy = new PrintedElements();
    copy->failed_ = failed_;
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

bool EndPrintedElements(ExportContext& context) {
    PrintedElements* node = context.printedElements;
    if (!node) return true;
    context.printedElements = nullptr;
    const bool complete = !node->Failed();
    if (node->Empty()) node->Parent()->RemoveChild(node);
    return complete;
}
