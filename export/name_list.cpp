#include "export/name_list.h"

#include <algorithm>
#include <cstring>

#include "frame/host_api.h"

namespace {

/// Gives `block` room for `needed` units of `size` bytes, doubling; false when out of memory.
template <class T, class Count>
bool Reserve(T*& block, Count& capacity, size_t needed, size_t initial) {
    if (needed <= static_cast<size_t>(capacity)) return true;
    size_t grown = capacity ? static_cast<size_t>(capacity) : initial;
    while (grown < needed) grown *= 2;
    auto* bigger = static_cast<T*>(HostAlloc(grown * sizeof(T)));
    if (!bigger) return false;
    if (block) std::memcpy(bigger, block, static_cast<size_t>(capacity) * sizeof(T));
    HostFree(block);
    block = bigger;
    capacity = static_cast<Count>(grown);
    return true;
}

} // namespace

NameList::~NameList() {
    HostFree(text);
    HostFree(offsets);
}

bool AddName(NameList& list, const char* name) {
    const size_t length = std::strlen(name) + 1;
    if (!Reserve(list.text, list.textCapacity, list.textUsed + length, 4096)) return false;
    if (!Reserve(list.offsets, list.capacity, static_cast<size_t>(list.count) + 1, 64)) return false;
    std::memcpy(list.text + list.textUsed, name, length);
    list.offsets[list.count++] = static_cast<uint32_t>(list.textUsed);
    list.textUsed += length;
    list.sorted = list.count < 2;
    return true;
}

bool HasName(NameList& list, const char* name) {
    auto before = [&list](uint32_t a, const char* b) { return std::strcmp(list.text + a, b) < 0; };
    if (!list.sorted) {
        std::sort(list.offsets, list.offsets + list.count,
                  [&list](uint32_t a, uint32_t b) { return std::strcmp(list.text + a, list.text + b) < 0; });
        list.sorted = true;
    }
    uint32_t* end = list.offsets + list.count;
    uint32_t* found = std::lower_bound(list.offsets, end, name, before);
    return found != end && std::strcmp(list.text + *found, name) == 0;
}
