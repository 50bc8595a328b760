#include "host/preview/scene_file_reader.h"

#include <tinyxml.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <system_error>

#include "host/plugins/host_error.h"
#include "host/preview/material_looks.h"
#include "host/preview/mesh_file_loader.h"
#include "host/preview/scene_values.h"
#include "host/preview/xml_nesting.h"

namespace host {
namespace {

constexpr const char* defaultMaterialName = "lumeno_default_material";

std::string readText(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) throw HostError(file.string() + ": no such file");
    if (std::filesystem::is_directory(file, error)) throw HostError(file.string() + ": it is a folder");
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) throw HostError(file.string() + ": cannot be read");
    return text.str();
}

float length(Vec3 v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

PreviewCamera readCamera(const TiXmlElement& camera) {
    PreviewCamera result;
    result.position = vectorChild(camera, "pos");
    result.up = vectorChild(camera, "up");
    result.forwards = vectorChild(camera, "forwards");
    result.sensorWidth = realChild(camera, "sensor_width");
    result.lensSensorDistance = realChild(camera, "lens_sensor_dist");
    result.aspectRatio = realChild(camera, "aspect_ratio");
    if (length(result.forwards) <= 0) throw SceneFault(wherePlaced(camera, "forwards") + ": no direction (0 0 0)");
    if (length(cross(result.forwards, result.up)) <= 1e-6f * length(result.forwards) * length(result.up))
        throw SceneFault(wherePlaced(camera, "up") + ": not a direction across forwards");
    if (result.sensorWidth <= 0) throw SceneFault(wherePlaced(camera, "sensor_width") + ": not above 0");
    if (result.lensSensorDistance <= 0) throw SceneFault(wherePlaced(camera, "lens_sensor_dist") + ": not above 0");
    if (result.aspectRatio <= 0) throw SceneFault(wherePlaced(camera, "aspect_ratio") + ": not above 0");
    return result;
}

/// What the scene's elements define by name, gathered before anything refers to it.
struct Definitions {
    std::map<std::string, Look> materials;
    std::map<std::string, std::vector<MeshPart>> meshes;

    const Look* material(const std::optional<std::string>& name) const {
        if (!name) return nullptr;
        auto found = materials.find(*name);
        return found == materials.end() ? nullptr : &found->second;
    }
    Look defaultLook() const {
        auto found = materials.find(defaultMaterialName);
        return found == materials.end() ? Look{defaultGrey, false, {}, 1} : found->second;
    }
};

std::vector<MeshPart> readMesh(const TiXmlElement& mesh, const std::filesystem::path& folder) {
    const TiXmlElement* external = mesh.FirstChildElement("external");
    if (!external) throw SceneFault(wherePlaced(mesh, "external") + ": missing (the mesh names no file)");
    std::filesystem::path path = childText(*external, "path").value_or("");
    if (path.empty()) throw SceneFault(wherePlaced(*external, "path") + ": missing");
    try {
        return loadMeshFile(path.is_absolute() ? path : folder / path);
    } catch (const HostError& error) {
        throw SceneFault(wherePlaced(mesh) + ": " + error.what());
    }
}

Definitions readDefinitions(const TiXmlElement& scene, const std::filesystem::path& folder) {
    Definitions definitions;
    for (const TiXmlElement* e = scene.FirstChildElement(); e; e = e->NextSiblingElement()) {
        std::string kind = e->Value();
        if (kind == "material") {
            // Of two materials with one name the renderer can keep only one; the first stays.
            Look look = materialLook(*e);
            // A relative texture name counts from the scene file's folder, as the renderer reads it.
            if (!look.texture.empty() && std::filesystem::path(look.texture).is_relative())
                look.texture = (folder / look.texture).string();
            definitions.materials.emplace(childText(*e, "name").value_or(""), std::move(look));
        } else if (kind == "mesh") {
            std::optional<std::string> name = childText(*e, "name");
            if (!name) throw SceneFault(wherePlaced(*e, "name") + ": missing");
            definitions.meshes[*name] = readMesh(*e, folder);
        }
    }
    return definitions;
}

/// The look of a face of a model without a material of its own: its material in the mesh file.
Look faceLook(const MeshPart& part, const Definitions& definitions) {
    if (const Look* look = definitions.material(part.material)) return *look;
    if (!part.material.empty() && part.diffuse) return {*part.diffuse, false, {}, 1};
    return definitions.defaultLook();
}

/// A `model` or `meshlight`: its mesh's triangles placed by `pos` and `scale`.
void addPlacedMesh(const TiXmlElement& element, const Definitions& definitions, PreviewScene& scene) {
    std::optional<std::string> meshName = childText(element, "mesh_name");
    if (!meshName) throw SceneFault(wherePlaced(element, "mesh_name") + ": missing");
    auto mesh = definitions.meshes.find(*meshName);
    if (mesh == definitions.meshes.end())
        throw SceneFault(wherePlaced(element, "mesh_name") + ": no mesh is named \"" + *meshName + "\"");
    Vec3 position = vectorChild(element, "pos", Vec3{});
    float scale = realChild(element, "scale", 1.0f);
    bool emits = std::string(element.Value()) == "meshlight";
    Look emitter = emits ? emitterLook(element.FirstChildElement("spectrum")) : Look{};
    const Look* own = definitions.material(childText(element, "material_name"));
    for (const MeshPart& part : mesh->second) {
        TriangleBatch batch{emits ? emitter : own ? *own : faceLook(part, definitions), {}, {}};
        if (!batch.look.texture.empty() && part.uvs.size() == part.corners.size()) batch.uvs = part.uvs;
        batch.corners.reserve(part.corners.size());
        for (Vec3 p : part.corners)
            batch.corners.push_back({position.x + scale * p.x, position.y + scale * p.y, position.z + scale * p.z});
        scene.batches.push_back(std::move(batch));
    }
}

Look shapeLook(const TiXmlElement& element, const Definitions& definitions) {
    const Look* own = definitions.material(childText(element, "material_name"));
    return own ? *own : definitions.defaultLook();
}

void readElements(const TiXmlElement& sceneElement, const Definitions& definitions, PreviewScene& scene) {
    for (const TiXmlElement* e = sceneElement.FirstChildElement(); e; e = e->NextSiblingElement()) {
        std::string kind = e->Value();
        if (kind == "model" || kind == "meshlight") {
            addPlacedMesh(*e, definitions, scene);
        } else if (kind == "sphere") {
            scene.spheres.push_back({vectorChild(*e, "center"), realChild(*e, "radius"), shapeLook(*e, definitions)});
        } else if (kind == "plane") {
            Vec3 normal = vectorChild(*e, "normal");
            float size = length(normal);
            // A plane without a normal (the exporter writes 0 0 0 for a flattened one) has no side to draw.
            if (size <= 0) continue;
            scene.planes.push_back({{normal.x / size, normal.y / size, normal.z / size},
                                    realChild(*e, "dist"), shapeLook(*e, definitions)});
        } else if (kind == "rectanglelight") {
            scene.rectangleLights.push_back({vectorChild(*e, "pos"), realChild(*e, "width"), realChild(*e, "height"),
                                             emitterLook(e->FirstChildElement("spectrum"))});
        } else if (kind == "background") {
            Vec3 radiance = vectorChild(*e, "radiance", Vec3{});
            scene.background = {std::clamp(radiance.x, 0.0f, 1.0f), std::clamp(radiance.y, 0.0f, 1.0f),
                                std::clamp(radiance.z, 0.0f, 1.0f)};
        } else if (kind == "renderer_settings") {
            scene.rendererSize = PictureSize{integerChild(*e, "width"), integerChild(*e, "height")};
        }
    }
}

} // namespace

PreviewScene readPreviewScene(const std::filesystem::path& file) {
    std::string text = readText(file);
    checkElementNesting(text, file);
    TiXmlDocument xml;
    xml.Parse(text.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    if (xml.Error())
        throw HostError(file.string() + ": line " + std::to_string(xml.ErrorRow()) + ": not a scene file (" +
                        xml.ErrorDesc() + ")");
    const TiXmlElement* root = xml.RootElement();
    if (!root || std::string(root->Value()) != "scene") throw HostError(file.string() + ": not a scene file (no scene element)");
    try {
        const TiXmlElement* camera = root->FirstChildElement("camera");
        if (!camera) throw SceneFault("no camera element: the scene cannot be seen from anywhere");
        PreviewScene scene;
        scene.camera = readCamera(*camera);
        Definitions definitions = readDefinitions(*root, file.parent_path());
        readElements(*root, definitions, scene);
        return scene;
    } catch (const SceneFault& fault) {
        throw HostError(file.string() + ": " + fault.what());
    }
}

} // namespace host
