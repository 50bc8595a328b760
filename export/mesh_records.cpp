#include "export/mesh_records.h"

#include <cstring>

#include "frame/host_api.h"

namespace {

/// Makes room for one more record; false when the host has no memory for it.
bool Grow(MeshRecords& records) {
    if (records.count < records.capacity) return true;
    const int32_t capacity = records.capacity ? records.capacity * 2 : 64;
    const size_t bytes = sizeof(MeshRecord) * static_cast<size_t>(capacity);
    auto* grown = static_cast<MeshRecord*>(HostAlloc(bytes));
    if (!grown) return false;
    if (records.count) std::memcpy(grown, records.records, sizeof(MeshRecord) * static_cast<size_t>(records.count));
    HostFree(records.records);
    records.records = grown;
    records.capacity = capacity;
    return true;
}

} // namespace

void AddMeshRecord(MeshRecords& records, const HostObject* object, int32_t number, bool written) {
    if (!written) records.fileFailed = true;
    if (!Grow(records)) {
        records.hostFailed = true;
        return;
    }
    records.records[records.count++] = MeshRecord{object, number, written};
}

const MeshRecord* TakeMeshRecord(MeshRecords& records, const HostObject* object) {
    if (records.cursor >= records.count || records.records[records.cursor].object != object) return nullptr;
    return &records.records[records.cursor++];
}

void ReleaseMeshRecords(MeshRecords& records) {
    HostFree(records.records);
    records = MeshRecords{};
}
