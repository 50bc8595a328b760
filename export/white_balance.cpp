#include "export/white_balance.h"

namespace {

constexpr int32_t kFirstCode = 3001;
constexpr const char* kNames[] = {"E", "D50", "D55", "D65", "D75", "A",
                                  "B", "C",   "9300", "F2", "F7",  "F11"};
constexpr int32_t kCount = static_cast<int32_t>(sizeof kNames / sizeof kNames[0]);

} // namespace

const char* WhiteBalanceText(int32_t code) {
    // Range first: the subtraction would overflow for codes near the smallest integer.
    if (code < kFirstCode || code >= kFirstCode + kCount) return "D65";
    return kNames[code - kFirstCode];
}
