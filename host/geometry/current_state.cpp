#include "host/geometry/current_state.h"

#include <unordered_map>
#include <variant>
#include <vector>

#include "host/geometry/primitive_meshes.h"
#include "host/model/build.h"
#include "host/model/copy.h"
#include "host/model/links.h"
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

/// Instances resolve through at most this many links in a row (an instance of an instance ...).
constexpr int kMaxInstanceDepth = 8;

NodePtr stateOf(const HostNode& object, bool inherit, const HostNode* document, int depth);

bool isSelfOrAncestor(const HostNode* candidate, const HostNode& node)
{
    for (const HostNode* n = &node; n; n = n->owner())
        if (n == candidate)
            return true;
    return false;
}

/// The object the instance's link names: in `document`, or through the current state that
/// replaced it there, or among the nodes in no document (the copy being converted, `replaced`
/// naming the stand-ins it has made so far).
const HostNode* linkedObject(const HostNode& instance, const HostNode* document, const TokenMap& replaced)
{
    const uint64_t token = instance.params.getLinkToken(INSTANCE_LINK);
    if (!token)
        return nullptr;
    if (document) {
        if (const HostNode* linked = resolveLink(token, document, LINK_FILTER_OBJECT))
            return linked;
        if (document->documentData) {
            const auto& states = document->documentData->currentStates;
            const auto it = states.find(token);
            if (it != states.end())
                if (const HostNode* state = resolveLink(it->second, document, LINK_FILTER_OBJECT))
                    return state;
        }
    }
    // A node of the copy that this conversion has replaced already names its stand-in.
    const auto it = replaced.find(token);
    return resolveLink(it == replaced.end() ? token : it->second, nullptr, LINK_FILTER_OBJECT);
}

/// The current state of an instance (a node of the copy being converted), as the application
/// gives it: a polygon copy of the linked object's current state with the instance's name,
/// placement, tags and children (the linked object's texture coordinates kept when the instance
/// has none of its own). None when the link is empty or circular, or the linked object's state
/// is no polygon object: the instance then stays as it is.
NodePtr instanceState(HostNode& instance, const HostNode* document, int depth, const TokenMap& replaced)
{
    const HostNode* linked = linkedObject(instance, document, replaced);
    if (!linked || depth >= kMaxInstanceDepth || isSelfOrAncestor(linked, instance))
        return nullptr;
    NodePtr state = stateOf(*linked, false, linked->document() ? linked->document() : document, depth + 1);
    if (!state || state->type() != TYPE_POLYGON_OBJECT)
        return nullptr;
    state->name = instance.name;
    state->local = instance.local;
    NodePtr uvw;
    if (const HostNode* own = findUvwTag(*state))
        uvw = state->tags().take(const_cast<HostNode*>(own));
    while (HostNode* tag = state->tags().first())
        state->tags().take(tag);
    while (HostNode* tag = instance.tags().first())
        state->tags().append(state.get(), instance.tags().take(tag));
    if (uvw && !findUvwTag(*state))
        state->tags().append(state.get(), std::move(uvw));
    while (HostNode* child = instance.children().first())
        state->children().append(state.get(), instance.children().take(child));
    return state;
}

NodePtr stateOf(const HostNode& object, bool inherit, const HostNode* document, int depth)
{
    // Copy the whole tree once (which already moves its inner links to the copies), then
    // replace the primitives and instances of the copy in place.
    NodePtr root = copyNode(object);
    if (!root)
        throw HostError("the object \"" + object.name + "\" holds a plug-in tag that cannot be copied");
    TokenMap replaced;
    std::vector<HostNode*> work{root.get()};
    while (!work.empty()) {
        HostNode* node = work.back();
        work.pop_back();
        NodePtr polygon;
        if (std::optional<PolygonMesh> mesh = primitiveMesh(*node))
            polygon = polygonObjectFor(*node, std::move(*mesh));
        else if (node->type() == TYPE_INSTANCE)
            polygon = instanceState(*node, document, depth, replaced);
        if (polygon) {
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

} // namespace

NodePtr currentStateToObject(const HostNode& object, bool inherit)
{
    return stateOf(object, inherit, object.document(), 0);
}

} // namespace host
