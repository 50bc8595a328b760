// The merged strategy's primitive walk over the document copy: spheres and planes are renamed
// "_SKIP_%d" so that the merge walk passes their polygonized forms over; in the writing pass
// they and the rectangle lights are written as the renderer's analytic shapes.
#pragma once

#include "export/export_context.h"
#include "host_types.h"

/// Walks `first`, its following siblings and, depth first, everything below them, without
/// recursion; `parentWorld` is the world matrix of their parent. Each sphere or plane (or
/// instance of one) is named "_SKIP_k" with k = `skipCounter`, which then increases, in both
/// passes. With `markingPass` nothing is written; otherwise rectangle lights, spheres and planes
/// are written and finished with the merged material rule, named by their "_SKIP_" names.
void ExportPrimitiveTree(ExportContext& context, HostObject* first, const HostMatrix& parentWorld, bool markingPass);
