// Guards for the host texts and file names the module creates, and the conversions between host
// texts and the module's fixed 8-bit buffers.
#pragma once

#include <cstdint>

#include "host_types.h"

/// Owns one host text and frees it when it goes.
class HostText {
public:
    explicit HostText(HostString* text = nullptr) : text_(text) {}
    ~HostText();
    HostText(HostText&& other) noexcept : text_(other.release()) {}
    HostText& operator=(HostText&& other) noexcept;
    HostText(const HostText&) = delete;
    HostText& operator=(const HostText&) = delete;

    /// A new host text holding `text` (UTF-8); none when the host has no memory.
    static HostText FromCString(const char* text);

    HostString* get() const { return text_; }
    HostString* release();
    /// No text, or a text of length 0.
    bool empty() const;
    /// Copies the text into `buffer` as TextToBuffer does.
    bool ToBuffer(char* buffer, int32_t size) const;

private:
    HostString* text_;
};

/// Owns one host file name and frees it when it goes.
class HostFile {
public:
    explicit HostFile(HostFilename* name = nullptr) : name_(name) {}
    ~HostFile();
    HostFile(HostFile&& other) noexcept : name_(other.release()) {}
    HostFile& operator=(HostFile&& other) noexcept;
    HostFile(const HostFile&) = delete;
    HostFile& operator=(const HostFile&) = delete;

    /// A new host file name made from an 8-bit path text.
    static HostFile FromCString(const char* path);

    HostFilename* get() const { return name_; }
    HostFilename* release();
    /// The file name as a host text (none for no name).
    HostText Text() const;
    /// Copies the file name's text into `buffer` as TextToBuffer does.
    bool ToBuffer(char* buffer, int32_t size) const;

private:
    HostFilename* name_;
};

/// Converts a host text into `buffer` (at most size-1 bytes and a zero, cut at a character
/// boundary). No text gives the empty text. Answers false when the text had to be cut.
bool TextToBuffer(const HostString* text, char* buffer, int32_t size);

/// Copies the zero-ended `source` into `buffer` (at most size-1 bytes and a zero), cutting
/// before a UTF-8 sequence that does not fit. Answers false when it had to cut.
bool CopyTextCut(char* buffer, int32_t size, const char* source);

/// Number of characters of a UTF-8 text (bytes that do not continue a sequence).
int32_t CountCharacters(const char* text);
