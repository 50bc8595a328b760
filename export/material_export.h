// The material section: one `material` per host material of a document, in one of the four
// forms (transparent or opaque `specular`, `phong`, `diffuse`) with its textures and nk data.
// Its `name` is the host name converted as every `material_name` is (at most 255 bytes, cut at
// a character boundary), so both sides match byte for byte.
#pragma once

#include <tinyxml.h>

#include "export/export_context.h"
#include "host_types.h"

/// Appends a `material` for each material of `document`, in list order, to `parent`.
void WriteMaterialList(ExportContext& context, TiXmlElement* parent, HostDocument* document);

/// Writes the material's form element with its children and textures into `materialElement`.
/// Loads the saver's catalogue first while it is empty.
void WriteMaterial(ExportContext& context, HostMaterial* material, TiXmlElement& materialElement);

/// Appends `albedo_texture` (channel 0) and `bump_map` (channel 6) to the form element when the
/// channel is on and names a texture; gains and exponents from the helper tag (1.0 and 2.3
/// without one).
void WriteTextureMaps(ExportContext& context, TiXmlElement* formElement, HostMaterial* material);
