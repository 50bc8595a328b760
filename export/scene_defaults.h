// The scene file's fixed elements: the template, the default material and the default
// background.
#pragma once

#include <tinyxml.h>

/// The name under which models and primitives without a material of their own are shaded.
constexpr const char* kDefaultMaterialName = "lumeno_default_material";

/// Parses the template (declaration of version 1.0 and encoding "utf-16", one empty `scene`)
/// into `document`; answers its `scene` element, or none.
TiXmlElement* ParseSceneTemplate(TiXmlDocument& document);

/// Appends `material` with `name` "lumeno_default_material" and `diffuse`/`colour` "0.8 0.8 0.8".
void AppendDefaultMaterial(TiXmlElement* scene);

/// Puts `background` with `radiance` "0.0 0.2 0.2" first in `scene`.
void PrependDefaultBackground(TiXmlElement* scene);
