// Handles that only the function table hands out.
#pragma once

#include "host/resources/string_table.h"

/// The module's string tables, loaded from its folder.
struct HostResource {
    host::StringTable strings;
};

/// The scratch object a command borrows to decide its state; it holds nothing of its own.
struct HostScratch {
    int unused = 0;
};
