// What the object walk asks of an object before it exports it: its kind, its exclusion, its
// linked object and whether it has a material of the document.
#pragma once

#include <cstdint>

#include "export/export_context.h"
#include "host_types.h"

/// Light (5102), instance (5126), sphere (5160) and plane (5168) go to the primitive and light
/// exporters instead of becoming meshes.
bool IsPrimitiveDispatchType(int32_t type);

/// The object's first object tag (10005) sets LOBJ_EXCLUDE. A tag on a parent does not count.
bool IsExcluded(const HostObject* object);

/// The object the walk exports `object` as: the object itself, or for an instance the object its
/// link (1001) names in the document being saved; none for an empty or foreign link.
HostObject* LinkedObject(const ExportContext& context, HostObject* object);

/// Whether `material` is, by identity, one of the materials of `document`.
bool IsInMaterialList(const HostDocument* document, const HostMaterial* material);

/// Whether one of the object's texture tags applies a material of the document being saved.
bool HasDocumentMaterial(const ExportContext& context, const HostObject* object);
