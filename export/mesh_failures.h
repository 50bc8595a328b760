// The meshes of one save whose 3DS file the host could not write. The save leaves them out of the
// scene file, so nothing refers to a file that is missing, and then answers that it failed.
#pragma once

#include <cstdint>

struct MeshFailures {
    int32_t* numbers;       // mesh numbers in ascending order, in host memory
    int32_t count;
    int32_t capacity;
    int32_t cursor;         // where the ascending questions stand in `numbers`
    bool listIncomplete;    // the list could not grow: every number from firstUnlisted failed
    int32_t firstUnlisted;
    bool any;               // a mesh file failed in this save
};

/// Records that mesh `number` (numbers come in ascending order) could not be written. When no
/// memory is left for the list, every mesh from `number` on counts as failed, so the scene file
/// never refers to a file that may be missing.
void NoteMeshFailure(MeshFailures& failures, int32_t number);

/// Whether mesh `number` could not be written. Asked in ascending order (the element pass),
/// so a whole pass costs one walk over the list.
bool IsFailedMesh(MeshFailures& failures, int32_t number);

/// Gives the list back to the host.
void ReleaseMeshFailures(MeshFailures& failures);
