#include "host/import/vertex_join.h"

#include <array>
#include <cstring>
#include <cstdint>

#include <assimp/mesh.h>

namespace host::import {

namespace {

/// Two vertices at the same place are one when each other attribute differs by at most this (a
/// distance), as in assimp's own joining step; places must be equal.
constexpr float tolerance = 1e-5f;

/// The attributes besides the place that tell two vertices apart: normals, tangents and texture
/// coordinates (colours do not, as in assimp's step).
class VertexRows {
public:
    explicit VertexRows(const aiMesh& mesh) {
        add(mesh.mNormals);
        if (mesh.mTangents && mesh.mBitangents) {
            add(mesh.mTangents);
            add(mesh.mBitangents);
        }
        for (const aiVector3D* coordinates : mesh.mTextureCoords) add(coordinates);
    }

    bool same(unsigned a, unsigned b) const {
        // Attributes that are not numbers (a normal of a face without area) differ from nothing.
        for (const aiVector3D* values : columns_)
            if ((values[a] - values[b]).SquareLength() > tolerance * tolerance) return false;
        return true;
    }

private:
    void add(const aiVector3D* values) {
        if (values) columns_.push_back(values);
    }

    std::vector<const aiVector3D*> columns_;
};

/// A place as the bits of its coordinates, -0 made 0 so that the two are one place.
using Place = std::array<uint32_t, 3>;

Place placeOf(const aiVector3D& p) {
    Place place;
    const float coordinates[3] = {p.x + 0.0f, p.y + 0.0f, p.z + 0.0f};
    std::memcpy(place.data(), coordinates, sizeof coordinates);
    return place;
}

/// The points found so far by their place: an open-addressing table of places, each with a
/// chain of the points there.
class PointPlaces {
public:
    explicit PointPlaces(std::size_t points) {
        while (slots_ < points * 2) slots_ <<= 1;
        heads_.assign(slots_, none);
        places_.resize(slots_);
        next_.reserve(points);
    }

    /// The slot of `place`: the one that holds it, or the empty one where it goes.
    std::size_t slot(const Place& place) const {
        uint64_t h = (uint64_t(place[0]) << 32 | place[1]) * 0x9E3779B97F4A7C15ull;
        h ^= (h >> 29) + uint64_t(place[2]) * 0xC2B2AE3D27D4EB4Full;
        std::size_t at = static_cast<std::size_t>(h ^ (h >> 32)) & (slots_ - 1);
        while (heads_[at] != none && places_[at] != place) at = (at + 1) & (slots_ - 1);
        return at;
    }
    unsigned first(std::size_t slot) const { return heads_[slot]; }
    unsigned next(unsigned point) const { return next_[point]; }
    /// Adds `point` (the next in number) at `place`, whose slot is `slot`.
    void add(std::size_t slot, const Place& place, unsigned point) {
        next_.resize(point + 1, none);
        next_[point] = heads_[slot];
        heads_[slot] = point;
        places_[slot] = place;
    }

    static constexpr unsigned none = ~0u;

private:
    std::size_t slots_ = 1;
    std::vector<unsigned> heads_, next_;
    std::vector<Place> places_;
};

} // namespace

JoinedVertices joinVertices(const aiMesh& mesh) {
    const unsigned count = mesh.mNumVertices;
    JoinedVertices joined;
    joined.pointOf.assign(count, PointPlaces::none);
    // Only the vertices that a face names become points.
    std::vector<bool> used(count, false);
    for (unsigned f = 0; f < mesh.mNumFaces; ++f)
        for (unsigned i = 0; i < mesh.mFaces[f].mNumIndices; ++i)
            if (mesh.mFaces[f].mIndices[i] < count) used[mesh.mFaces[f].mIndices[i]] = true;
    const VertexRows rows(mesh);
    PointPlaces places(count);
    for (unsigned v = 0; v < count; ++v) {
        if (!used[v]) continue;
        const Place place = placeOf(mesh.mVertices[v]);
        const std::size_t slot = places.slot(place);
        unsigned match = PointPlaces::none;
        for (unsigned point = places.first(slot); point != PointPlaces::none; point = places.next(point))
            if (rows.same(joined.firstVertex[point], v)) {
                match = point;
                break;
            }
        if (match == PointPlaces::none) {
            match = static_cast<unsigned>(joined.firstVertex.size());
            joined.firstVertex.push_back(v);
            places.add(slot, place, match);
        }
        joined.pointOf[v] = match;
    }
    return joined;
}

} // namespace host::import
