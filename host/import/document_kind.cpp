#include "host/import/document_kind.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "host/import/model_reading.h"

namespace host::import {

bool isDocumentFile(const std::filesystem::path& file) {
    std::string suffix = file.extension().string();
    std::transform(suffix.begin(), suffix.end(), suffix.begin(), [](unsigned char c) { return std::tolower(c); });
    if (suffix == ".json") return true;
    if (!suffix.empty() && readsModelSuffix(suffix)) return false;
    std::ifstream in(file, std::ios::binary);
    char c = 0;
    while (in.get(c))
        if (!std::isspace(static_cast<unsigned char>(c))) return c == '{';
    // Empty or unreadable: the document reader says what is wrong with it.
    return true;
}

} // namespace host::import
