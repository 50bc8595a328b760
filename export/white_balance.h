#pragma once

#include <cstdint>

/// The renderer's white-balance name for a code of the render-settings tag: 3001 "E" ...
/// 3004 "D65" ... 3012 "F11"; any other code gives "D65".
const char* WhiteBalanceText(int32_t code);
