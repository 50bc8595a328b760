// The colour in which the preview draws a renderer material or emitter: the material's own
// colour, lit; an emitter at full brightness in its spectrum's colour.
#pragma once

#include "host/preview/preview_scene.h"

class TiXmlElement;

namespace host {

/// The grey of a surface without a material of its own (that of "lumeno_default_material").
constexpr Colour defaultGrey{0.8f, 0.8f, 0.8f};

/// The look of a `material` element by its form:
/// - `diffuse`: its `colour`;
/// - `phong`: its `diffuse` (the default grey when it names `nk_data` instead);
/// - `specular` with `transparent` "true": the colour it lets through, one minus `rgb_absorptivity`,
///   see-through (opacity 0.35);
/// - `specular` otherwise (a mirror or metal) and unknown forms: the default grey.
/// and the `path` of the form's `albedo_texture`, as written. Throws SceneFault for a colour that is
/// not three numbers.
Look materialLook(const TiXmlElement& material);

/// The look of an emitter with this `spectrum` element (none: white): an `rgb` spectrum in its
/// colour brightened to full strength, a blackbody or peak spectrum white.
Look emitterLook(const TiXmlElement* spectrum);

} // namespace host
