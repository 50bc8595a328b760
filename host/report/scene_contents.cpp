#include "host/report/scene_contents.h"

#include <tinyxml.h>

#include <cstring>
#include <sstream>

#include "host/plugins/host_error.h"

namespace host {
namespace {

/// The elements whose first child is the comment that names the object they were written for.
constexpr const char* namedElements[] = {"model", "meshlight", "sphere", "plane", "rectanglelight"};

std::string childText(const TiXmlElement& element, const char* name) {
    const TiXmlElement* child = element.FirstChildElement(name);
    return child && child->GetText() ? child->GetText() : "";
}

bool isNamedElement(const char* name) {
    for (const char* named : namedElements)
        if (std::strcmp(name, named) == 0) return true;
    return false;
}

bool isZeroVector(const std::string& text) {
    std::istringstream in(text);
    double x = 1, y = 1, z = 1;
    return static_cast<bool>(in >> x >> y >> z) && x == 0 && y == 0 && z == 0;
}

/// Every `*_texture` element below a material, with its `path`.
void collectTextures(const TiXmlElement& parent, const std::string& material, SceneContents& contents) {
    for (const TiXmlElement* child = parent.FirstChildElement(); child; child = child->NextSiblingElement()) {
        const std::string name = child->Value();
        if (name.size() > 8 && name.compare(name.size() - 8, 8, "_texture") == 0)
            contents.textures.push_back({material, childText(*child, "path")});
        else
            collectTextures(*child, material, contents);
    }
}

} // namespace

SceneContents readSceneContents(const std::filesystem::path& sceneFile) {
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
            if (first && first->ToComment()) contents.namedObjects.insert(first->Value());
        } else if (std::strcmp(name, "material") == 0) {
            collectTextures(*element, childText(*element, "name"), contents);
        } else if (std::strcmp(name, "skylight") == 0 && element->FirstChildElement("sundir")) {
            contents.sunWithoutDirection = contents.sunWithoutDirection || isZeroVector(childText(*element, "sundir"));
        }
    }
    return contents;
}

} // namespace host
