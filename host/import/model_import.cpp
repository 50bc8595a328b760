#include "host/import/model_import.h"

#include <cmath>
#include <unordered_map>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "host/import/camera_import.h"
#include "host/import/declared_sizes.h"
#include "host/import/framing_camera.h"
#include "host/import/import_error.h"
#include "host/import/material_import.h"
#include "host/import/mesh_import.h"
#include "host/import/model_text.h"
#include "host/import/sibling_names.h"
#include "host/model/object_params.h"
#include "host_constants.h"

namespace host::import {

namespace {

namespace df = docfile;
namespace fs = std::filesystem;

/// Deeper node trees are refused: a document file nests no deeper.
constexpr int maxDepth = 1000;

// The host's light kinds.
constexpr int32_t omniLight = 0, spotLight = 1, distantLight = 3, areaLight = 8;

/// The render-settings tag, which carries the camera's aspect ratio into the scene.
constexpr int32_t settingsTagId = 10000, aspectRatioParam = 1028;

class TreeImport {
public:
    TreeImport(const aiScene& scene, const Frame& frame, const CameraRules& cameraRules,
               const ImportedMaterials& materials, const ImportOptions& options, ImportedModel& model)
        : scene_(scene), frame_(frame), cameraRules_(cameraRules), materials_(materials), options_(options),
          model_(model), withMeshes_(!(scene.mFlags & AI_SCENE_FLAGS_INCOMPLETE)) {
        for (unsigned i = 0; i < scene.mNumCameras; ++i) cameras_.emplace(scene.mCameras[i]->mName.C_Str(), i);
        for (unsigned i = 0; i < scene.mNumLights; ++i) lights_.emplace(scene.mLights[i]->mName.C_Str(), i);
        camerasPlaced_.assign(scene.mNumCameras, false);
        lightsPlaced_.assign(scene.mNumLights, false);
    }

    void run() {
        SiblingNames top;
        std::vector<df::Object>& objects = model_.document.objects;
        node(*scene_.mRootNode, aiMatrix4x4(), objects, top, {}, "objects", 0);
        // Cameras and lights no node names stand at the top, in the model's frame.
        for (unsigned i = 0; i < scene_.mNumCameras; ++i)
            if (!camerasPlaced_[i]) objects.push_back(camera(i, df::Matrix{}, aiMatrix4x4(), top, {}, "objects"));
        for (unsigned i = 0; i < scene_.mNumLights; ++i)
            if (!lightsPlaced_[i])
                if (auto made = light(i, df::Matrix{}, top, {}, "objects")) objects.push_back(std::move(*made));
        if (!viewCamera_) frameTheModel(top);
        model_.counts.renamed += top.renamed();
        if (viewCamera_) {
            model_.document.view.kind = df::ViewKind::Camera;
            model_.document.view.camera = *viewCamera_;
            model_.document.view.path = "view";
        }
    }

private:
    static std::string listPath(const std::string& path, size_t index) {
        return path + "[" + std::to_string(index) + "]";
    }

    /// `parentGlobal` is the place of the node's parent in the model (assimp's frame).
    void node(const aiNode& source, const aiMatrix4x4& parentGlobal, std::vector<df::Object>& siblings,
              SiblingNames& names, df::ObjectPathNames parent, const std::string& listOf, int depth) {
        if (depth > maxDepth)
            throw ImportError("its nodes are nested more than " + std::to_string(maxDepth) + " levels deep");
        const df::Matrix placement = frame_.placement(source.mTransformation);
        const aiMatrix4x4 global = parentGlobal * source.mTransformation;
        const std::string wanted = modelText(source.mName);
        if (!isFinite(placement))
            throw ImportError("the node \"" + wanted + "\" has a placement that is not a finite number");
        const auto cameraFound = cameras_.find(source.mName.C_Str());
        const auto lightFound = lights_.find(source.mName.C_Str());
        const bool isCamera = cameraFound != cameras_.end() && !camerasPlaced_[cameraFound->second];
        const bool isLight = !isCamera && lightFound != lights_.end() && !lightsPlaced_[lightFound->second];
        const unsigned meshes = withMeshes_ ? source.mNumMeshes : 0;
        const bool bare = meshes == 0 && source.mNumChildren == 0;
        const std::string path = listPath(listOf, siblings.size());

        // A camera or light node with nothing else becomes the camera or light itself.
        if (bare && isCamera) {
            siblings.push_back(camera(cameraFound->second, placement, global, names, parent, listOf));
            return;
        }
        if (bare && isLight) {
            if (auto made = light(lightFound->second, placement, names, parent, listOf))
                siblings.push_back(std::move(*made));
            return;
        }

        df::Object object;
        object.path = path;
        object.type = TYPE_NULL;
        object.placement = placement;
        object.name = names.take(wanted, "Node");
        ++model_.counts.objects;
        df::ObjectPathNames own = parent;
        own.push_back(object.name);
        SiblingNames childNames;
        if (meshes == 1) {
            // One mesh: the node is that polygon object.
            if (auto mesh = meshObject(*scene_.mMeshes[source.mMeshes[0]], object.name, path, frame_, materials_,
                                       options_, model_)) {
                mesh->placement = placement;
                object = std::move(*mesh);
            }
        } else {
            for (unsigned m = 0; m < meshes; ++m) {
                const aiMesh& mesh = *scene_.mMeshes[source.mMeshes[m]];
                const std::string name = childNames.take(modelText(mesh.mName), "Mesh");
                auto made = meshObject(mesh, name, listPath(path + ".children", object.children.size()), frame_,
                                       materials_, options_, model_);
                if (!made) continue;
                object.children.push_back(std::move(*made));
                ++model_.counts.objects;
            }
        }
        if (isCamera)
            object.children.push_back(
                camera(cameraFound->second, df::Matrix{}, global, childNames, own, path + ".children"));
        if (isLight)
            if (auto made = light(lightFound->second, df::Matrix{}, childNames, own, path + ".children"))
                object.children.push_back(std::move(*made));
        for (unsigned c = 0; c < source.mNumChildren; ++c)
            node(*source.mChildren[c], global, object.children, childNames, own, path + ".children", depth + 1);
        model_.counts.renamed += childNames.renamed();
        siblings.push_back(std::move(object));
    }

    /// The camera `index` as an object placed by `placement`, whose frame (`placement` within its
    /// parent) stands at `frame` in the model.
    df::Object camera(unsigned index, const df::Matrix& placement, const aiMatrix4x4& frame, SiblingNames& names,
                      df::ObjectPathNames parent, const std::string& listOf) {
        const aiCamera& source = *scene_.mCameras[index];
        camerasPlaced_[index] = true;
        df::Object object;
        object.path = listOf + "[camera " + std::to_string(index) + "]";
        object.type = TYPE_CAMERA;
        object.name = names.take(modelText(source.mName), "Camera");
        const CameraView view = cameraRules_.view(source, frame, scene_.mRootNode->mTransformation);
        object.placement = compose(placement, frame_.aim(view.position, view.look, view.up));
        if (!isFinite(*object.placement))
            throw ImportError("the camera \"" + object.name + "\" has a placement that is not a finite number");
        if (view.horizontalAngle)
            object.params.push_back(numberedParam(object.path, CAMERA_FIELD_OF_VIEW, *view.horizontalAngle));
        object.params.push_back(numberedParam(object.path, CAMERA_FILM_WIDTH, double(DEFAULT_FILM_WIDTH)));
        ++model_.counts.cameras;
        ++model_.counts.objects;
        parent.push_back(object.name);
        if (index == 0) {
            viewCamera_ = parent;
            // The view's camera carries its frame's proportions to the scene; every other setting
            // of the tag keeps a new tag's value.
            if (view.aspect) {
                df::Tag settings;
                settings.path = object.path.text() + ".tags[0]";
                settings.kind = df::TagKind::Plugin;
                settings.pluginId = settingsTagId;
                settings.params.push_back(numberedParam(settings.path.text(), aspectRatioParam, *view.aspect));
                object.tags.push_back(std::move(settings));
            }
        }
        return object;
    }

    /// A model without a camera of its own is seen through one that frames all its geometry.
    void frameTheModel(SiblingNames& names) {
        const std::optional<Bounds> box = geometryBounds(model_.document.objects);
        if (!box) return;
        df::Object object;
        object.path = "objects[framing camera]";
        object.type = TYPE_CAMERA;
        object.name = names.take("Camera", "Camera");
        object.placement = framingPlacement(*box);
        if (!isFinite(*object.placement)) return;
        object.params.push_back(numberedParam(object.path, CAMERA_FIELD_OF_VIEW, framingAngle));
        object.params.push_back(numberedParam(object.path, CAMERA_FILM_WIDTH, double(DEFAULT_FILM_WIDTH)));
        viewCamera_ = df::ObjectPathNames{object.name};
        model_.notes.push_back("the model has no camera: the view's camera \"" + object.name +
                               "\" frames all of it, from the front, " + std::to_string(int(framingTurnDegrees)) +
                               " degrees to its right and " + std::to_string(int(framingElevationDegrees)) +
                               " degrees above");
        ++model_.counts.objects;
        model_.document.objects.push_back(std::move(object));
    }

    std::optional<df::Object> light(unsigned index, const df::Matrix& placement, SiblingNames& names,
                                    df::ObjectPathNames, const std::string& listOf) {
        const aiLight& source = *scene_.mLights[index];
        lightsPlaced_[index] = true;
        int32_t kind = omniLight;
        switch (source.mType) {
        case aiLightSource_AREA: kind = areaLight; break;
        case aiLightSource_SPOT: kind = spotLight; break;
        case aiLightSource_DIRECTIONAL: kind = distantLight; break;
        case aiLightSource_POINT: kind = omniLight; break;
        default: ++model_.counts.ambientLights; return std::nullopt;
        }
        df::Object object;
        object.path = listOf + "[light " + std::to_string(index) + "]";
        object.type = TYPE_LIGHT;
        object.name = names.take(modelText(source.mName), "Light");
        object.placement = compose(placement, frame_.aim(source.mPosition, source.mDirection, source.mUp));
        if (!isFinite(*object.placement))
            throw ImportError("the light \"" + object.name + "\" has a placement that is not a finite number");
        object.params.push_back(numberedParam(object.path, LIGHT_KIND, kind));
        if (kind == areaLight) {
            const double width = source.mSize.x * frame_.scale(), height = source.mSize.y * frame_.scale();
            if (std::isfinite(width) && width > 0) object.params.push_back(numberedParam(object.path, LIGHT_AREA_WIDTH, width));
            if (std::isfinite(height) && height > 0)
                object.params.push_back(numberedParam(object.path, LIGHT_AREA_HEIGHT, height));
            // The emission as an RGB spectrum in the light's own container, which the export reads
            // when the light carries no light tag.
            const aiColor3D& c = source.mColorDiffuse;
            if (std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b)) {
                object.params.push_back(numberedParam(object.path, spectrumTypeParam, spectrumRgb));
                object.params.push_back(numberedParam(object.path, spectrumColourParam, df::Vector3{c.r, c.g, c.b}));
            }
            ++model_.counts.areaLights;
        } else {
            ++model_.counts.otherLights;
        }
        ++model_.counts.objects;
        return object;
    }

    const aiScene& scene_;
    const Frame& frame_;
    const CameraRules& cameraRules_;
    const ImportedMaterials& materials_;
    const ImportOptions& options_;
    ImportedModel& model_;
    // assimp stands a placeholder mesh in for the geometry a file of only cameras and lights
    // lacks (and marks the scene incomplete); it is no part of the model.
    const bool withMeshes_;
    std::unordered_map<std::string, unsigned> cameras_, lights_;
    std::vector<bool> camerasPlaced_, lightsPlaced_;
    std::optional<df::ObjectPathNames> viewCamera_;
};

} // namespace

unsigned readSteps() {
    // Identical vertices are joined as each mesh becomes an object (host/import/vertex_join.h).
    return aiProcess_Triangulate | aiProcess_ValidateDataStructure;
}

ImportedModel importModel(const fs::path& model, const ImportOptions& options) {
    const std::string file = model.string();
    std::error_code error;
    if (!fs::is_regular_file(model, error)) throw ImportError(file + ": cannot import: no such file");
    try {
        checkDeclaredSizes(model);
    } catch (const ImportError& failure) {
        throw ImportError(file + ": cannot import: " + failure.what());
    }
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(file, readSteps());
    if (!scene) throw ImportError(file + ": cannot import: " + importer.GetErrorString());
    if (!scene->mRootNode) throw ImportError(file + ": cannot import: the file holds no complete scene");
    // An incomplete scene is one without geometry: its cameras and lights are what it holds.
    if ((scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) && scene->mNumCameras == 0 && scene->mNumLights == 0)
        throw ImportError(file + ": cannot import: the file holds no geometry, camera or light");

    ImportedModel result;
    result.document.file = file;
    const UnitScale unit = unitScale(*scene, model, options.scale);
    result.scale = unit.factor;
    result.unitSource = unit.source;
    const fs::path modelFolder = fs::absolute(model, error).parent_path();
    ImportOptions placed = options;
    if (placed.documentFolder.empty()) placed.documentFolder = modelFolder;
    if (placed.embeddedStem.empty()) placed.embeddedStem = model.filename().string();
    try {
        ImportedMaterials materials;
        if (!(scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE)) materials = importMaterials(*scene, modelFolder, placed, result, lowerSuffix(model) == ".dae" || lowerSuffix(model) == ".zae");
        Frame frame(unit.factor);
        const CameraRules cameraRules(model);
        TreeImport(*scene, frame, cameraRules, materials, placed, result).run();
        result.document.materials = std::move(materials.materials);
    } catch (const ImportError& failure) {
        throw ImportError(file + ": cannot import: " + failure.what());
    }
    result.counts.animations = static_cast<int>(scene->mNumAnimations);
    return result;
}

} // namespace host::import
