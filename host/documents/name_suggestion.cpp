#include "host/documents/name_suggestion.h"

#include <algorithm>
#include <cctype>

namespace host {

namespace {

/// Edits (insert, delete, replace) between two words, ignoring case.
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            bool same = std::toupper(static_cast<unsigned char>(a[i - 1])) == std::toupper(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

std::optional<std::string> closestName(const std::string& name, const std::vector<std::string>& candidates) {
    const std::size_t limit = std::max<std::size_t>(2, name.size() / 4);
    std::optional<std::string> best;
    std::size_t bestDistance = limit + 1;
    for (const auto& candidate : candidates) {
        std::size_t distance = editDistance(name, candidate);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

} // namespace host
