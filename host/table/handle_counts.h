// Counts of the objects the table hands to a module to own (texts, file names, containers,
// images, resources, descriptions), so tests can tell whether the module gave them all back.
#pragma once

#include <atomic>

namespace host {

struct HandleCounts {
    std::atomic<long> strings{0};
    std::atomic<long> filenames{0};
    std::atomic<long> containers{0};
    std::atomic<long> images{0};
    std::atomic<long> resources{0};
    std::atomic<long> documents{0};

    long total() const
    {
        return strings + filenames + containers + images + resources + documents;
    }
};

HandleCounts& handleCounts();

} // namespace host
