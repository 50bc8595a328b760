#include "host/preview/scene_values.h"

#include <tinyxml.h>

#include <charconv>
#include <cmath>
#include <cstring>

namespace host {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

/// Reads numbers separated by white space; answers false unless exactly `count` finite ones are there.
bool readNumbers(const std::string& text, float* values, int count) {
    const char* at = text.data();
    const char* end = at + text.size();
    for (int i = 0; i < count; ++i) {
        while (at < end && isSpace(*at)) ++at;
        auto [next, error] = std::from_chars(at, end, values[i]);
        if (error != std::errc() || !std::isfinite(values[i])) return false;
        at = next;
        if (at < end && !isSpace(*at)) return false;
    }
    while (at < end && isSpace(*at)) ++at;
    return at == end;
}

std::string requiredText(const TiXmlElement& element, const char* name) {
    std::optional<std::string> text = childText(element, name);
    if (!text) throw SceneFault(wherePlaced(element, name) + ": missing");
    return *text;
}

} // namespace

std::string wherePlaced(const TiXmlElement& element, const char* name) {
    const TiXmlElement* child = name ? element.FirstChildElement(name) : nullptr;
    std::string where = "line " + std::to_string(child ? child->Row() : element.Row()) + ": " + element.Value();
    if (name) where += std::string("/") + name;
    return where;
}

std::optional<std::string> childText(const TiXmlElement& element, const char* name) {
    const TiXmlElement* child = element.FirstChildElement(name);
    if (!child) return std::nullopt;
    return std::string(child->GetText() ? child->GetText() : "");
}

float realChild(const TiXmlElement& element, const char* name, std::optional<float> fallback) {
    if (fallback && !element.FirstChildElement(name)) return *fallback;
    std::string text = requiredText(element, name);
    float value = 0;
    if (!readNumbers(text, &value, 1)) throw SceneFault(wherePlaced(element, name) + ": \"" + text + "\" is not a number");
    return value;
}

Vec3 vectorChild(const TiXmlElement& element, const char* name, std::optional<Vec3> fallback) {
    if (fallback && !element.FirstChildElement(name)) return *fallback;
    std::string text = requiredText(element, name);
    float values[3] = {};
    if (!readNumbers(text, values, 3))
        throw SceneFault(wherePlaced(element, name) + ": \"" + text + "\" is not three numbers");
    return {values[0], values[1], values[2]};
}

int integerChild(const TiXmlElement& element, const char* name) {
    std::string text = requiredText(element, name);
    int value = 0;
    const char* end = text.data() + text.size();
    auto [next, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || next != end)
        throw SceneFault(wherePlaced(element, name) + ": \"" + text + "\" is not a whole number");
    return value;
}

} // namespace host
