// The one place where the scene file's values become text and elements are added. Every value
// is the text of a child element; numbers are printf-formatted in the "C" number format
// whatever the host process's locale is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include <tinyxml.h>

#include "host_types.h"

/// A formatted value, long enough for any "%f %f %f" of 32-bit reals.
struct ValueText {
    char text[160];
};

/// printf into `buffer` in the "C" number format. Answers false when the text had to be cut.
bool FormatC(char* buffer, size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));

/// "%f" of the value widened to double: 0.01 gives "0.010000", 1e-7 gives "0.000000".
ValueText RealText(float value);
/// "%d": 8 gives "8".
ValueText IntegerText(int32_t value);
/// "%f %f %f" in the order x, y, z (colours): (0.8, 0.2, 0.1) gives "0.800000 0.200000 0.100000".
ValueText VectorText(HostVector value);
/// A host point in the renderer's order x, z, y, each component times `multiplier`:
/// (1, 2, 3) with 0.01 gives "0.010000 0.030000 0.020000".
ValueText PointText(HostVector point, float multiplier);
/// A host direction in the order x, z, y, not scaled: (0, 1, 0) gives "0.000000 0.000000 1.000000".
ValueText DirectionText(HostVector direction);
/// "true" or "false".
const char* BoolText(bool value);

/// An element being built: it is linked into its parent when done, never copied.
using ElementPtr = std::unique_ptr<TiXmlElement>;
inline ElementPtr NewElement(const char* name) { return std::make_unique<TiXmlElement>(name); }

/// Appends `child` to `parent` (linked, not copied); a missing parent drops it. Answers the
/// appended element, or none.
TiXmlElement* LinkChild(TiXmlNode* parent, ElementPtr child);

/// Appends to `parent` an element `name` whose only child is a text node holding `text` (an
/// empty text gives an empty text node). Answers the appended element, or none.
TiXmlElement* AddTextChild(TiXmlNode* parent, const char* name, const char* text);

/// Appends to `scene` a `mesh` element: its `name`, and `external`/`path` the mesh file.
void AppendMeshElement(TiXmlElement* scene, const char* meshName, const char* path);

/// A comment whose text is `text` cut to 240 characters; a "-->" inside ends it there.
TiXmlComment MakeComment(const char* text);

/// Puts a scene-wide element in front of everything `scene` holds (appends it when `scene` is
/// empty), so the later of two prepended elements stands first. Answers the inserted copy.
TiXmlNode* PrependToScene(TiXmlElement* scene, const TiXmlNode& node);
