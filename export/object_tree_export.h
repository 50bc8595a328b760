// The per-object strategy's walk over the object tree: one 3DS mesh file and one `mesh` element
// per exported object in the mesh pass; in the element pass one `model` (or `meshlight`) per mesh,
// and the `sphere`, `plane` and `rectanglelight` of spheres, planes and area lights.
#pragma once

#include "export/export_context.h"
#include "host_types.h"

/// Walks `object`, its following siblings and, depth first, everything below them; `parentWorld`
/// is the world matrix of their parent (the identity for the top level). With `meshPass` it
/// writes the mesh files and `mesh` elements, else the placed elements; both passes number the
/// meshes alike from `meshCounter`.
void ExportObjectTree(ExportContext& context, HostObject* object, const HostMatrix& parentWorld, bool meshPass);
