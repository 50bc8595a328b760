#include "host/files/three_ds_names.h"

#include <limits>
#include <utility>
#include <vector>

#include "host/text/host_text.h"

namespace host {
namespace {

std::string folded(std::string_view name)
{
    std::string result(name);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

/// The first number with more decimal digits than `n`.
unsigned long nextDigitCount(unsigned long n)
{
    unsigned long bound = 10;
    while (bound <= n) {
        if (bound > std::numeric_limits<unsigned long>::max() / 10)
            return std::numeric_limits<unsigned long>::max();
        bound *= 10;
    }
    return bound;
}

} // namespace

ThreeDsNames::ThreeDsNames(std::size_t limit, std::string fallback)
    : limit_(limit), fallback_(std::move(fallback))
{
}

unsigned long ThreeDsNames::firstFree(const std::string& foldedStem, unsigned long first, unsigned long end)
{
    std::unordered_map<unsigned long, unsigned long>& skip = skips_[foldedStem];
    std::vector<unsigned long> passed;
    unsigned long n = first;
    while (n < end && used_.count(foldedStem + "~" + std::to_string(n)) != 0) {
        passed.push_back(n);
        const auto known = skip.find(n);
        n = known != skip.end() ? known->second : n + 1;
    }
    // Taken names stay taken: every suffix passed leads straight here next time.
    for (unsigned long p : passed)
        skip[p] = n;
    return n;
}

std::string ThreeDsNames::claim(std::string_view wanted)
{
    std::string clean(wanted.empty() ? std::string_view(fallback_) : wanted);
    for (char& c : clean)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '_';
    const std::string cut(cutUtf8(clean, limit_));
    std::string name = cut;
    std::string key = folded(name);
    if (used_.count(key) != 0) {
        // Count on from where this cut name left off; the suffixes of one length share a stem.
        unsigned long& n = next_[key];
        for (;;) {
            const unsigned long first = n + 1, end = nextDigitCount(first);
            const std::size_t suffixSize = 1 + std::to_string(first).size();
            const std::string stem(cutUtf8(cut, limit_ > suffixSize ? limit_ - suffixSize : 0));
            const std::string foldedStem = folded(stem);
            n = firstFree(foldedStem, first, end);
            if (n < end) {
                name = stem + "~" + std::to_string(n);
                key = foldedStem + "~" + std::to_string(n);
                break;
            }
            n = end - 1;
        }
    }
    used_.insert(std::move(key));
    return name;
}

} // namespace host
