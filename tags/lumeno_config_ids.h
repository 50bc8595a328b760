// Parameter IDs of the render-settings tag LumenoConfig (plug-in and type ID 10000).
#pragma once

#include <cstdint>

constexpr int32_t LCFG_BACKGROUND_RADIANCE = 1000;
constexpr int32_t LCFG_SUN_OBJECT = 1001;
constexpr int32_t LCFG_TURBIDITY = 1002;
constexpr int32_t LCFG_APERTURE_RADIUS = 1003;
constexpr int32_t LCFG_POS_SIZE_MULTIPLIER = 1005;
constexpr int32_t LCFG_CAMERA_AUX = 1006;
constexpr int32_t LCFG_RENDERER_SETTINGS = 1008;
constexpr int32_t LCFG_WIDTH = 1009;
constexpr int32_t LCFG_HEIGHT = 1010;
constexpr int32_t LCFG_METROPOLIS = 1011;
constexpr int32_t LCFG_LARGE_MUTATION_PROB = 1012;
constexpr int32_t LCFG_MAX_CHANGE = 1013;
constexpr int32_t LCFG_RUSSIAN_ROULETTE_LIVE_PROB = 1014;
constexpr int32_t LCFG_MAX_DEPTH = 1015;
constexpr int32_t LCFG_STRATA_WIDTH = 1016;
constexpr int32_t LCFG_LOGGING = 1017;
constexpr int32_t LCFG_MERGED_MESH_EXPORT = 1018;
constexpr int32_t LCFG_TONEMAPPING = 1019;
constexpr int32_t LCFG_TONEMAPPING_TYPE = 1022;
constexpr int32_t LCFG_TONEMAPPING_SCALE = 1023;
constexpr int32_t LCFG_POST_SCALE = 1024;
constexpr int32_t LCFG_IMAGE_SAVE_PERIOD = 1025;
constexpr int32_t LCFG_SAVE_TONEMAPPED_EXR = 1026;
constexpr int32_t LCFG_SAVE_UNTONEMAPPED_EXR = 1027;
constexpr int32_t LCFG_ASPECT_RATIO = 1028;
constexpr int32_t LCFG_BIDIRECTIONAL = 1029;
constexpr int32_t LCFG_ENV_MAP_TYPE = 2001;
constexpr int32_t LCFG_ENV_MAP_PATH = 2100;
constexpr int32_t LCFG_ENV_MAP_WIDTH = 2101;
constexpr int32_t LCFG_ENV_MAP_GAIN = 2102;
constexpr int32_t LCFG_SKY_GAIN = 2500;
constexpr int32_t LCFG_FRAME_UPLOAD_PERIOD = 2501;
constexpr int32_t LCFG_HALT_TIME = 2502;
constexpr int32_t LCFG_WHITE_BALANCE = 3000;
constexpr int32_t LCFG_MAX_NUM_CONSEC_REJECTIONS = 4000;

// Choice codes.
constexpr int32_t LCFG_TONEMAPPING_LINEAR = 1020;
constexpr int32_t LCFG_TONEMAPPING_REINHARD = 1021;
constexpr int32_t LCFG_ENV_MAP_SPHERICAL = 2002;
constexpr int32_t LCFG_ENV_MAP_LATLONG = 2003;
constexpr int32_t LCFG_WHITE_BALANCE_E = 3001;
constexpr int32_t LCFG_WHITE_BALANCE_D50 = 3002;
constexpr int32_t LCFG_WHITE_BALANCE_D55 = 3003;
constexpr int32_t LCFG_WHITE_BALANCE_D65 = 3004;
constexpr int32_t LCFG_WHITE_BALANCE_D75 = 3005;
constexpr int32_t LCFG_WHITE_BALANCE_A = 3006;
constexpr int32_t LCFG_WHITE_BALANCE_B = 3007;
constexpr int32_t LCFG_WHITE_BALANCE_C = 3008;
constexpr int32_t LCFG_WHITE_BALANCE_9300 = 3009;
constexpr int32_t LCFG_WHITE_BALANCE_F2 = 3010;
constexpr int32_t LCFG_WHITE_BALANCE_F7 = 3011;
constexpr int32_t LCFG_WHITE_BALANCE_F11 = 3012;
