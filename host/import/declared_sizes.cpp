#include "host/import/declared_sizes.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>

#include "host/import/import_error.h"

namespace host::import {

namespace {

/// The shortest text a vertex or a face of an OFF file takes: "0 0 0\n", "1 0\n".
constexpr unsigned long long shortestOffElement = 4;

/// OFF: a keyword ending in "OFF" (OFF, COFF, NOFF, ...), then the vertex and face counts.
void checkOff(const std::filesystem::path& model, unsigned long long size) {
    std::ifstream in(model);
    std::string word;
    if (!(in >> word) || word.size() < 3 || word.compare(word.size() - 3, 3, "OFF") != 0) return;
    unsigned long long counts[2] = {0, 0};
    for (auto& count : counts) {
        while (in >> std::ws && in.peek() == '#') in.ignore(1 << 20, '\n');
        if (!(in >> count)) return;
    }
    for (const auto* what : {"vertices", "faces"}) {
        const unsigned long long count = counts[what[0] == 'f'];
        if (count > size / shortestOffElement)
            throw ImportError("the file declares " + std::to_string(count) + " " + what + ", more than its " +
                              std::to_string(size) + " bytes can hold");
    }
}

} // namespace

void checkDeclaredSizes(const std::filesystem::path& model) {
    std::string suffix = model.extension().string();
    std::transform(suffix.begin(), suffix.end(), suffix.begin(), [](unsigned char c) { return std::tolower(c); });
    std::error_code error;
    const auto size = std::filesystem::file_size(model, error);
    if (error) return;
    if (suffix == ".off") checkOff(model, size);
}

} // namespace host::import
