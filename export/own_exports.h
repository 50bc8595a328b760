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

/// A copy of `original` with its tags, inserted at the top level of `meshDocument`, holding of
/// its descendants only those that stay in its mesh: a descendant with a mesh of its own is never
/// copied, nor is its subtree; the descendants of one that leaves alone stand in its place with
/// their placement kept. Each object that stays is copied once, by itself, so the cost is that of
/// what stays. None when the host fails (what was inserted goes with the document).
HostObject* CopyWhatStays(const ExportContext& context, HostObject* original, HostDocument* meshDocument);
