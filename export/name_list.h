// File names gathered while an export looks through a folder, kept in host memory: one block of
// text and one of offsets, each grown by doubling, so thousands of names cost two allocations.
#pragma once

#include <cstddef>
#include <cstdint>

struct NameList {
    char* text = nullptr;         // the names, each ended by a zero
    size_t textUsed = 0;
    size_t textCapacity = 0;
    uint32_t* offsets = nullptr;  // where each name starts in `text`
    int32_t count = 0;
    int32_t capacity = 0;
    bool sorted = true;

    NameList() = default;
    NameList(const NameList&) = delete;
    NameList& operator=(const NameList&) = delete;
    ~NameList();

    const char* At(int32_t index) const { return text + offsets[index]; }
};

/// Adds a copy of `name`; false when the host has no memory for it.
bool AddName(NameList& list, const char* name);

/// Whether `name` is in the list; sorts it first if a name was added since the last look.
bool HasName(NameList& list, const char* name);
