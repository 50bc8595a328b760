#include "host/preview/xml_nesting.h"

#include <algorithm>
#include <cstring>

#include "host/plugins/host_error.h"

namespace host {

namespace {

/// The position after the first `end` at or after `from`; the end of the text when none follows.
std::size_t after(const std::string& text, std::size_t from, const char* end) {
    const std::size_t found = text.find(end, from);
    return found == std::string::npos ? text.size() : found + std::strlen(end);
}

/// The position after the '>' that closes the tag opened at `from`, past quoted values.
std::size_t afterTag(const std::string& text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == '"' || text[i] == '\'') {
            i = text.find(text[i], i + 1);
            if (i == std::string::npos) return text.size();
        } else if (text[i] == '>') {
            return i + 1;
        }
    }
    return text.size();
}

} // namespace

void checkElementNesting(const std::string& text, const std::filesystem::path& file) {
    std::size_t depth = 0;
    for (std::size_t i = text.find('<'); i < text.size(); i = text.find('<', i)) {
        if (text.compare(i, 4, "<!--") == 0) {
            i = after(text, i + 4, "-->");
        } else if (text.compare(i, 9, "<![CDATA[") == 0) {
            i = after(text, i + 9, "]]>");
        } else if (text.compare(i, 2, "<?") == 0) {
            i = after(text, i + 2, "?>");
        } else if (text.compare(i, 2, "<!") == 0) {
            i = afterTag(text, i + 2);
        } else if (text.compare(i, 2, "</") == 0) {
            depth -= depth > 0;
            i = afterTag(text, i + 2);
        } else {
            const std::size_t end = afterTag(text, i + 1);
            const bool empty = end >= 2 && text[end - 1] == '>' && text[end - 2] == '/';
            if (!empty && ++depth > maxElementDepth) {
                const auto line = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(i), '\n') + 1;
                throw HostError(file.string() + ": line " + std::to_string(line) + ": elements nest deeper than " +
                                std::to_string(maxElementDepth) + " levels");
            }
            i = end;
        }
    }
}

} // namespace host
