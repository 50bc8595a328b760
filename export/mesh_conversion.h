// One exported object as a document of its own: what the host saves as the object's mesh file.
#pragma once

#include "export/export_context.h"
#include "host_types.h"

struct MeshConversion {
    HostDocument* meshDocument;  // polygonized, placed in world space; the caller frees it; or none
    bool smoothingOff;           // LOBJ_NO_NORMAL_SMOOTHING of the object's last object tag
    HostTag* lightTag;           // the object's last light tag, or none (also without a mesh)
    bool hostFailed;             // no mesh because the host could not copy or convert the object
};

/// Reads what the object's own tags say about its mesh: the smoothing of its last object tag and
/// its last light tag.
void ReadExportTags(const HostObject* object, MeshConversion& result);

/// Copies `object` with its children (less those that have an export of their own), the
/// materials of its texture tags that belong to the document and copies of those tags into a
/// new document, polygonizes it and places the result at `world`. No mesh document when the
/// object has neither such a material nor a light tag, when the result holds no triangle, or
/// when the host fails on the way (then `hostFailed`). Every document made on the way, other
/// than the result, is freed.
MeshConversion ConvertObjectToMesh(ExportContext& context, HostObject* object, const HostMatrix& world);
