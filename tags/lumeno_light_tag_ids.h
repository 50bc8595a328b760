// Parameter IDs of the light tag LumenoLightTag (plug-in and type ID 10004).
#pragma once

#include <cstdint>

#include "host_types.h"

// The spectrum form, an integer choice, and its three codes.
constexpr int32_t LLIGHT_SPECTRUM_TYPE = 1100;
constexpr int32_t LLIGHT_SPECTRUM_BLACKBODY = 1101;
constexpr int32_t LLIGHT_SPECTRUM_PEAK = 1102;
constexpr int32_t LLIGHT_SPECTRUM_RGB = 1103;

// Peak spectrum (reals).
constexpr int32_t LLIGHT_PEAK_MIN = 1000;
constexpr int32_t LLIGHT_PEAK_WIDTH = 1001;
constexpr int32_t LLIGHT_BASE_VALUE = 1002;
constexpr int32_t LLIGHT_PEAK_VALUE = 1003;
// Size of an area light (reals, not scaled by the multiplier).
constexpr int32_t LLIGHT_WIDTH = 1004;
constexpr int32_t LLIGHT_HEIGHT = 1005;
// RGB spectrum (vector) and blackbody (reals).
constexpr int32_t LLIGHT_RGB = 1200;
constexpr int32_t LLIGHT_TEMPERATURE = 1201;
constexpr int32_t LLIGHT_GAIN = 1202;

// The values a new tag receives; the export reads the same numbers when an entry is absent.
constexpr float kLightPeakMinDefault = 300.0f;
constexpr float kLightPeakWidthDefault = 550.0f;
constexpr float kLightBaseValueDefault = 0.0f;
constexpr float kLightPeakValueDefault = 200.0f;
constexpr float kLightSizeDefault = 0.4f;
constexpr float kLightTemperatureDefault = 6500.0f;
constexpr float kLightGainDefault = 0.001f;
constexpr HostVector kLightRgbDefault{1.0f, 1.0f, 1.0f};
