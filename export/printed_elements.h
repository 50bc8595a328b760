// The scene's elements are printed as soon as they are finished and kept as text, so that a
// scene of many objects is never held as a whole element tree (about ten times its text). The
// text is kept in blocks of a fixed size: a buffer that doubles as it grows would hold up to
// twice the text.
//
// A PrintedElements node stands in the `scene` element from the start. Scene-wide elements that
// are put in front of everything (settings, camera, background) go before it; everything appended
// comes after it and is taken into its text when finished. Printing the document prints the
// text in its place, exactly as the elements would have been printed.
#pragma once

#include <cstddef>
#include <cstdio>

#include <tinyxml.h>

struct ExportContext;

class PrintedElements final : public TiXmlNode {
public:
    PrintedElements();
    ~PrintedElements() override;
    PrintedElements(const PrintedElements&) = delete;
    PrintedElements& operator=(const PrintedElements&) = delete;

    /// Prints every node after this one (children of the scene) into the text and removes it.
    /// False once a print ran out of memory: the scene is then incomplete.
    bool TakeFollowing();
    bool Empty() const { return size_ == 0; }
    bool Failed() const { return failed_; }

    void Print(FILE* cfile, int depth) const override;
    const char* Parse(const char* p, TiXmlParsingData* data, TiXmlEncoding encoding) override;
    TiXmlNode* Clone() const override;
    bool Accept(TiXmlVisitor* visitor) const override;
    void StreamIn(std::istream* in, TIXML_STRING* tag) override;

private:
    struct Block;
    /// Appends to the text; false when memory runs out.
    bool Append(const char* bytes, size_t count);

    FILE* scratch_ = nullptr; // one element's text at a time, in memory
    char* scratchText_ = nullptr;
    size_t scratchSize_ = 0;
    Block* first_ = nullptr; // the text so far
    Block* last_ = nullptr;
    size_t size_ = 0;
    bool failed_ = false;
};

/// Puts a PrintedElements node into the scene; none when out of memory (elements then stay).
PrintedElements* StartPrintedElements(TiXmlElement* scene);
/// Takes the scene's finished elements into the text. False when the scene could not keep one.
bool PrintFinishedElements(ExportContext& context);
/// Before the document is printed: an empty text leaves the scene as if it had never been there.
/// False when an element was lost for want of memory.
bool EndPrintedElements(ExportContext& context);
