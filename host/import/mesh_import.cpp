#include "host/import/mesh_import.h"

#include <cmath>
#include <limits>

#include <assimp/mesh.h>

#include "host/import/import_error.h"
#include "host/import/vertex_join.h"
#include "host_constants.h"

namespace host::import {

namespace df = docfile;

df::Param numberedParam(const std::string& owner, int32_t id, df::Value value) {
    df::Param p;
    p.path = owner + ".params." + std::to_string(id);
    p.id = id;
    p.value = std::move(value);
    return p;
}

std::optional<df::Object> meshObject(const aiMesh& mesh, const std::string& name, const std::string& path,
                                     const Frame& frame, const ImportedMaterials& materials,
                                     const ImportOptions& options, ImportedModel& model) {
    df::Object object;
    object.path = path;
    object.type = TYPE_POLYGON_OBJECT;
    object.name = name;
    const JoinedVertices joined = joinVertices(mesh);
    object.polygons.reserve(mesh.mNumFaces);
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices != 3) {
            ++model.counts.pointsAndLines;
            continue;
        }
        const unsigned a = face.mIndices[0], b = face.mIndices[1], c = face.mIndices[2];
        if (a >= mesh.mNumVertices || b >= mesh.mNumVertices || c >= mesh.mNumVertices)
            throw ImportError("the mesh \"" + name + "\" names a point it lacks");
        // Reversed: the mirror turns the corners' order, so the front stays where it faced.
        const auto ia = static_cast<int32_t>(joined.pointOf[a]), ib = static_cast<int32_t>(joined.pointOf[b]),
                   ic = static_cast<int32_t>(joined.pointOf[c]);
        object.polygons.push_back({ic, ib, ia, ia});
        if (const aiVector3D* uv = mesh.mTextureCoords[0]) {
            // The model's v runs up from the texture's bottom edge, the host's down from its top.
            // A corner has the coordinates of the first vertex of its point, as joined.
            auto corner = [uv, &joined](unsigned i) {
                const aiVector3D& at = uv[joined.firstVertex[joined.pointOf[i]]];
                return df::Vector3{at.x, 1.0 - at.y, at.z};
            };
            if (!object.uvs) object.uvs.emplace().reserve(mesh.mNumFaces);
            object.uvs->push_back({corner(c), corner(b), corner(a), corner(a)});
        }
    }
    if (object.polygons.empty()) return std::nullopt;
    object.points.reserve(joined.firstVertex.size());
    for (unsigned v = 0; v < joined.firstVertex.size(); ++v) {
        const df::Vector3 p = frame.point(mesh.mVertices[joined.firstVertex[v]]);
        // A point scaled past what a 32-bit real holds has no value in the host's object; it is
        // checked before the conversion, which would be undefined for it.
        const auto fits = [](double c) { return std::fabs(c) <= std::numeric_limits<float>::max(); };
        if (!isFinite(p) || !fits(p.x) || !fits(p.y) || !fits(p.z))
            throw ImportError("point " + std::to_string(v) + " of the mesh \"" + name + "\" is not a finite number");
        object.points.push_back({static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)});
    }

    if (mesh.mMaterialIndex < materials.materials.size()) {
        df::Tag texture;
        texture.path = path + ".tags[0]";
        texture.kind = df::TagKind::Texture;
        texture.material = materials.materials[mesh.mMaterialIndex].name;
        object.tags.push_back(std::move(texture));
        if (const auto& emission = materials.emission[mesh.mMaterialIndex]) {
            if (options.lightTag) {
                df::Tag light;
                light.path = path + ".tags[1]";
                light.kind = df::TagKind::Plugin;
                light.pluginId = lightTagId;
                light.params.push_back(numberedParam(light.path, spectrumTypeParam, spectrumRgb));
                light.params.push_back(numberedParam(light.path, spectrumColourParam, *emission));
                object.tags.push_back(std::move(light));
                ++model.counts.emitters;
            } else {
                ++model.counts.emittersWithoutTag;
            }
        }
    }
    if (mesh.mNumBones > 0) ++model.counts.skinnedMeshes;
    model.counts.morphTargets += static_cast<int>(mesh.mNumAnimMeshes);
    ++model.counts.polygonObjects;
    model.counts.points += object.points.size();
    model.counts.triangles += object.polygons.size();
    return object;
}

} // namespace host::import
