// Parameter IDs of the object tag LumenoGenericObjTag (plug-in and type ID 10005).
#pragma once

#include <cstdint>

constexpr int32_t LOBJ_NO_NORMAL_SMOOTHING = 1000;
constexpr int32_t LOBJ_EXCLUDE = 1001;
