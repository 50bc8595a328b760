// The nk-data catalogue: the nk data files that phong materials may name, read from
// "Lumeno Exporter/NkData.xml" in the module folder. A choice code 5012 + i stands for entry i.
#pragma once

#include <cstdint>

/// Bytes of an entry text and of the catalogue path: at most 255 bytes each.
constexpr int32_t kNkTextSize = 256;

struct NkDataEntry {
    char nkPath[kNkTextSize]; // attribute "f": the file the renderer reads
    char label[kNkTextSize];  // attribute "l": what the tag's choice list shows
};

struct NkDataCatalogue {
    int32_t count;        // 0 when empty
    NkDataEntry* entries; // count entries in file order, one block in host memory; none when empty
};

/// Fills an empty catalogue from the module folder's catalogue file, or leaves it empty (no
/// file, no "NkData" root element, no entries, a module folder too long for the path, no
/// memory). A missing attribute reads "(null)"; longer texts are cut at a character boundary.
/// Answers false only when memory ran out, so a save can tell it from a missing file.
bool LoadNkDataCatalogue(NkDataCatalogue& catalogue);

/// Gives the entries back and empties the catalogue.
void ReleaseNkDataCatalogue(NkDataCatalogue& catalogue);

/// The catalogue file's path (module folder, "Lumeno Exporter", "NkData.xml", joined with the
/// platform's separator) in `buffer` of kNkTextSize bytes. False, with the buffer empty, when
/// there is no module folder or the path would not fit.
bool NkDataCataloguePath(char* buffer);
