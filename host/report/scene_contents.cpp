#include "host/report/scene_contents.h"

#include <expat.h>
#include <tinyxml.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <utility>

#include "host/plugins/host_error.h"

namespace host {
namespace {

/// The elements whose first child is the comment that names the object they were written for.
constexpr const char* namedElements[] = {"model", "meshlight", "sphere", "plane", "rectanglelight"};

bool isNamedElement(const char* name) {
    for (const char* named : namedElements)
        if (std::strcmp(name, named) == 0) return true;
    return false;
}

bool isTextureElement(const std::string& name) {
    return name.size() > 8 && name.compare(name.size() - 8, 8, "_texture") == 0;
}

bool isZeroVector(const std::string& text) {
    std::istringstream in(text);
    double x = 1, y = 1, z = 1;
    return static_cast<bool>(in >> x >> y >> z) && x == 0 && y == 0 && z == 0;
}

bool isXmlSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

/// Text as the renderer's parser keeps it: no space at either end, every run of spaces one.
std::string condensed(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isXmlSpace(text[i])) {
            out += text[i];
        } else if (!out.empty() && i + 1 < text.size() && !isXmlSpace(text[i + 1])) {
            out += ' ';
        }
    }
    return out;
}

/// The parser reads the file's bytes as Latin-1 (the module writes bytes, whatever the file
/// declares) and hands them on as UTF-8: back to the bytes the module wrote.
std::string bytesOf(const XML_Char* text, int length) {
    std::string out;
    out.reserve(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0xC0 && i + 1 < length) {
            out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F));
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

/// One pass over the file's events, keeping only what the contents need: the elements below
/// `scene` are counted, and the few whose details the report uses are looked into.
class ContentsReader {
public:
    explicit ContentsReader(XML_Parser parser) : parser_(parser) {}

    SceneContents contents;

    static void XMLCALL start(void* self, const XML_Char* name, const XML_Char**) {
        static_cast<ContentsReader*>(self)->opened(name);
        static_cast<ContentsReader*>(self)->listenForText();
    }
    static void XMLCALL end(void* self, const XML_Char*) {
        static_cast<ContentsReader*>(self)->closed();
        static_cast<ContentsReader*>(self)->listenForText();
    }
    static void XMLCALL text(void* self, const XML_Char* data, int length) {
        static_cast<ContentsReader*>(self)->characters(data, length);
    }
    static void XMLCALL comment(void* self, const XML_Char* data) {
        static_cast<ContentsReader*>(self)->commented(data);
        static_cast<ContentsReader*>(self)->listenForText();
    }

    /// Text matters only while it is captured, or while a `scene` child has no first child yet
    /// (text there comes before a name comment). Elsewhere the parser is not asked to hand it
    /// over: most of a scene file is text no count needs.
    void listenForText() {
        const bool wanted = capturing_ || (depth_ == 2 && !topHasChild_);
        if (wanted != hearingText_) {
            XML_SetCharacterDataHandler(parser_, wanted ? text : nullptr);
            hearingText_ = wanted;
        }
    }

    bool hadScene() const { return sawScene_; }

private:
    /// Where the element being read stands.
    enum class Kind { Other, Named, Material, Sky, Texture };
    XML_Parser parser_;
    bool hearingText_ = false;
    int depth_ = 0;
    bool sawScene_ = false;
    Kind top_ = Kind::Other;       // the `scene` child being read
    bool topHasChild_ = false;     // it has a first child already
    int textureDepth_ = 0;         // depth of the open `*_texture` element, 0 when none
    std::size_t firstTexture_ = 0; // the open material's first texture
    bool capturing_ = false;       // collecting the text of an element
    bool captureIsFirst_ = false;  // ... and it is the element's first child so far
    std::string captured_;
    std::string* captureInto_ = nullptr;
    std::string materialName_;
    bool haveMaterialName_ = false, haveSundir_ = false, haveTexturePath_ = false;
    std::string sundir_;

    void childSeen() {
        if (depth_ == 2 && !topHasChild_) topHasChild_ = true;
    }

    void opened(const XML_Char* name) {
        flushCapture();
        ++depth_;
        if (depth_ == 1) {
            sawScene_ = std::strcmp(name, "scene") == 0;
            return;
        }
        if (depth_ == 2) {
            ++contents.elements[name];
            topHasChild_ = false;
            top_ = isNamedElement(name)                ? Kind::Named
                   : std::strcmp(name, "material") == 0 ? Kind::Material
                   : std::strcmp(name, "skylight") == 0 ? Kind::Sky
                                                        : Kind::Other;
            if (top_ == Kind::Material) {
                firstTexture_ = contents.textures.size();
                haveMaterialName_ = false;
                materialName_.clear();
            }
            if (top_ == Kind::Sky) haveSundir_ = false;
            return;
        }
        childSeen();
        if (top_ == Kind::Material) {
            if (depth_ == 3 && !haveMaterialName_ && std::strcmp(name, "name") == 0) {
                haveMaterialName_ = true;
                capture(&materialName_);
            } else if (textureDepth_ == 0 && isTextureElement(name)) {
                textureDepth_ = depth_;
                haveTexturePath_ = false;
                contents.textures.push_back({});
            } else if (textureDepth_ != 0 && depth_ == textureDepth_ + 1 && !haveTexturePath_ &&
                       std::strcmp(name, "path") == 0) {
                haveTexturePath_ = true;
                capture(&contents.textures.back().path);
            }
        } else if (top_ == Kind::Sky && depth_ == 3 && !haveSundir_ && std::strcmp(name, "sundir") == 0) {
            haveSundir_ = true;
            capture(&sundir_);
        }
    }

    void closed() {
        flushCapture();
        if (depth_ == textureDepth_) textureDepth_ = 0;
        if (depth_ == 2 && top_ == Kind::Material) {
            for (std::size_t i = firstTexture_; i < contents.textures.size(); ++i)
                contents.textures[i].material = materialName_;
        }
        if (depth_ == 2 && top_ == Kind::Sky && haveSundir_)
            contents.sunWithoutDirection = contents.sunWithoutDirection || isZeroVector(sundir_);
        --depth_;
    }

    void characters(const XML_Char* data, int length) {
        if (capturing_) {
            captured_ += bytesOf(data, length);
            return;
        }
        for (int i = 0; i < length; ++i) {
            if (!isXmlSpace(data[i])) {
                childSeen();
                return;
            }
        }
    }

    void commented(const XML_Char* data) {
        flushCapture();
        if (depth_ == 2 && top_ == Kind::Named && !topHasChild_)
            contents.namedObjects.push_back(bytesOf(data, static_cast<int>(std::strlen(data))));
        childSeen();
    }

    /// The text of the element just opened, if it is its first child.
    void capture(std::string* into) {
        capturing_ = true;
        captured_.clear();
        captureInto_ = into;
    }

    void flushCapture() {
        if (!capturing_) return;
        capturing_ = false;
        *captureInto_ = condensed(captured_);
    }
};

SceneContents sortedNames(SceneContents contents) {
    std::sort(contents.namedObjects.begin(), contents.namedObjects.end());
    contents.namedObjects.erase(std::unique(contents.namedObjects.begin(), contents.namedObjects.end()),
                                contents.namedObjects.end());
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

SceneContents readSceneContents(const std::filesystem::path& sceneFile) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(sceneFile.c_str(), "rb"), std::fclose);
    if (!file) throw HostError(sceneFile.string() + ": cannot be read back: " + std::strerror(errno));
    std::unique_ptr<std::remove_pointer_t<XML_Parser>, void (*)(XML_Parser)> parser(XML_ParserCreate("ISO-8859-1"),
                                                                                     XML_ParserFree);
    if (!parser) throw HostError(sceneFile.string() + ": cannot be read back: out of memory");
    ContentsReader reader(parser.get());
    XML_SetUserData(parser.get(), &reader);
    XML_SetElementHandler(parser.get(), ContentsReader::start, ContentsReader::end);
    XML_SetCommentHandler(parser.get(), ContentsReader::comment);
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
    if (!reader.hadScene()) throw HostError(sceneFile.string() + ": holds no scene element");
    return sortedNames(std::move(reader.contents));
}

} // namespace host
