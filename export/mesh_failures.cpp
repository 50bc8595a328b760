#include "export/mesh_failures.h"

#include <cstring>

#include "frame/host_api.h"

namespace {

/// Makes room for one more number; false when the host has no memory for it.
bool Grow(MeshFailures& failures) {
    if (failures.count < failures.capacity) return true;
    const int32_t capacity = failures.capacity ? failures.capacity * 2 : 16;
    auto* numbers = static_cast<int32_t*>(HostAlloc(sizeof(int32_t) * static_cast<size_t>(capacity)));
    if (!numbers) return false;
    if (failures.count) std::memcpy(numbers, failures.numbers, sizeof(int32_t) * static_cast<size_t>(failures.count));
    HostFree(failures.numbers);
    failures.numbers = numbers;
    failures.capacity = capacity;
    return true;
}

} // namespace

void NoteMeshFailure(MeshFailures& failures, int32_t number) {
    failures.any = true;
    if (failures.listIncomplete) return;
    if (!Grow(failures)) {
        failures.listIncomplete = true;
        failures.firstUnlisted = number;
        return;
    }
    failures.numbers[failures.count++] = number;
}

bool IsFailedMesh(MeshFailures& failures, int32_t number) {
    if (failures.listIncomplete && number >= failures.firstUnlisted) return true;
    while (failures.cursor < failures.count && failures.numbers[failures.cursor] < number) ++failures.cursor;
    return failures.cursor < failures.count && failures.numbers[failures.cursor] == number;
}

void ReleaseMeshFailures(MeshFailures& failures) {
    HostFree(failures.numbers);
    failures = MeshFailures{};
}
