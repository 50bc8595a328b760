// The scene's elements are printed as soon as they are finished, so that a scene of many objects
// is never held as a whole element tree (about ten times its text).
//
// A PrintedElements node stands in the `scene` element from the start. Scene-wide elements that
// are put in front of everything (settings, camera, background) go before it; everything appended
// comes after it and is taken into its text when finished. Once the front is complete, the
// document's head is printed into the scene file and the text goes straight after it, so the
// scene is not held as text either; until then the text is kept in blocks of a fixed size (a
// buffer that doubles as it grows would hold up to twice the text). Either way the file is byte
// for byte what printing the whole element tree would give.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

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

    /// The nodes in front of this one are final: the next time there is text to take, the
    /// document up to this node is printed into `out`, and the text follows it there.
    void StreamInto(FILE* out);
    bool Streaming() const { return streamed_; }
    /// After the last TakeFollowing of a streamed scene: prints the rest of the document. False
    /// when a node was put in front after the head was printed: the file would lack it.
    bool FinishStream();

    void Print(FILE* cfile, int depth) const override;
    const char* Parse(const char* p, TiXmlParsingData* data, TiXmlEncoding encoding) override;
    TiXmlNode* Clone() const override;
    bool Accept(TiXmlVisitor* visitor) const override;
    void StreamIn(std::istream* in, TIXML_STRING* tag) override;

private:
    struct Block;
    /// Appends to the kept text; false when memory runs out.
    bool Append(const char* bytes, size_t count);
    /// Prints the document's head (and the text kept so far) into the stream; false when out of memory.
    bool StartStream();
    size_t NodesInFront() const;

    std::string scratch_; // one element's text at a time
    Block* first_ = nullptr; // the text kept so far
    Block* last_ = nullptr;
    size_t size_ = 0; // bytes of text, kept or streamed
    bool failed_ = false;
    FILE* out_ = nullptr;    // where the text goes once streaming
    bool streamed_ = false;  // the head is printed into out_
    bool printingHead_ = false;
    char* tail_ = nullptr;   // what the document prints after this node
    size_t tailSize_ = 0;
    size_t frontNodes_ = 0;  // nodes in front of this one when the head was printed
};

/// Puts a PrintedElements node into the scene; none when out of memory (elements then stay).
PrintedElements* StartPrintedElements(TiXmlElement* scene);
/// Takes the scene's finished elements into the text. False when the scene could not keep one.
bool PrintFinishedElements(ExportContext& context);
/// The settings and the camera are written: the default background goes in front when there
/// were no settings, and the scene's text goes into the scene file from now on.
void CompleteSceneFront(ExportContext& context);
/// Before the document is printed: an empty text leaves the scene as if it had never been there.
/// False when an element was lost for want of memory. `streamed` is the node whose text went
/// into the scene file (FinishStream then prints the end), else nullptr.
bool EndPrintedElements(ExportContext& context, PrintedElements*& streamed);
