#include "host/geometry/current_state.h"

#include <unordered_map>
#include <variant>
#include <vector>

#include "host/geometry/primitive_meshes.h"
#include "host/model/build.h"
#include "host/model/copy.h"
#include "host/model/placement.h"
#include "host/plugins/host_error.h"
#include "host_constants.h"

namespace host {
namespace {

using TokenMap = std::unordered_map<uint64_t, uint64_t>;

/// The polygon object that stands in for a primitive of the copy: the primitive's mesh, name and
/// matrix, with the primitive's tags and children moved over.
NodePtr polygonObjectFor(HostNode& primitive, PolygonMesh mesh)
{
    NodePtr result = newObject(TYPE_POLYGON_OBJECT, primitive.name);
    result->setOrigin(primitive.origin());
    result->local = primitive.local;
    result->points = std::move(mesh.points);
    result->polygons = std::move(mesh.polygons);
    while (HostNode* tag = primitive.tags().first())
        result->tags().append(result.get(), primitive.tags().take(tag));
    // As the application does, the new polygon object carries the primitive's texture
    // coordinates, unless it was given its own.
    if (!mesh.uvws.empty() && !findUvwTag(*result))
        makeUvwTag(*result, std::move(mesh.uvws));
    while (HostNode* child = primitive.children().first())
        result->children().append(result.get(), primitive.children().take(child));
    return result;
}

void relink(HostContainer& container, const TokenMap& tokens)
{
    for (auto& [id, value] : container.elements) {
        if (auto* link = std::get_if<LinkValue>(&value)) {
            const auto it = tokens.find(link->token);
            if (it != tokens.end())
                link->token = it->second;
        } else if (auto* sub = std::get_if<SubContainer>(&value)) {
            relink(sub->get(), tokens);
        }
    }
}

/// Moves links to replaced nodes over to their replacements, in every object and tag of a tree.
void relinkTree(HostNode& root, const TokenMap& tokens)
{
    std::vector<HostNode*> work{&root};
    while (!work.empty()) {
        HostNode* node = work.back();
        work.pop_back();
        relink(node->params, tokens);
        for (HostNode* tag = node->tags().first(); tag; tag = tag->next())
            relink(tag->params, tokens);
        for (HostNode* child = node->children().first(); child; child = child->next())
            work.push_back(child);
    }
}

} // namespace

NodePtr currentStateToObject(const HostNode& object, bool inherit)
{
    // Copy the whole tree once (which already moves its inner links to the copies), then
    // replace the primitives of the copy in place.
    NodePtr root = copyNode(object);
    if (!root)
        throw HostError("the object \"" + object.name + "\" holds a plug-in tag that cannot be copied");
    TokenMap replaced;
    std::vector<HostNode*> work{root.get()};
    while (!work.empty()) {
        HostNode* node = work.back();
        work.pop_back();
        if (std::optional<PolygonMesh> mesh = primitiveMesh(*node)) {
            NodePtr polygon = polygonObjectFor(*node, std::move(*mesh));
            HostNode* placed = polygon.get();
            // Links to the primitive must name its stand-in.
            if (const uint64_t token = node->tokenIfAny())
                replaced.emplace(token, placed->token());
            if (node == root.get()) {
                root = std::move(polygon);
            } else {
                HostNode* owner = node->owner();
                HostNode* predecessor = node->prev();
                NodePtr old = owner->children().take(node);
                owner->children().insertAfter(owner, std::move(polygon), predecessor);
            }
            node = placed;
        }
        for (HostNode* child = node->children().first(); child; child = child->next())
            work.push_back(child);
    }
    if (!replaced.empty())
        relinkTree(*root, replaced);
    if (inherit)
        root->local = globalMatrix(object);
    return root;
}

} // namespace host
