#include "export/mesh_files.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "export/export_files.h"
#include "export/xml_helpers.h"
#include "frame/host_api.h"
#include "frame/host_text.h"

namespace {

/// `parts` one after the other, cut where the text is full as printf would cut it. A save names
/// two files per object; "%s" and "%d" need neither a format nor the locale.
MeshFileText Joined(std::initializer_list<std::string_view> parts) {
    MeshFileText out;
    const size_t room = sizeof out.text - 1;
    size_t used = 0;
    for (const std::string_view part : parts) {
        const size_t take = std::min(part.size(), room - used);
        std::memcpy(out.text + used, part.data(), take);
        used += take;
    }
    out.text[used] = '\0';
    return out;
}

struct Decimal {
    explicit Decimal(int32_t number) : end(std::to_chars(digits, digits + sizeof digits, number).ptr) {}
    operator std::string_view() const { return {digits, static_cast<size_t>(end - digits)}; }
    char digits[12];
    char* end;
};

} // namespace

MeshFileText MeshFileName(const char* sceneFile, int32_t number) {
    return Joined({sceneFile ? sceneFile : "", ".", Decimal(number), ".3DS"});
}

MeshFileText MeshName(int32_t number) { return Joined({"meshName_", Decimal(number)}); }

bool SaveMeshFile(ExportContext& context, HostDocument* meshDocument, const char* path) {
    char target[kExportPathSize];
    const bool staged = context.files && StagedPath(*context.files, path, target, sizeof target);
    HostFile file = HostFile::FromCString(staged ? target : path);
    const bool written = file.get() && DocumentSave(meshDocument, file.get(), 0, SAVE_FORMAT_3DS) == FILE_RESULT_OK;
    if (!written && staged) context.files->stagedWriteFailed = true;
    return written;
}
