// Reads a 3DS mesh file back with assimp, an independent reader, for the export's tests. assimp
// gives every face corner a vertex of its own; corners of one mesh at the same place are joined
// again, so that counts of shared points can be compared with the source geometry.
#pragma once

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <array>
#include <filesystem>
#include <limits>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace meshfile {

struct Point {
    float x, y, z;
};

struct Mesh {
    std::vector<Point> points;                 // joined by place
    std::vector<std::array<int, 3>> triangles; // indices into points, in the file's winding
    std::string material;                      // the material name, "" for none
    std::vector<std::array<std::array<float, 2>, 3>> cornerUvs; // per triangle corner; none without mapping
};

struct Box {
    Point min{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
              std::numeric_limits<float>::max()};
    Point max{std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest(),
              std::numeric_limits<float>::lowest()};
};

struct MeshFile {
    bool read = false;
    std::string error;
    std::vector<Mesh> meshes;

    std::size_t faces() const {
        std::size_t n = 0;
        for (const Mesh& m : meshes) n += m.triangles.size();
        return n;
    }
    std::size_t points() const {
        std::size_t n = 0;
        for (const Mesh& m : meshes) n += m.points.size();
        return n;
    }
    /// The box around every point of the file, in the file's axes.
    Box bounds() const {
        Box box;
        for (const Mesh& m : meshes)
            for (const Point& p : m.points) {
                box.min = {std::min(box.min.x, p.x), std::min(box.min.y, p.y), std::min(box.min.z, p.z)};
                box.max = {std::max(box.max.x, p.x), std::max(box.max.y, p.y), std::max(box.max.z, p.z)};
            }
        return box;
    }
    /// Whether some mesh has a point within `tolerance` of `p`.
    bool hasPoint(Point p, float tolerance = 1e-3f) const {
        for (const Mesh& m : meshes)
            for (const Point& q : m.points)
                if (std::abs(q.x - p.x) <= tolerance && std::abs(q.y - p.y) <= tolerance &&
                    std::abs(q.z - p.z) <= tolerance)
                    return true;
        return false;
    }
};

inline MeshFile readMeshFile(const std::filesystem::path& file) {
    MeshFile result;
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(file.string(), 0);
    if (!scene) {
        result.error = importer.GetErrorString();
        return result;
    }
    result.read = true;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        const aiMesh* source = scene->mMeshes[i];
        Mesh mesh;
        std::map<std::tuple<float, float, float>, int> indexOf;
        std::vector<int> joined(source->mNumVertices);
        for (unsigned v = 0; v < source->mNumVertices; ++v) {
            const aiVector3D& p = source->mVertices[v];
            const auto [it, added] = indexOf.try_emplace({p.x, p.y, p.z}, static_cast<int>(mesh.points.size()));
            if (added) mesh.points.push_back({p.x, p.y, p.z});
            joined[v] = it->second;
        }
        for (unsigned f = 0; f < source->mNumFaces; ++f) {
            const aiFace& face = source->mFaces[f];
            if (face.mNumIndices != 3) continue;
            mesh.triangles.push_back({joined[face.mIndices[0]], joined[face.mIndices[1]], joined[face.mIndices[2]]});
            if (source->HasTextureCoords(0)) {
                std::array<std::array<float, 2>, 3> uvs{};
                for (int k = 0; k < 3; ++k) {
                    const aiVector3D& uv = source->mTextureCoords[0][face.mIndices[k]];
                    uvs[k] = {uv.x, uv.y};
                }
                mesh.cornerUvs.push_back(uvs);
            }
        }
        if (source->mMaterialIndex < scene->mNumMaterials) {
            aiString name;
            if (scene->mMaterials[source->mMaterialIndex]->Get(AI_MATKEY_NAME, name) == AI_SUCCESS)
                mesh.material = name.C_Str();
        }
        result.meshes.push_back(std::move(mesh));
    }
    return result;
}

/// The front of a triangle: (b - a) x (c - a).
inline Point faceNormal(const Mesh& mesh, const std::array<int, 3>& t) {
    const Point& a = mesh.points[t[0]];
    const Point& b = mesh.points[t[1]];
    const Point& c = mesh.points[t[2]];
    const Point u{b.x - a.x, b.y - a.y, b.z - a.z};
    const Point v{c.x - a.x, c.y - a.y, c.z - a.z};
    return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

/// Number of triangles of non-zero area whose front faces `inside` (a point within the closed
/// surface) rather than away from it.
inline int inwardFaces(const MeshFile& file, Point inside) {
    int inward = 0;
    for (const Mesh& m : file.meshes)
        for (const auto& t : m.triangles) {
            const Point n = faceNormal(m, t);
            const Point& a = m.points[t[0]];
            const Point& b = m.points[t[1]];
            const Point& c = m.points[t[2]];
            const Point centre{(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
            const double area = double(n.x) * n.x + double(n.y) * n.y + double(n.z) * n.z;
            const double out = double(n.x) * (centre.x - inside.x) + double(n.y) * (centre.y - inside.y) +
                               double(n.z) * (centre.z - inside.z);
            if (area > 1e-12 && out <= 0) ++inward;
        }
    return inward;
}

} // namespace meshfile
