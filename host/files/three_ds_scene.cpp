#include "host/files/three_ds_scene.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "host/files/three_ds_names.h"
#include "host/geometry/matrix.h"
#include "host/model/build.h"
#include "host/model/document.h"
#include "host/model/links.h"
#include "host/plugins/host_error.h"
#include "host_constants.h"

namespace host {
namespace {

constexpr int32_t MATERIAL_COLOUR = 2100;
constexpr int32_t COLOUR_CHANNEL = 0;
constexpr float DEFAULT_GREY = 0.8f;

using Triangle = std::array<int32_t, 3>;

/// The material of the object's last texture tag whose material is in the document.
const HostNode* ownMaterial(const HostNode& object, const HostNode& document)
{
    const HostNode* found = nullptr;
    for (const HostNode* tag = object.tags().first(); tag; tag = tag->next()) {
        if (tag->type() != TYPE_TEXTURE_TAG)
            continue;
        if (const HostNode* material =
                resolveLink(tag->params.getLinkToken(TEXTURE_TAG_MATERIAL), &document, TYPE_MATERIAL))
            found = material;
    }
    return found;
}

double determinant(const HostMatrix& m)
{
    const HostVector& a = m.v1;
    const HostVector& b = m.v2;
    const HostVector& c = m.v3;
    return double(a.x) * (double(b.y) * c.z - double(b.z) * c.y) -
           double(b.x) * (double(a.y) * c.z - double(a.z) * c.y) +
           double(c.x) * (double(a.y) * b.z - double(a.z) * b.y);
}

void checkPolygons(const HostNode& object)
{
    const int64_t count = static_cast<int64_t>(object.points.size());
    for (std::size_t i = 0; i < object.polygons.size(); ++i) {
        const HostPolygon& p = object.polygons[i];
        for (const int32_t index : {p.a, p.b, p.c, p.d})
            if (index < 0 || index >= count)
                throw HostError("the object \"" + object.name + "\": polygon " + std::to_string(i) +
                                " refers to point " + std::to_string(index) + ", but the object has " +
                                std::to_string(count) + " points");
    }
}

using Uv = std::array<float, 2>;

/// A point's index with the coordinates one of its corners has (as bits, so that equal means
/// written alike).
struct CornerKey {
    int32_t point;
    uint32_t u;
    uint32_t v;
    bool operator==(const CornerKey& o) const { return point == o.point && u == o.u && v == o.v; }
};

struct CornerKeyHash {
    std::size_t operator()(const CornerKey& k) const
    {
        uint64_t h = (uint64_t(uint32_t(k.point)) * 0x9E3779B97F4A7C15ull) ^ (uint64_t(k.u) << 32 | k.v);
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ull;
        return static_cast<std::size_t>(h ^ (h >> 32));
    }
};

uint32_t bitsOf(float value)
{
    if (value == 0.0f)
        value = 0.0f; // -0 and 0 are written alike
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

/// Gives every point the mapping coordinates of its corners, in the file's terms (u, 1 - v).
/// A point keeps its index for the coordinates of its first corner; each other coordinate it
/// has becomes a new point at the end, and the polygons are rewritten to use it. Linear in
/// corners (one hash look-up for each corner that differs from its point's first).
std::vector<Uv> splitByCoordinates(std::vector<HostVector>& points, std::vector<HostPolygon>& polygons,
                                   const std::vector<UvwPolygon>& records)
{
    const std::size_t original = points.size();
    std::vector<Uv> uvs(original, Uv{0.0f, 0.0f});
    std::vector<bool> given(original, false);
    std::unordered_map<CornerKey, int32_t, CornerKeyHash> extra;
    auto place = [&](int32_t point, const HostVector& uvw) {
        const Uv uv{uvw.x, 1.0f - uvw.y};
        if (!given[static_cast<std::size_t>(point)]) {
            given[static_cast<std::size_t>(point)] = true;
            uvs[static_cast<std::size_t>(point)] = uv;
            return point;
        }
        const Uv& first = uvs[static_cast<std::size_t>(point)];
        const CornerKey key{point, bitsOf(uv[0]), bitsOf(uv[1])};
        if (bitsOf(first[0]) == key.u && bitsOf(first[1]) == key.v)
            return point;
        const auto [it, added] = extra.try_emplace(key, static_cast<int32_t>(points.size()));
        if (added) {
            points.push_back(points[static_cast<std::size_t>(point)]);
            uvs.push_back(uv);
        }
        return it->second;
    };
    const UvwPolygon none{};
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        HostPolygon& p = polygons[i];
        const UvwPolygon& r = i < records.size() ? records[i] : none;
        const bool triangle = p.c == p.d;
        p.a = place(p.a, r.a);
        p.b = place(p.b, r.b);
        p.c = place(p.c, r.c);
        // A triangle's fourth corner is its third.
        p.d = triangle ? p.c : place(p.d, r.d);
    }
    return uvs;
}

class Collector {
public:
    explicit Collector(const HostNode& document) : document_(document) {}

    ThreeDsScene run()
    {
        for (const HostNode* m = firstMaterial(document_); m; m = m->next()) {
            materialIndex_.emplace(m, static_cast<int32_t>(scene_.materials.size()));
            scene_.materials.push_back({materialNames_.claim(m->name), materialColour(*m)});
        }
        walkObjects();
        return std::move(scene_);
    }

private:
    struct Visit {
        const HostNode* object;
        HostMatrix parentGlobal;
        const HostNode* inheritedMaterial;
    };

    /// Depth first, parents before children, in document order; each object's global matrix
    /// and material come from its parent's, so deep trees stay linear.
    void walkObjects()
    {
        std::vector<Visit> work;
        auto pushLevel = [&work](const NodeList& level, const HostMatrix& global, const HostNode* material) {
            for (const HostNode* o = level.last(); o; o = o->prev())
                work.push_back({o, global, material});
        };
        pushLevel(document_.children(), identityMatrix(), nullptr);
        while (!work.empty()) {
            const Visit visit = work.back();
            work.pop_back();
            const HostNode& object = *visit.object;
            const HostMatrix global = multiply(visit.parentGlobal, object.local);
            const HostNode* own = ownMaterial(object, document_);
            const HostNode* material = own ? own : visit.inheritedMaterial;
            if (object.type() == TYPE_POLYGON_OBJECT && !object.polygons.empty())
                addObject(object, global, indexOf(material));
            pushLevel(object.children(), global, material);
        }
    }

    int32_t indexOf(const HostNode* material) const
    {
        const auto it = materialIndex_.find(material);
        return it == materialIndex_.end() ? -1 : it->second;
    }

    /// A point in the file's terms: world space, renderer axes.
    static HostVector filePoint(const HostMatrix& global, const HostVector& p)
    {
        const HostVector w = transformPoint(global, p);
        return {w.x, w.z, w.y};
    }

    void addObject(const HostNode& object, const HostMatrix& global, int32_t material)
    {
        checkPolygons(object);
        // The axis exchange reverses the winding; a mirroring matrix reverses it back.
        const bool reverse = determinant(global) >= 0.0;
        const HostNode* uvwTag = findUvwTag(object);
        if (!uvwTag) {
            const Triangles triangles{object.polygons.values(), reverse};
            if (object.points.size() > THREE_DS_MAX_POINTS || triangles.count() > THREE_DS_MAX_FACES) {
                // A large object's points go straight into its parts.
                auto pointAt = [&](int32_t i) { return filePoint(global, object.points[static_cast<std::size_t>(i)]); };
                addSplit(object, object.points.size(), pointAt, {}, triangles, material);
                return;
            }
        }
        std::vector<HostVector> points;
        points.reserve(object.points.size());
        for (const HostVector& p : object.points)
            points.push_back(filePoint(global, p));
        // Only coordinates change the polygons; without them the object's own are read as they are.
        std::vector<HostPolygon> ownCorners;
        std::vector<Uv> uvs;
        if (uvwTag) {
            ownCorners = object.polygons.values();
            uvs = splitByCoordinates(points, ownCorners, uvwTag->uvws);
        }
        const Triangles triangles{uvwTag ? ownCorners : object.polygons.values(), reverse};
        if (points.size() <= THREE_DS_MAX_POINTS && triangles.count() <= THREE_DS_MAX_FACES) {
            addWhole(object, std::move(points), std::move(uvs), triangles, material);
            return;
        }
        auto pointAt = [&points](int32_t i) { return points[static_cast<std::size_t>(i)]; };
        addSplit(object, points.size(), pointAt, uvs, triangles, material);
    }

    /// The triangles of polygons, made as they are read: a quad (a, b, c, d) gives (a, b, c) and
    /// (a, c, d), each reversed when asked.
    struct Triangles {
        const std::vector<HostPolygon>& polygons;
        bool reverse;

        std::size_t count() const
        {
            std::size_t n = 0;
            for (const HostPolygon& p : polygons)
                n += p.c != p.d ? 2 : 1;
            return n;
        }

        template <typename Fn>
        void forEach(Fn&& fn) const
        {
            auto emit = [&](int32_t a, int32_t b, int32_t c) { fn(reverse ? Triangle{a, c, b} : Triangle{a, b, c}); };
            for (const HostPolygon& p : polygons) {
                emit(p.a, p.b, p.c);
                if (p.c != p.d)
                    emit(p.a, p.c, p.d);
            }
        }
    };

    void addWhole(const HostNode& object, std::vector<HostVector> points, std::vector<Uv> uvs,
                  const Triangles& triangles, int32_t material)
    {
        ThreeDsMesh mesh;
        mesh.name = objectNames_.claim(object.name);
        mesh.points = std::move(points);
        mesh.uvs = std::move(uvs);
        mesh.material = material;
        mesh.faces.reserve(triangles.count());
        triangles.forEach([&](const Triangle& t) {
            mesh.faces.push_back({static_cast<uint16_t>(t[0]), static_cast<uint16_t>(t[1]), static_cast<uint16_t>(t[2])});
        });
        scene_.meshes.push_back(std::move(mesh));
    }

    /// Cuts the triangles, in order, into parts of at most 65535 points and faces; each part
    /// holds only the points its faces use. `pointAt` gives a point in the file's terms. The cut
    /// is made twice: once to count what each part holds, then to fill parts of exactly that size,
    /// so that no part grows by copying nor is copied again to give back what it did not use.
    template <typename PointAt>
    void addSplit(const HostNode& object, std::size_t pointCount, const PointAt& pointAt, const std::vector<Uv>& uvs,
                  const Triangles& triangles, int32_t material)
    {
        std::vector<uint32_t> partOf(pointCount, 0); // the part a point was last given to
        struct Size {
            std::size_t points = 0, faces = 0;
        };
        std::vector<Size> sizes;
        cutIntoParts(triangles, partOf, [&] { sizes.emplace_back(); }, [&](int32_t) { ++sizes.back().points; },
                     [&](const Triangle&) { ++sizes.back().faces; });

        std::fill(partOf.begin(), partOf.end(), 0);
        std::vector<uint16_t> localIndex(pointCount, 0);
        ThreeDsMesh* mesh = nullptr;
        std::size_t part = 0;
        cutIntoParts(
            triangles, partOf,
            [&] {
                ThreeDsMesh& next = scene_.meshes.emplace_back();
                next.name = objectNames_.claim(object.name);
                next.material = material;
                next.points.reserve(sizes[part].points);
                next.faces.reserve(sizes[part].faces);
                if (!uvs.empty())
                    next.uvs.reserve(sizes[part].points);
                ++part;
                mesh = &next;
            },
            [&](int32_t index) {
                localIndex[static_cast<std::size_t>(index)] = static_cast<uint16_t>(mesh->points.size());
                mesh->points.push_back(pointAt(index));
                if (!uvs.empty())
                    mesh->uvs.push_back(uvs[static_cast<std::size_t>(index)]);
            },
            [&](const Triangle& t) {
                mesh->faces.push_back({localIndex[static_cast<std::size_t>(t[0])], localIndex[static_cast<std::size_t>(t[1])],
                                       localIndex[static_cast<std::size_t>(t[2])]});
            });
    }

    /// The cut itself: `startPart()` before a part's first face, `newPoint(i)` for each point the
    /// part takes (in the order its faces first use them), then `face(t)` for each face.
    template <typename StartPart, typename NewPoint, typename Face>
    static void cutIntoParts(const Triangles& triangles, std::vector<uint32_t>& partOf, const StartPart& startPart,
                             const NewPoint& newPoint, const Face& face)
    {
        uint32_t part = 0;
        std::size_t points = 0, faces = 0;
        triangles.forEach([&](const Triangle& t) {
            std::size_t needed = 0;
            for (int k = 0; k < 3; ++k) {
                const bool repeated = (k > 0 && t[k] == t[0]) || (k > 1 && t[k] == t[1]);
                if (!repeated && partOf[static_cast<std::size_t>(t[k])] != part)
                    ++needed;
            }
            if (part == 0 || points + needed > THREE_DS_MAX_POINTS || faces == THREE_DS_MAX_FACES) {
                ++part;
                points = faces = 0;
                startPart();
            }
            for (int k = 0; k < 3; ++k) {
                const std::size_t index = static_cast<std::size_t>(t[k]);
                if (partOf[index] != part) {
                    partOf[index] = part;
                    ++points;
                    newPoint(t[k]);
                }
            }
            ++faces;
            face(t);
        });
    }

    const HostNode& document_;
    ThreeDsScene scene_;
    ThreeDsNames objectNames_{THREE_DS_OBJECT_NAME_LIMIT, "Object"};
    ThreeDsNames materialNames_{THREE_DS_MATERIAL_NAME_LIMIT, "Material"};
    std::unordered_map<const HostNode*, int32_t> materialIndex_;
};

} // namespace

HostVector materialColour(const HostNode& material)
{
    const MaterialChannel* colour = findChannel(material, COLOUR_CHANNEL);
    const HostVector grey{DEFAULT_GREY, DEFAULT_GREY, DEFAULT_GREY};
    if (!colour || !colour->enabled)
        return grey;
    return material.params.getVector(MATERIAL_COLOUR, grey);
}

ThreeDsScene collectThreeDsScene(const HostNode& document)
{
    return Collector(document).run();
}

} // namespace host
