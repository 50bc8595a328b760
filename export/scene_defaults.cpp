#include "export/scene_defaults.h"

#include "export/xml_helpers.h"

namespace {

// Two blanks before encoding, one before "?>": the declaration as the renderer has always read it.
constexpr const char* kSceneTemplate =
    "<?xml version=\"1.0\"  encoding=\"utf-16\" ?>\n"
    "<scene></scene>";

} // namespace

TiXmlElement* ParseSceneTemplate(TiXmlDocument& document) {
    document.Parse(kSceneTemplate);
    if (document.Error()) return nullptr;
    return document.FirstChildElement("scene");
}

void AppendDefaultMaterial(TiXmlElement* scene) {
    if (!scene) return;
    TiXmlElement material("material");
    AddTextChild(&material, "name", kDefaultMaterialName);
    TiXmlElement diffuse("diffuse");
    AddTextChild(&diffuse, "colour", "0.8 0.8 0.8");
    material.InsertEndChild(diffuse);
    scene->InsertEndChild(material);
}

void PrependDefaultBackground(TiXmlElement* scene) {
    if (!scene) return;
    TiXmlElement background("background");
    AddTextChild(&background, "radiance", "0.0 0.2 0.2");
    PrependToScene(scene, background);
}
