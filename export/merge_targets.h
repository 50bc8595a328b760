// The merged strategy's two target documents and their "Mat_%d" materials.
#pragma once

#include <cstdint>

#include "host_types.h"

struct MergeTargets {
    HostDocument* documents[2];        // (unsmoothed, smooth): what `targetDocuments` points to
    HostMaterial** materials[2];       // each target's material "Mat_i" at i, in host memory
    int32_t materialCount;             // entries of each array (a failed copy leaves none at i)
};

constexpr int32_t kUnsmoothedTarget = 0;
constexpr int32_t kSmoothTarget = 1;

/// The material of target `which` named exactly `name`, or none: the targets hold only the
/// names "Mat_%d" given in list order, so a name is looked up by its number, not searched.
HostMaterial* TargetMaterialNamed(const MergeTargets& targets, int32_t which, const char* name);
