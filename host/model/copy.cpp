#include "host/model/copy.h"

#include <unordered_map>
#include <vector>

#include "host/model/document.h"
#include "host_constants.h"

namespace host {
namespace {

/// Copies nodes and remembers which original became which copy, so that links among the copied
/// nodes can be moved over to the copies at the end.
class Copier {
public:
    /// A copy of one node with its children (unless `alone`) and tags; nullptr when a plug-in tag fails.
    NodePtr copyTree(const HostNode& root, bool alone = false)
    {
        NodePtr top = copyOne(root);
        if (!top)
            return nullptr;
        // Breadth of each level handled by a work list, so deep trees use no stack.
        std::vector<std::pair<const HostNode*, HostNode*>> work{{&root, top.get()}};
        while (!work.empty()) {
            auto [from, to] = work.back();
            work.pop_back();
            for (const HostNode* tag = from->tags().first(); tag; tag = tag->next()) {
                NodePtr copy = copyOne(*tag);
                if (!copy)
                    return nullptr;
                to->tags().append(to, std::move(copy));
            }
            if (alone)
                break;
            for (const HostNode* child = from->children().first(); child; child = child->next()) {
                NodePtr copy = copyOne(*child);
                if (!copy)
                    return nullptr;
                HostNode* placed = to->children().append(to, std::move(copy));
                work.emplace_back(child, placed);
            }
        }
        return top;
    }

    /// Moves links to originals over to their copies in every container of the copied nodes.
    void relink()
    {
        if (tokens_.empty())
            return;
        for (HostNode* node : copies_) {
            relink(node->params);
            if (node->material)
                for (auto& [id, channel] : node->material->channels)
                    relink(channel.data);
        }
    }

    void noteView(const HostView& from, HostView& to)
    {
        const auto it = tokens_.find(from.sceneCamera);
        to.sceneCamera = it == tokens_.end() ? from.sceneCamera : it->second->token();
    }

private:
    NodePtr copyOne(const HostNode& node)
    {
        auto copy = std::make_unique<HostNode>(node.kind(), node.type(), node.name);
        copy->setOrigin(node.origin());
        copy->params = node.params;
        copy->local = node.local;
        copy->points = node.points;
        copy->polygons = node.polygons;
        copy->uvws = node.uvws;
        if (node.material)
            *copy->material = *node.material;
        if (node.attachment) {
            copy->attachment = node.attachment->cloneFor(*copy);
            if (!copy->attachment)
                return nullptr;
            // The plug-in's init wrote its defaults; the original's values win.
            copy->params = node.params;
        }
        // A copy gets a token of its own only when a link among the copies names it.
        if (const uint64_t token = node.tokenIfAny())
            tokens_.emplace(token, copy.get());
        copies_.push_back(copy.get());
        return copy;
    }

    void relink(HostContainer& container)
    {
        for (auto& [id, value] : container.elements) {
            if (auto* link = std::get_if<LinkValue>(&value)) {
                const auto it = tokens_.find(link->token);
                if (it != tokens_.end())
                    link->token = it->second->token();
            } else if (auto* sub = std::get_if<SubContainer>(&value)) {
                relink(sub->get());
            }
        }
    }

    std::unordered_map<uint64_t, HostNode*> tokens_; // an original's token: its copy
    std::vector<HostNode*> copies_;
};

} // namespace

NodePtr copyNode(const HostNode& node, int32_t flags)
{
    if (node.isDocument())
        return copyDocument(node);
    Copier copier;
    NodePtr copy = copier.copyTree(node, (flags & COPY_FLAGS_NO_CHILDREN) != 0);
    if (copy)
        copier.relink();
    return copy;
}

NodePtr copyDocument(const HostNode& document)
{
    Copier copier;
    auto copy = std::make_unique<HostNode>(NodeKind::Document, document.type(), document.name);
    copy->setOrigin(document.origin());
    copy->params = document.params;
    for (const HostNode* object = firstObject(document); object; object = object->next()) {
        NodePtr objectCopy = copier.copyTree(*object);
        if (!objectCopy)
            return nullptr;
        appendObject(*copy, std::move(objectCopy));
    }
    for (const HostNode* material = firstMaterial(document); material; material = material->next()) {
        NodePtr materialCopy = copier.copyTree(*material);
        if (!materialCopy)
            return nullptr;
        appendMaterial(*copy, std::move(materialCopy));
    }
    if (const HostView* view = document.documentData->view.get()) {
        auto viewCopy = std::make_unique<HostView>();
        copier.noteView(*view, *viewCopy);
        if (view->editorCamera)
            viewCopy->editorCamera = copyNode(*view->editorCamera);
        copy->documentData->view = std::move(viewCopy);
    }
    copier.relink();
    return copy;
}

} // namespace host
