#include "host/text/host_text.h"

#include <cstring>

namespace host {
namespace {

/// The length of the UTF-8 sequence starting at text[i], or 1 when it is not a valid start or
/// the sequence is cut short (such a byte is then a character of its own).
std::size_t sequenceLength(std::string_view text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t n = 1;
    if (lead >= 0xF0 && lead <= 0xF4)
        n = 4;
    else if (lead >= 0xE0)
        n = (lead <= 0xEF) ? 3 : 1;
    else if (lead >= 0xC2 && lead <= 0xDF)
        n = 2;
    if (n == 1 || i + n > text.size())
        return 1;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 1;
    return n;
}

} // namespace

int32_t utf8Length(std::string_view text)
{
    int32_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += sequenceLength(text, i))
        ++count;
    return count;
}

std::string_view cutUtf8(std::string_view text, std::size_t maxBytes)
{
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t n = sequenceLength(text, end);
        if (end + n > maxBytes)
            break;
        end += n;
    }
    return text.substr(0, end);
}

int32_t copyToBuffer(std::string_view text, char* buffer, int32_t size)
{
    if (!buffer || size < 1)
        return 0;
    const std::string_view cut = cutUtf8(text, static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, cut.data(), cut.size());
    buffer[cut.size()] = '\0';
    return static_cast<int32_t>(cut.size());
}

std::string fileNamePart(std::string_view path)
{
    const std::size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string folderPart(std::string_view path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string_view::npos)
        return {};
    if (slash == 0)
        return "/";
    return std::string(path.substr(0, slash));
}

std::string joinPath(std::string_view folder, std::string_view part)
{
    if (folder.empty())
        return std::string(part);
    std::string joined(folder);
    if (joined.back() != '/')
        joined += '/';
    while (!part.empty() && part.front() == '/')
        part.remove_prefix(1);
    joined += part;
    return joined;
}

} // namespace host
