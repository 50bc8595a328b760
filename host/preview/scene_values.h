// The values of a scene file's elements: texts of child elements read as numbers in the "C" form
// ("%f", "%d", "%f %f %f"), whatever the user's locale. A missing or unreadable value is a
// SceneFault that says where it is (line and element), so the reader can name the file with it.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "host/preview/preview_scene.h"

class TiXmlElement;

namespace host {

class SceneFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// "line 12: camera/pos" for the child `name` of `element` ("line 12: camera" without a name).
std::string wherePlaced(const TiXmlElement& element, const char* name = nullptr);

/// The text of the child element `name`, or none when there is no such child.
std::optional<std::string> childText(const TiXmlElement& element, const char* name);
/// The child's text as one number, three numbers, or a whole number; a missing child answers
/// the fallback, or is a fault when there is none.
float realChild(const TiXmlElement& element, const char* name, std::optional<float> fallback = std::nullopt);
Vec3 vectorChild(const TiXmlElement& element, const char* name, std::optional<Vec3> fallback = std::nullopt);
int integerChild(const TiXmlElement& element, const char* name);

} // namespace host
