// The closing step of every placed element (model, mesh light, sphere, plane, rectangle light).
#pragma once

#include <tinyxml.h>

#include "export/export_context.h"
#include "export/xml_helpers.h"
#include "host_types.h"

/// In the element pass adds `material_name`: the name of the material of the object's first
/// texture tag that has one (only when there is a linked object and no material was written
/// yet; in the merged strategy the first material of the smooth target that the host's
/// comparison finds equal to it), else "lumeno_default_material" unless a material was written. Then puts the object's
/// name as a comment (240 characters kept) in front of the element's children and appends the
/// element to `scene`.
void FinishElement(ExportContext& context, ElementPtr element, const HostObject* object,
                   const HostObject* linked, bool materialWritten, bool meshPass);

/// The `scale` text of every placed mesh: the save's multiplier, formatted once per save.
const char* SceneScaleText(ExportContext& context);

/// A node's host name as 8-bit text of at most 255 characters.
struct NameText {
    char text[256];
};
NameText NodeNameText(const HostNode* node);

/// The material of the object's first texture tag that has a material, or none.
HostMaterial* FirstTextureMaterial(const HostObject* object);
