// How long and how large the model reading may grow before lumeno-host stops it: the limits of
// the reading child, set once by the command from its options.
#pragma once

#include <cstdint>

namespace host::import {

struct ReadingLimits {
    double seconds = 120;      // --read-time-limit: each model or mesh file read, transfer included
    uint64_t megabytes = 8192; // --read-memory-limit: resident memory the reader takes beyond what
                               // lumeno-host held when it started it
};

/// The limits of the readings that follow.
void setReadingLimits(const ReadingLimits& limits);
const ReadingLimits& readingLimits();

} // namespace host::import
