#include "export/merge_targets.h"

#include <cstring>

HostMaterial* TargetMaterialNamed(const MergeTargets& targets, int32_t which, const char* name) {
    if (!name || std::strncmp(name, "Mat_", 4) != 0) return nullptr;
    const char* digits = name + 4;
    // Only the form "%d" prints: no sign, no leading zero, nothing after the number.
    if (digits[0] < '0' || digits[0] > '9' || (digits[0] == '0' && digits[1] != '\0')) return nullptr;
    int64_t index = 0;
    for (const char* c = digits; *c; ++c) {
        if (*c < '0' || *c > '9') return nullptr;
        index = index * 10 + (*c - '0');
        if (index >= targets.materialCount) return nullptr;
    }
    HostMaterial** materials = targets.materials[which];
    return materials ? materials[index] : nullptr;
}
