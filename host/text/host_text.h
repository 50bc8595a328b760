// Host texts and file names. Texts are UTF-8 throughout the host; a module sees them as 8-bit
// text, converted into its own buffers and cut at a character boundary, never inside a sequence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

/// A host text: UTF-8 bytes.
struct HostString {
    std::string utf8;
};

/// A host file name: a path as UTF-8 text; empty is "no file".
struct HostFilename {
    std::string path;
};

namespace host {

/// The number of characters (code points) of UTF-8 text. A byte that does not start a valid
/// sequence counts as one character, so broken text still has a length.
int32_t utf8Length(std::string_view text);

/// The longest prefix of `text` that fits in `maxBytes` bytes and ends on a character boundary.
std::string_view cutUtf8(std::string_view text, std::size_t maxBytes);

/// Copies `text` into buffer[0..size) as the function table's to_cstring does: at most size-1
/// bytes, cut at a character boundary, then a zero. Answers the bytes written without the zero
/// (0, writing nothing, when buffer is null or size < 1).
int32_t copyToBuffer(std::string_view text, char* buffer, int32_t size);

/// The last part of a path ("a.xml" of "/d/a.xml"); "" when the path ends with a separator.
std::string fileNamePart(std::string_view path);
/// The folder of a path ("/d" of "/d/a.xml", "/" of "/a.xml", "" of "a.xml").
std::string folderPart(std::string_view path);
/// folder + "/" + part, without doubling a separator; an empty folder gives part alone.
std::string joinPath(std::string_view folder, std::string_view part);

} // namespace host
