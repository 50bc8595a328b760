// Names for the objects of one parent: a name the model gives is kept; an empty one becomes the
// fallback; a name a sibling already has gets ".1", ".2", ... so that every object's path stays
// unique and links by path find it.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace host::import {

class SiblingNames {
public:
    /// The name to use for `wanted` (or `fallback` when `wanted` is empty), taken from now on.
    std::string take(const std::string& wanted, const std::string& fallback);

    /// How many names had to be changed so far.
    int renamed() const { return renamed_; }

private:
    std::unordered_set<std::string> taken_;
    std::unordered_map<std::string, int> nextNumber_; // per name, so many equal names stay linear
    int renamed_ = 0;
};

} // namespace host::import
