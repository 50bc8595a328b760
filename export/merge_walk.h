// The merge walk over the polygonized copy of the document: every polygon object that is not
// excluded, not named "_SKIP_" and has a material goes as a copy into the smooth or the
// unsmoothed target; one with a light tag becomes a mesh light of its own.
#pragma once

#include "export/export_context.h"
#include "export/merge_targets.h"
#include "host_types.h"

/// Walks `object`, its following siblings and everything below them, children before their
/// parent and a parent before its next sibling, without recursion; `parentWorld` is the world
/// matrix of their parent. Each object is removed from its document and freed once it is done
/// (its children are gone by then), so the walk leaves nothing of the level behind. A host
/// failure (no memory for a copy, a document, a level of the walk) sets
/// `meshRecords.hostFailed`; a mesh-light file that could not be written sets `fileFailed`.
void MergeObjectTree(ExportContext& context, HostObject* object, const MergeTargets& targets,
                     const HostMatrix& parentWorld);
