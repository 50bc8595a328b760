// Finding the material helper tag of a material during a save. The tags are gathered in one
// walk over the document's objects (depth-first pre-order: an object's tags, then its children,
// then its next sibling), and each material takes the first of them whose linked material the
// host's comparison finds equal to it.
#pragma once

#include <cstdint>

#include "host_types.h"

struct ExportContext;

struct HelperTagEntry {
    HostTag* tag;
    HostMaterial* material; // the material it links to in the document
};

/// The helper tags of one document in walk order, in host memory.
struct HelperTagIndex {
    HostDocument* document; // the document walked; none before the first need
    HelperTagEntry* entries;
    int32_t count;
    int32_t capacity;
    bool incomplete;        // no memory was left for an entry: every search walks the tree instead
};

/// The helper tag that describes `material` in the context's document, or none. The first call
/// for a document walks its objects once; later calls only compare.
HostTag* FindMaterialHelperTag(ExportContext& context, HostMaterial* material);

/// Gives the index back to the host.
void ReleaseHelperTagIndex(HelperTagIndex& index);
