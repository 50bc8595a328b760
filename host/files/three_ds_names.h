// Names in a 3DS file: each kind of name has a length limit (10 bytes for objects, 16 for
// materials), and readers tell names apart without regard to case. A name table hands out names
// that fit the limit and differ from every name it handed out before.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace host {

constexpr std::size_t THREE_DS_OBJECT_NAME_LIMIT = 10;
constexpr std::size_t THREE_DS_MATERIAL_NAME_LIMIT = 16;

class ThreeDsNames {
public:
    /// `fallback` stands in for an empty name.
    ThreeDsNames(std::size_t limit, std::string fallback);

    /// A name for `wanted`: the name itself when it fits and is free; else it is cut to the limit
    /// at a character boundary; if that is taken, its end gives way to "~1", "~2", ... until the
    /// name is free ("LongObjectName" -> "LongObject", then "LongObje~1"). Control characters
    /// (which would end the name early in the file) become "_".
    std::string claim(std::string_view wanted);

private:
    /// The first n from `first` on, below `end`, whose "stem~n" is free; `end` when there is none.
    unsigned long firstFree(const std::string& foldedStem, unsigned long first, unsigned long end);

    std::size_t limit_;
    std::string fallback_;
    std::unordered_set<std::string> used_;                 // lower-case forms
    std::unordered_map<std::string, unsigned long> next_; // last suffix given per cut name
    // Per lower-case stem, suffixes known to be taken: from n on, every suffix below skip[n] is.
    // Many cut names share a stem ("Object 100" and "Object 101" both give "Object 1~n"), so
    // each probes past the others' suffixes once instead of on every claim.
    std::unordered_map<std::string, std::unordered_map<unsigned long, unsigned long>> skips_;
};

} // namespace host
