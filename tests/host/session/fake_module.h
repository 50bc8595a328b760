// A tiny module of the test's own: a c4d_main that registers a saver, a tag and a command
// through the host's function table, and logs every call the host makes into it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host_table.h"

namespace fake {

constexpr int32_t SAVER_ID = 4000001;
constexpr int32_t TAG_ID = 4000002;
constexpr int32_t COMMAND_ID = 4000003;
constexpr int32_t TAG_DEFAULT_PARAMETER = 1000; // the tag's init writes 42 here
constexpr int32_t TAG_HIDDEN_PARAMETER = 1001;  // its describe hides this one
constexpr int32_t TAG_MATERIAL_LINK = 1002;     // its draw paints this material's preview

struct State {
    const HostTable* table = nullptr;
    std::string modulePath;
    std::string tagIcon = "lumenogenericobjtag.tif";
    int32_t saveResult = 0;
    int inits = 0;
    int ends = 0;
    std::vector<std::string> log;
};

/// The module's state; reset() before each test.
State& state();
void reset();

int32_t c4d_main(int32_t action, void* p1, void* p2, void* p3);

} // namespace fake
