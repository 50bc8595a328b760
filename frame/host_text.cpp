#include "frame/host_text.h"

#include <cstring>

#include "frame/host_api.h"

HostText::~HostText() { TextFree(text_); }

HostText& HostText::operator=(HostText&& other) noexcept {
    if (this != &other) {
        TextFree(text_);
        text_ = other.release();
    }
    return *this;
}

HostText HostText::FromCString(const char* text) { return HostText(TextFromCString(text)); }

HostString* HostText::release() {
    HostString* text = text_;
    text_ = nullptr;
    return text;
}

bool HostText::empty() const { return TextLength(text_) == 0; }

bool HostText::ToBuffer(char* buffer, int32_t size) const { return TextToBuffer(text_, buffer, size); }

HostFile::~HostFile() { FilenameFree(name_); }

HostFile& HostFile::operator=(HostFile&& other) noexcept {
    if (this != &other) {
        FilenameFree(name_);
        name_ = other.release();
    }
    return *this;
}

HostFile HostFile::FromCString(const char* path) {
    HostText text = HostText::FromCString(path);
    return HostFile(text.get() ? FilenameFromText(text.get()) : nullptr);
}

HostFilename* HostFile::release() {
    HostFilename* name = name_;
    name_ = nullptr;
    return name;
}

HostText HostFile::Text() const { return HostText(FilenameToText(name_)); }

bool HostFile::ToBuffer(char* buffer, int32_t size) const { return Text().ToBuffer(buffer, size); }

int32_t CountCharacters(const char* text) {
    int32_t count = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); p && *p; ++p)
        if ((*p & 0xC0u) != 0x80u) ++count;
    return count;
}

bool TextToBuffer(const HostString* text, char* buffer, int32_t size) {
    if (!buffer || size <= 0) return false;
    buffer[0] = '\0';
    if (!text) return true;
    TextToCString(text, buffer, size);
    // The host cuts silently, at a character boundary, so a cut text fills the buffer to within
    // the three bytes of a split sequence. Only then do the character counts need comparing.
    const size_t used = std::strlen(buffer);
    if (used + 4 < static_cast<size_t>(size)) return true;
    return CountCharacters(buffer) == TextLength(text);
}

bool CopyTextCut(char* buffer, int32_t size, const char* source) {
    if (!buffer || size <= 0) return false;
    if (!source) source = "";
    size_t length = std::strlen(source);
    size_t limit = static_cast<size_t>(size) - 1;
    bool complete = length <= limit;
    if (!complete) {
        length = limit;
        // Step back to the start of the sequence that the cut would split.
        while (length > 0 && (static_cast<unsigned char>(source[length]) & 0xC0u) == 0x80u) --length;
    }
    std::memcpy(buffer, source, length);
    buffer[length] = '\0';
    return complete;
}
