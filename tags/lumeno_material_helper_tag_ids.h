// Parameter IDs and codes of the material helper tag LumenoMaterialHelperTag (plug-in and type
// ID 10008), and the host material's parameters it mirrors and writes back.
#pragma once

#include <cstdint>

constexpr int32_t LMAT_MATERIAL = 1000;
constexpr int32_t LMAT_RESOLVE_TEXTURE_PATHS = 1004;
constexpr int32_t LMAT_ALBEDO_GAIN = 1006;
constexpr int32_t LMAT_BUMP_GAIN = 1007;
constexpr int32_t LMAT_ALBEDO_EXPONENT = 1008;
constexpr int32_t LMAT_BUMP_EXPONENT = 1009;
constexpr int32_t LMAT_KIND = 4999;
constexpr int32_t LMAT_KIND_DIFFUSE = 1001;
constexpr int32_t LMAT_KIND_PHONG = 1002;
constexpr int32_t LMAT_KIND_SPECULAR = 1003;
constexpr int32_t LMAT_COLOUR = 5000;
constexpr int32_t LMAT_PHONG_SPECULAR = 5001;
constexpr int32_t LMAT_PHONG_DIFFUSE = 5002;
constexpr int32_t LMAT_PHONG_EXPONENT = 5003;
constexpr int32_t LMAT_TRANSPARENT = 5004;
constexpr int32_t LMAT_IOR = 5005;
constexpr int32_t LMAT_CAUCHY_B_COEFF = 5006;
constexpr int32_t LMAT_TRANSMISSION_COLOUR = 5007;
constexpr int32_t LMAT_NORMAL_REFLECTANCE = 5008;
constexpr int32_t LMAT_NK_DATA = 5010;
constexpr int32_t LMAT_NK_DATA_NONE = 5011;
/// Choice code of catalogue entry 0; entry i is kNkDataFirstEntry + i.
constexpr int32_t kNkDataFirstEntry = 5012;

/// The message after which the saver forgets the last export file.
constexpr int32_t kMessageForgetLastExport = 1001078;

// Host material parameters.
constexpr int32_t MATERIAL_COLOUR = 2100;            // vector: diffuse colour
constexpr int32_t MATERIAL_SPECULAR_COLOUR = 3100;   // vector: phong specular colour
constexpr int32_t MATERIAL_SPECULAR_WIDTH = 3101;    // real: phong exponent / 10000, reflectance
constexpr int32_t MATERIAL_TRANSMISSION = 2400;      // vector: transparency colour
constexpr int32_t MATERIAL_REFLECTANCE = 2501;       // real: normal reflectance of reflection
constexpr int32_t MATERIAL_REFRACTION = 1005;        // real: index of refraction
/// real: the dispersion coefficient, a parameter the two releases number differently.
#if LUMENO_HOST_RELEASE >= 95
constexpr int32_t MATERIAL_DISPERSION = 8020;
#else
constexpr int32_t MATERIAL_DISPERSION = 1120;
#endif
