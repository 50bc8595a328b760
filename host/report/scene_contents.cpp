#include "host/report/scene_contents.h"

#include <expat.h>
#include <tinyxml.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

#include "host/plugins/host_error.h"
#include "host/report/scene_events.h"
#include "host/report/scene_scan.h"

namespace host {
namespace {

/// The parser reads the file's bytes as Latin-1 (the module writes bytes, whatever the file
/// declares) and hands them on as UTF-8: back to the bytes the module wrote.
std::string bytesOf(const XML_Char* text, std::size_t length) {
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0xC0 && i + 1 < length) {
            out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F));
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

/// The strict parser's events handed to the scene's events as bytes. The parser is asked for text
/// only while it matters.
class ExpatEvents {
public:
    ExpatEvents(XML_Parser parser, SceneEvents& events) : parser_(parser), events_(events) {}

    static void XMLCALL start(void* self, const XML_Char* name, const XML_Char**) {
        auto* me = static_cast<ExpatEvents*>(self);
        me->events_.opened(name);
        me->listenForText();
    }
    static void XMLCALL end(void* self, const XML_Char*) {
        auto* me = static_cast<ExpatEvents*>(self);
        me->events_.closed();
        me->listenForText();
    }
    static void XMLCALL text(void* self, const XML_Char* data, int length) {
        const std::string bytes = bytesOf(data, static_cast<std::size_t>(length));
        static_cast<ExpatEvents*>(self)->events_.characters(bytes.data(), bytes.size());
    }
    static void XMLCALL comment(void* self, const XML_Char* data) {
        auto* me = static_cast<ExpatEvents*>(self);
        const std::string bytes = bytesOf(data, std::strlen(data));
        me->events_.commented(bytes.data(), bytes.size());
        me->listenForText();
    }

private:
    XML_Parser parser_;
    SceneEvents& events_;
    bool hearingText_ = false;

    void listenForText() {
        const bool wanted = events_.wantsText();
        if (wanted != hearingText_) {
            XML_SetCharacterDataHandler(parser_, wanted ? text : nullptr);
            hearingText_ = wanted;
        }
    }
};

SceneContents sortedNames(SceneContents contents) {
    // Views are sorted, not the strings: a deque's iterators and the strings' swaps made sorting
    // the names of 10,000 objects cost more than reading them.
    std::vector<std::string_view> views(contents.namedObjects.begin(), contents.namedObjects.end());
    std::sort(views.begin(), views.end());
    views.erase(std::unique(views.begin(), views.end()), views.end());
    std::deque<std::string> sorted;
    for (const std::string_view name : views) sorted.emplace_back(name);
    contents.namedObjects = std::move(sorted);
    return contents;
}

std::string childText(const TiXmlElement& element, const char* name) {
    const TiXmlElement* child = element.FirstChildElement(name);
    return child && child->GetText() ? child->GetText() : "";
}

void collectTextures(const TiXmlElement& parent, const std::string& material, SceneContents& contents) {
    for (const TiXmlElement* child = parent.FirstChildElement(); child; child = child->NextSiblingElement()) {
        if (isTextureElement(child->Value())) contents.textures.push_back({material, childText(*child, "path")});
        else collectTextures(*child, material, contents);
    }
}

/// The reader of last resort: TinyXML takes what a strict parser refuses (a character reference
/// to a control character in a name, say), as the renderer's own parser does.
SceneContents readLeniently(const std::filesystem::path& sceneFile) {
    TiXmlDocument xml;
    if (!xml.LoadFile(sceneFile.string().c_str(), TIXML_ENCODING_LEGACY))
        throw HostError(sceneFile.string() + ": cannot be read back as XML: " + xml.ErrorDesc());
    const TiXmlElement* scene = xml.RootElement();
    if (!scene || std::strcmp(scene->Value(), "scene") != 0)
        throw HostError(sceneFile.string() + ": holds no scene element");
    SceneContents contents;
    for (const TiXmlElement* element = scene->FirstChildElement(); element; element = element->NextSiblingElement()) {
        const char* name = element->Value();
        ++contents.elements[name];
        if (isNamedElement(name)) {
            const TiXmlNode* first = element->FirstChild();
            if (first && first->ToComment()) contents.namedObjects.push_back(first->Value());
        } else if (std::strcmp(name, "material") == 0) {
            collectTextures(*element, childText(*element, "name"), contents);
        } else if (std::strcmp(name, "skylight") == 0 && element->FirstChildElement("sundir")) {
            contents.sunWithoutDirection = contents.sunWithoutDirection || isZeroVector(childText(*element, "sundir"));
        }
    }
    return sortedNames(std::move(contents));
}

} // namespace

bool SceneContents::names(const std::string& comment) const {
    return std::binary_search(namedObjects.begin(), namedObjects.end(), comment);
}

SceneContents parseSceneContents(const std::filesystem::path& sceneFile) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(sceneFile.c_str(), "rb"), std::fclose);
    if (!file) throw HostError(sceneFile.string() + ": cannot be read back: " + std::strerror(errno));
    std::unique_ptr<std::remove_pointer_t<XML_Parser>, void (*)(XML_Parser)> parser(XML_ParserCreate("ISO-8859-1"),
                                                                                     XML_ParserFree);
    if (!parser) throw HostError(sceneFile.string() + ": cannot be read back: out of memory");
    SceneEvents events;
    ExpatEvents reader(parser.get(), events);
    XML_SetUserData(parser.get(), &reader);
    XML_SetElementHandler(parser.get(), ExpatEvents::start, ExpatEvents::end);
    XML_SetCommentHandler(parser.get(), ExpatEvents::comment);
    // The file is read straight into the parser's own buffer.
    constexpr int chunk = 1 << 18;
    for (;;) {
        void* buffer = XML_GetBuffer(parser.get(), chunk);
        if (!buffer) throw HostError(sceneFile.string() + ": cannot be read back: out of memory");
        const std::size_t got = std::fread(buffer, 1, chunk, file.get());
        if (std::ferror(file.get())) throw HostError(sceneFile.string() + ": cannot be read back: read error");
        const bool last = got < static_cast<std::size_t>(chunk);
        if (XML_ParseBuffer(parser.get(), static_cast<int>(got), last) != XML_STATUS_OK) return readLeniently(sceneFile);
        if (last) break;
    }
    if (!events.hadScene()) throw HostError(sceneFile.string() + ": holds no scene element");
    return sortedNames(std::move(events.contents));
}

SceneContents readSceneContents(const std::filesystem::path& sceneFile) {
    // Files as the module prints them take the quick way; anything else, a file that is no scene
    // included, goes to the parsers, whose messages name the file.
    std::optional<SceneContents> scanned = scanSceneContents(sceneFile);
    if (!scanned) return parseSceneContents(sceneFile);
    return sortedNames(std::move(*scanned));
}

} // namespace host
