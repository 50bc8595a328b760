#include "export/export_names.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

bool StartsWith(const char* text, const char* start, size_t length) {
    return std::strncmp(text, start, length) == 0;
}

bool EndsWith(const char* text, size_t length, const char* end) {
    const size_t endLength = std::strlen(end);
    return length >= endLength && std::memcmp(text + length - endLength, end, endLength) == 0;
}

/// Whether text[0, length) is what "%d" prints for a number of 0 or more.
bool IsCount(const char* text, size_t length) {
    if (length == 0 || length > 10 || (text[0] == '0' && length > 1)) return false;
    for (size_t i = 0; i < length; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

} // namespace

void ExportKey(const char* sceneName, char (&key)[kExportKeySize]) {
    // FNV-1a: a name's key stays the same from one run and one machine to the next.
    uint64_t hash = 14695981039346656037ull;
    for (const char* c = sceneName; *c; ++c) hash = (hash ^ static_cast<unsigned char>(*c)) * 1099511628211ull;
    std::snprintf(key, sizeof key, "%016llx", static_cast<unsigned long long>(hash));
}

ExportEntry ClassifyExportEntry(const char* key, const char* entry) {
    static const char prefix[] = ".lumeno-";
    const size_t prefixLength = sizeof prefix - 1;
    if (!StartsWith(entry, prefix, prefixLength) || !StartsWith(entry + prefixLength, key, kExportKeySize - 1) ||
        entry[prefixLength + kExportKeySize - 1] != '-')
        return ExportEntry::Other;
    const size_t length = std::strlen(entry);
    if (EndsWith(entry, length, ".new")) return ExportEntry::Staging;
    if (EndsWith(entry, length, ".commit")) return ExportEntry::Commit;
    return ExportEntry::Other;
}

bool IsSceneMeshFileName(const char* sceneName, const char* entry) {
    const size_t nameLength = std::strlen(sceneName);
    if (!StartsWith(entry, sceneName, nameLength) || entry[nameLength] != '.') return false;
    const char* suffix = entry + nameLength + 1;
    const size_t length = std::strlen(suffix);
    if (!EndsWith(suffix, length, ".3DS")) return false;
    const size_t middle = length - 4; // what stands between "NAME." and ".3DS"
    if (IsCount(suffix, middle)) return true;
    if (middle == 6 && StartsWith(suffix, "smooth", 6)) return true;
    if (middle == 8 && StartsWith(suffix, "nosmooth", 8)) return true;
    return middle > 5 && StartsWith(suffix, "light", 5) && IsCount(suffix + 5, middle - 5);
}
