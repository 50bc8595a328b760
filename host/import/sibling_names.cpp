#include "host/import/sibling_names.h"

namespace host::import {

std::string SiblingNames::take(const std::string& wanted, const std::string& fallback) {
    const std::string base = wanted.empty() ? fallback : wanted;
    if (taken_.insert(base).second) return base;
    ++renamed_;
    int& next = nextNumber_[base];
    for (;;) {
        std::string candidate = base + "." + std::to_string(++next);
        if (taken_.insert(candidate).second) return candidate;
    }
}

} // namespace host::import
