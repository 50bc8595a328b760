// One exported object as a document of its own: what the host saves as the object's mesh file.
#pragma once

#include "export/export_context.h"
#include "host_types.h"

struct MeshConversion {
    HostDocument* meshDocument;  // polygonized, placed in world space; the caller frees it; or none
    bool smoothingOff;           // LOBJ_NO_NORMAL_SMOOTHING of the object's last object tag
    HostTag* lightTag;           // the object's last light tag, or none (also without a mesh)
};

/// Copies `object` with its children (less those that have an export of their own), the
/// materials of its texture tags that belong to the document and copies of those tags into a
/// new document, polygonizes it and places the result at `world`. No mesh document when the
/// object has neither such a material nor a light tag, when the host cannot make the documents,
/// or when the result holds no triangle. Every document made on the way is freed.
MeshConversion ConvertObjectToMesh(ExportContext& context, HostObject* object, const HostMatrix& world);
