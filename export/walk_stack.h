// A stack in host memory for the walks that must not recurse: one entry per level above the
// walk's current object, so a hierarchy of any depth costs no stack of the host's.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/host_api.h"

template <typename Entry>
struct WalkStack {
    Entry* entries = nullptr;
    int32_t count = 0;
    int32_t capacity = 0;

    WalkStack() = default;
    WalkStack(const WalkStack&) = delete;
    WalkStack& operator=(const WalkStack&) = delete;
    ~WalkStack() { HostFree(entries); }

    /// False when the host has no memory for one more level; the stack is then unchanged.
    bool Push(const Entry& entry) {
        if (count == capacity) {
            const int32_t grown = capacity ? capacity * 2 : 32;
            auto* block = static_cast<Entry*>(HostAlloc(sizeof(Entry) * static_cast<size_t>(grown)));
            if (!block) return false;
            for (int32_t i = 0; i < count; ++i) block[i] = entries[i];
            HostFree(entries);
            entries = block;
            capacity = grown;
        }
        entries[count++] = entry;
        return true;
    }

    Entry& Top() { return entries[count - 1]; }
    void Pop() { --count; }
    bool Empty() const { return count == 0; }
};
