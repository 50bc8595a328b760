#include "host/files/three_ds_names.h"

#include <utility>

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

} // namespace

ThreeDsNames::ThreeDsNames(std::size_t limit, std::string fallback)
    : limit_(limit), fallback_(std::move(fallback))
{
}

bool ThreeDsNames::taken(const std::string& foldedName) const
{
    return used_.count(foldedName) != 0;
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
    if (taken(key)) {
        // Count on from where this cut name left off, so many equal names stay linear.
        unsigned long& n = next_[key];
        do {
            const std::string suffix = "~" + std::to_string(++n);
            name = std::string(cutUtf8(cut, limit_ > suffix.size() ? limit_ - suffix.size() : 0)) + suffix;
            key = folded(name);
        } while (taken(key));
    }
    used_.insert(std::move(key));
    return name;
}

} // namespace host
