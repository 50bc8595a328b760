// The module's single exported entry and its message handler.
#pragma once

#include <cstdint>

#define LUMENO_EXPORT __attribute__((visibility("default")))

/// The host's entry: 1 initialise (first: the function table, third: the module path),
/// 2 start, 3 end, 4 query, 6 message (first: the message ID, second: its data).
extern "C" LUMENO_EXPORT int32_t c4d_main(int32_t action, void* p1, void* p2, void* p3);

/// Module messages: 0 answers true, 1 loads the string resource and answers whether it is
/// loaded, every other message answers false.
bool HandleModuleMessage(int32_t id, void* data);
