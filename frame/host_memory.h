// Objects of the module live in memory from the host's allocator, so the host can count and
// limit what the module holds.
#pragma once

#include <new>
#include <utility>

#include "frame/host_api.h"

/// Constructs a T in a block from the host's allocator; none when the host has no memory (or
/// the constructor itself runs out of memory).
template <class T, class... Args>
T* NewInHostMemory(Args&&... args) {
    void* block = HostAlloc(sizeof(T));
    if (!block) return nullptr;
    try {
        return new (block) T(std::forward<Args>(args)...);
    } catch (const std::bad_alloc&) {
        HostFree(block);
        return nullptr;
    }
}

/// Destroys an object made by NewInHostMemory and gives its block back.
template <class T>
void DeleteInHostMemory(T* object) {
    if (!object) return;
    object->~T();
    HostFree(object);
}
