// The vertices of an assimp mesh joined into the host's points: vertices at the same place whose
// normals, tangents and texture coordinates agree become one point, as assimp's own joining step
// makes them, and vertices that no face names are left out. Found through a table of places in
// one pass, instead of assimp's sorting of the vertices in space, which took most of the time of
// reading a large model.
#pragma once

#include <vector>

struct aiMesh;

namespace host::import {

struct JoinedVertices {
    /// For each vertex of the mesh, the point it became (none, ~0u, for one that no face names).
    std::vector<unsigned> pointOf;
    /// For each point, the first vertex that became it: points are numbered in the order their
    /// first vertex comes in the mesh.
    std::vector<unsigned> firstVertex;
};

JoinedVertices joinVertices(const aiMesh& mesh);

} // namespace host::import
