#include "tags/nk_data_catalogue.h"

#include <cstdio>
#include <filesystem>
#include <new>

#include <tinyxml.h>

#include "frame/host_api.h"
#include "frame/host_memory.h"
#include "frame/host_text.h"
#include "frame/module_state.h"

namespace {

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

const char* AttributeOrNull(const TiXmlElement* entry, const char* name) {
    const char* value = entry->Attribute(name);
    return value ? value : "(null)";
}

int32_t CountEntries(const TiXmlElement* root) {
    int32_t count = 0;
    for (const TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) ++count;
    return count;
}

/// The catalogue root: the first top-level node named "NkData", if that node is an element.
const TiXmlElement* CatalogueRoot(const TiXmlDocument& document) {
    const TiXmlNode* node = document.FirstChild("NkData");
    return node ? node->ToElement() : nullptr;
}

bool Fill(NkDataCatalogue& catalogue, const TiXmlElement* root) {
    const int32_t count = CountEntries(root);
    if (count == 0) return true;
    auto* entries = static_cast<NkDataEntry*>(HostAlloc(sizeof(NkDataEntry) * static_cast<size_t>(count)));
    if (!entries) return false;
    int32_t i = 0;
    for (const TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement(), ++i) {
        CopyTextCut(entries[i].nkPath, kNkTextSize, AttributeOrNull(e, "f"));
        CopyTextCut(entries[i].label, kNkTextSize, AttributeOrNull(e, "l"));
    }
    catalogue.entries = entries;
    catalogue.count = count;
    return true;
}

} // namespace

bool NkDataCataloguePath(char* buffer) {
    buffer[0] = '\0';
    char folder[kNkTextSize];
    HostFile moduleFolder(ModuleFolder());
    // A folder cut to fit would name another place; such a folder has no catalogue.
    if (!moduleFolder.get() || !moduleFolder.ToBuffer(folder, kNkTextSize) || folder[0] == '\0') return false;
    const int written = std::snprintf(buffer, kNkTextSize, "%s%cLumeno Exporter%cNkData.xml", folder,
                                      kSeparator, kSeparator);
    if (written < 0 || written >= kNkTextSize) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

bool LoadNkDataCatalogue(NkDataCatalogue& catalogue) {
    if (catalogue.entries) return true;
    catalogue.count = 0;
    char path[kNkTextSize];
    if (!NkDataCataloguePath(path)) return true;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return true;
    std::fclose(file);
    TiXmlDocument* document = NewInHostMemory<TiXmlDocument>();
    if (!document) return false;
    bool enoughMemory = true;
    try {
        // A file that does not parse whole still offers what the parser read.
        document->LoadFile(path);
        if (const TiXmlElement* root = CatalogueRoot(*document)) enoughMemory = Fill(catalogue, root);
    } catch (const std::bad_alloc&) {
        ReleaseNkDataCatalogue(catalogue);
        enoughMemory = false;
    }
    DeleteInHostMemory(document);
    return enoughMemory;
}

void ReleaseNkDataCatalogue(NkDataCatalogue& catalogue) {
    HostFree(catalogue.entries);
    catalogue.entries = nullptr;
    catalogue.count = 0;
}
