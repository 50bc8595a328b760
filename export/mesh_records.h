// What the mesh pass made of each object: the mesh number it gave it and whether the host wrote
// its file. The element pass places exactly those meshes, so both passes number alike even when
// a conversion or a file fails, and nothing refers to a file that is missing.
#pragma once

#include <cstdint>

#include "host_types.h"

struct MeshRecord {
    const HostObject* object;
    int32_t number;  // the mesh number, "meshName_N"
    bool written;    // the host wrote its 3DS file
};

struct MeshRecords {
    MeshRecord* records;  // in walk order, in host memory
    int32_t count;
    int32_t capacity;
    int32_t cursor;       // where the element pass stands
    bool fileFailed;      // a mesh file could not be written: the save answers -1
    bool hostFailed;      // the host could not copy or convert an object, or no memory was
                          // left for a record: the save answers -7
};

/// Records mesh `number` of `object`. When no memory is left for it, the element pass will not
/// place that mesh and the save answers -7.
void AddMeshRecord(MeshRecords& records, const HostObject* object, int32_t number, bool written);

/// The record of `object` if the mesh pass made a mesh of it; asked in walk order, so a whole
/// pass costs one walk over the records.
const MeshRecord* TakeMeshRecord(MeshRecords& records, const HostObject* object);

/// Gives the records back to the host.
void ReleaseMeshRecords(MeshRecords& records);
