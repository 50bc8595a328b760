#include "host/preview/mesh_file_loader.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <system_error>

#include "host/plugins/host_error.h"

namespace host {

std::vector<MeshPart> loadMeshFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        throw HostError("cannot read " + file.string() + ": " +
                        (std::filesystem::exists(file, error) ? "it is not a file" : "no such file"));
    Assimp::Importer importer;
    // The host's mesh files carry every point where it stands in the scene: the meshes' own
    // points are used as they are, without the importer's node placement.
    const aiScene* scene = importer.ReadFile(file.string(), 0);
    if (!scene) throw HostError("cannot read " + file.string() + ": " + importer.GetErrorString());
    std::vector<MeshPart> parts;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        const aiMesh* mesh = scene->mMeshes[i];
        MeshPart part;
        if (mesh->mMaterialIndex < scene->mNumMaterials) {
            const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
            aiString name;
            if (material->Get(AI_MATKEY_NAME, name) == AI_SUCCESS) part.material = name.C_Str();
            aiColor3D colour;
            if (material->Get(AI_MATKEY_COLOR_DIFFUSE, colour) == AI_SUCCESS) part.diffuse = Colour{colour.r, colour.g, colour.b};
        }
        part.corners.reserve(static_cast<std::size_t>(mesh->mNumFaces) * 3);
        const aiVector3D* uvs = mesh->mTextureCoords[0];
        if (uvs) part.uvs.reserve(static_cast<std::size_t>(mesh->mNumFaces) * 3);
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const aiFace& face = mesh->mFaces[f];
            if (face.mNumIndices != 3) continue; // points and lines have no surface to draw
            for (unsigned c = 0; c < 3; ++c) {
                unsigned index = face.mIndices[c];
                if (index >= mesh->mNumVertices) throw HostError("cannot read " + file.string() + ": a face names a missing point");
                const aiVector3D& p = mesh->mVertices[index];
                part.corners.push_back({p.x, p.y, p.z});
                if (uvs) part.uvs.push_back({uvs[index].x, uvs[index].y});
            }
        }
        parts.push_back(std::move(part));
    }
    return parts;
}

} // namespace host
