#include "export/xml_helpers.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <locale.h>

#include "frame/host_text.h"

namespace {

/// The "C" locale, made once; none only if the C library cannot make it.
locale_t CLocale() {
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

/// Text of a comment: at most this many characters of the caller's text.
constexpr size_t kCommentTextLimit = 240;

} // namespace

bool FormatC(char* buffer, size_t size, const char* format, ...) {
    if (!buffer || size == 0) return false;
    // The host may run under any locale; the scene file's numbers always use a point.
    locale_t previous = static_cast<locale_t>(nullptr);
    if (CLocale()) previous = uselocale(CLocale());
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer, size, format, args);
    va_end(args);
    if (previous) uselocale(previous);
    if (written < 0) {
        buffer[0] = '\0';
        return false;
    }
    return static_cast<size_t>(written) < size;
}

ValueText RealText(float value) {
    ValueText out;
    FormatC(out.text, sizeof out.text, "%f", static_cast<double>(value));
    return out;
}

ValueText IntegerText(int32_t value) {
    ValueText out;
    FormatC(out.text, sizeof out.text, "%d", static_cast<int>(value));
    return out;
}

ValueText VectorText(HostVector value) {
    ValueText out;
    FormatC(out.text, sizeof out.text, "%f %f %f", static_cast<double>(value.x),
            static_cast<double>(value.y), static_cast<double>(value.z));
    return out;
}

ValueText PointText(HostVector point, float multiplier) {
    // The product stays a 32-bit real, as the host's own arithmetic would give it.
    float x = point.x * multiplier;
    float y = point.y * multiplier;
    float z = point.z * multiplier;
    return VectorText(HostVector{x, z, y});
}

ValueText DirectionText(HostVector direction) {
    return VectorText(HostVector{direction.x, direction.z, direction.y});
}

const char* BoolText(bool value) { return value ? "true" : "false"; }

TiXmlElement* LinkChild(TiXmlNode* parent, ElementPtr child) {
    if (!parent || !child) return nullptr;
    TiXmlNode* added = parent->LinkEndChild(child.release());
    return added ? added->ToElement() : nullptr;
}

TiXmlElement* AddTextChild(TiXmlNode* parent, const char* name, const char* text) {
    if (!parent || !name) return nullptr;
    ElementPtr element = NewElement(name);
    element->LinkEndChild(new TiXmlText(text ? text : ""));
    return LinkChild(parent, std::move(element));
}

void AppendMeshElement(TiXmlElement* scene, const char* meshName, const char* path) {
    ElementPtr mesh = NewElement("mesh");
    AddTextChild(mesh.get(), "name", meshName);
    ElementPtr external = NewElement("external");
    AddTextChild(external.get(), "path", path);
    LinkChild(mesh.get(), std::move(external));
    LinkChild(scene, std::move(mesh));
}

TiXmlComment MakeComment(const char* text) {
    // "<!--" + at most 240 characters + "-->" + zero fits 256 bytes.
    char buffer[256] = {};
    std::strcpy(buffer, "<!--");
    // Cut at a character boundary, so a long name never leaves half a character behind.
    CopyTextCut(buffer + 4, kCommentTextLimit + 1, text);
    std::strcat(buffer, "-->");
    TiXmlComment comment;
    comment.Parse(buffer, nullptr, TIXML_ENCODING_UNKNOWN);
    return comment;
}

TiXmlNode* PrependToScene(TiXmlElement* scene, const TiXmlNode& node) {
    if (!scene) return nullptr;
    TiXmlNode* first = scene->FirstChild();
    return first ? scene->InsertBeforeChild(first, node) : scene->InsertEndChild(node);
}
