#include "host/documents/json_path.h"

namespace host::jsonpath {

namespace {

bool isPlainWord(const std::string& key) {
    if (key.empty()) return false;
    for (char c : key) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
        if (!plain) return false;
    }
    return true;
}

std::string quoted(const std::string& key) {
    std::string out = "\"";
    for (char c : key) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

} // namespace

std::string member(const std::string& parent, const std::string& key) {
    if (!isPlainWord(key)) return parent + "[" + quoted(key) + "]";
    return parent.empty() ? key : parent + "." + key;
}

std::string index(const std::string& parent, std::size_t i) {
    return parent + "[" + std::to_string(i) + "]";
}

} // namespace host::jsonpath
