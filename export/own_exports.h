// A copy of an object carries the object's children. A child that the walk exports by itself, or
// that its object tag excludes, must not appear in its parent's mesh as well; a child without an
// export of its own stays there and takes the parent's material, as in the application.
#pragma once

#include "export/export_context.h"
#include "host_types.h"

/// How an object below an exported object stands in that object's mesh.
enum class OwnExport {
    None,         // no export of its own: it stays in its parent's mesh
    WithSubtree,  // its own mesh or mesh light, which holds its subtree: it leaves with it
    ObjectOnly,   // a sphere or plane written as a shape, or excluded: it leaves, its
                  // descendants without an export of their own stay where they stood
};

/// The standing of `object` as the walk of the same save judges it.
OwnExport OwnExportOf(const ExportContext& context, HostObject* object);

/// Takes out of `copy` (a copy with flags 0 of `original`, already in `meshDocument`) every
/// descendant that has an export of its own. Descendants of an object that leaves alone are moved
/// up to its place with their world placement kept.
void LeaveOutOwnExports(const ExportContext& context, const HostObject* original, HostObject* copy,
                        HostDocument* meshDocument);
