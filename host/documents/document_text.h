// A document file's text, read whole into memory of its own so that the quick reader can go over
// plain bytes, and given back page by page behind the reader: the geometry read from the text
// takes the text's place instead of coming on top of it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace host {

class DocumentText {
public:
    /// Reads the whole file. Throws DocumentError naming it when it cannot be opened or read.
    explicit DocumentText(std::filesystem::path file);
    ~DocumentText();
    DocumentText(const DocumentText&) = delete;
    DocumentText& operator=(const DocumentText&) = delete;

    std::string_view text() const { return {data_, size_}; }

    /// The bytes before `offset` are read and not needed again: their memory goes back. What
    /// text() shows there is no longer the file's (a file of unknown size keeps it all).
    void release(std::size_t offset);
    /// Reads the file again, whole, for a reader that must start over after a release.
    void reload();

private:
    void read();
    void free();

    std::filesystem::path file_;
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mapped_ = 0;   // the length of the memory of our own, 0 when `growing_` holds the text
    std::size_t released_ = 0; // bytes given back from the start
    std::string growing_;      // the text of a pipe or a file that grew while read
};

} // namespace host
