// The name table hands out, for every sequence of wanted names, exactly the names that counting
// each suffix from 1 on gives: the names files already hold stay as they were.
#include <gtest/gtest.h>

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/files/three_ds_names.h"
#include "host/text/host_text.h"

namespace {

std::string folded(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

/// The rule as it reads: probe "~1", "~2", ... from where the cut name left off.
class CountingNames {
public:
    explicit CountingNames(std::size_t limit) : limit_(limit) {}
    std::string claim(const std::string& wanted)
    {
        const std::string cut(host::cutUtf8(wanted, limit_));
        std::string name = cut;
        if (used_.count(folded(name)) != 0) {
            unsigned long& n = next_[folded(cut)];
            do {
                const std::string suffix = "~" + std::to_string(++n);
                name = std::string(host::cutUtf8(cut, limit_ > suffix.size() ? limit_ - suffix.size() : 0)) + suffix;
            } while (used_.count(folded(name)) != 0);
        }
        used_.insert(folded(name));
        return name;
    }

private:
    std::size_t limit_;
    std::unordered_set<std::string> used_;
    std::unordered_map<std::string, unsigned long> next_;
};

TEST(ThreeDsNames, GiveTheNamesOfCountingFromOneForEverySequence)
{
    // Many long names on one stem, names that are already suffixed forms, case twins, names cut
    // inside a character, and enough of them to cross from one to two and three suffix digits.
    std::vector<std::string> wanted;
    for (int i = 0; i < 1500; ++i) {
        wanted.push_back("Object " + std::to_string(100 + i % 300) + "_" + std::to_string(i));
        if (i % 97 == 0) wanted.push_back("Object 1~" + std::to_string(i / 7 + 1));
        if (i % 101 == 0) wanted.push_back("OBJECT 10" + std::to_string(i % 10) + "x");
        if (i % 13 == 0) wanted.push_back("Öbject " + std::to_string(i));
        if (i % 7 == 0) wanted.push_back("Obj");
    }
    for (std::size_t limit : {std::size_t(3), host::THREE_DS_OBJECT_NAME_LIMIT, host::THREE_DS_MATERIAL_NAME_LIMIT}) {
        host::ThreeDsNames names(limit, "Object");
        CountingNames counting(limit);
        for (std::size_t i = 0; i < wanted.size(); ++i)
            ASSERT_EQ(names.claim(wanted[i]), counting.claim(wanted[i])) << "limit " << limit << ", name " << i;
    }
}

} // namespace
