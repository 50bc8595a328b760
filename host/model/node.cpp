#include "host/model/node.h"

#include <stdexcept>
#include <unordered_map>

#include "host/geometry/matrix.h"

namespace host {
namespace {

// Tokens are made only for nodes that someone links to or asks for, so a large scene without
// links costs nothing here.
std::unordered_map<uint64_t, HostNode*>& tokenTable()
{
    // Never destroyed: nodes held by static objects may outlive any static table.
    static auto* table = new std::unordered_map<uint64_t, HostNode*>();
    return *table;
}

uint64_t& lastToken()
{
    static uint64_t last = 0;
    return last;
}

} // namespace

NodeList::~NodeList()
{
    if (!first_)
        return;
    std::vector<NodePtr> pending;
    pending.push_back(std::move(first_));
    last_ = nullptr;
    HostNode::destroyPending(pending);
}

std::size_t NodeList::count() const
{
    std::size_t n = 0;
    for (const HostNode* node = first_.get(); node; node = node->next())
        ++n;
    return n;
}

HostNode* NodeList::insertAfter(HostNode* owner, NodePtr node, HostNode* predecessor)
{
    if (!node)
        throw std::invalid_argument("no node to insert");
    if (node->list_)
        throw std::invalid_argument("the node is already in a list");
    if (predecessor && predecessor->list_ != this)
        throw std::invalid_argument("the predecessor is not in this list");
    HostNode* raw = node.get();
    raw->owner_ = owner;
    raw->list_ = this;
    raw->prev_ = predecessor;
    std::unique_ptr<HostNode>& slot = predecessor ? predecessor->next_ : first_;
    raw->next_ = std::move(slot);
    if (raw->next_)
        raw->next_->prev_ = raw;
    else
        last_ = raw;
    slot = std::move(node);
    HostNode::setDocument(raw, owner && owner->isDocument() ? owner : (owner ? owner->document_ : nullptr));
    return raw;
}

NodePtr NodeList::take(HostNode* node)
{
    if (!node || node->list_ != this)
        throw std::invalid_argument("the node is not in this list");
    HostNode* before = node->prev_;
    std::unique_ptr<HostNode>& slot = before ? before->next_ : first_;
    NodePtr taken = std::move(slot);
    slot = std::move(taken->next_);
    if (slot)
        slot->prev_ = before;
    else
        last_ = before;
    taken->prev_ = nullptr;
    taken->owner_ = nullptr;
    taken->list_ = nullptr;
    HostNode::setDocument(taken.get(), nullptr);
    return taken;
}

void freeNode(HostNode* node)
{
    if (!node)
        return;
    NodePtr owned = node->detach();
    if (!owned)
        owned.reset(node); // in no list: the caller handed it over
}

HostNode* findByToken(uint64_t token)
{
    if (token == 0)
        return nullptr;
    const auto& table = tokenTable();
    const auto it = table.find(token);
    return it == table.end() ? nullptr : it->second;
}

} // namespace host

HostView::HostView() = default;
HostView::~HostView() = default;

HostNode::HostNode(host::NodeKind kind, int32_t type, std::string nodeName)
    : name(std::move(nodeName)), local(host::identityMatrix()), kind_(kind), type_(type)
{
    if (kind == host::NodeKind::Material)
        material = std::make_unique<host::MaterialData>();
    if (kind == host::NodeKind::Document)
        documentData = std::make_unique<host::DocumentData>();
}

HostNode::~HostNode()
{
    // The module's instance goes first, while the node is still whole.
    attachment.reset();
    if (token_ != 0)
        host::tokenTable().erase(token_);
    std::vector<host::NodePtr> pending;
    takeListsInto(pending);
    destroyPending(pending);
}

void HostNode::destroyPending(std::vector<host::NodePtr>& pending)
{
    // Children and next siblings are moved onto a work list before their node dies, so freeing
    // never recurses, however long or deep the tree.
    while (!pending.empty()) {
        host::NodePtr node = std::move(pending.back());
        pending.pop_back();
        if (!node)
            continue;
        if (node->next_)
            pending.push_back(std::move(node->next_));
        node->takeListsInto(pending);
        node->prev_ = nullptr;
        node->owner_ = nullptr;
        node->document_ = nullptr;
        node->list_ = nullptr;
    }
}

void HostNode::takeListsInto(std::vector<host::NodePtr>& pending)
{
    for (host::NodeList* list : {&children_, &tags_}) {
        if (list->first_)
            pending.push_back(std::move(list->first_));
        list->last_ = nullptr;
    }
    if (documentData && documentData->materials.first_) {
        pending.push_back(std::move(documentData->materials.first_));
        documentData->materials.last_ = nullptr;
    }
}

uint64_t HostNode::token() const
{
    if (token_ == 0) {
        token_ = ++host::lastToken();
        host::tokenTable().emplace(token_, const_cast<HostNode*>(this));
    }
    return token_;
}

HostNode* HostNode::parent() const
{
    return (owner_ && owner_->isObject()) ? owner_ : nullptr;
}

void HostNode::setDocument(HostNode* root, HostNode* document)
{
    // A tree shares its root's document, so an unchanged root means an unchanged tree.
    if (root->document_ == document)
        return;
    std::vector<HostNode*> work{root};
    while (!work.empty()) {
        HostNode* node = work.back();
        work.pop_back();
        node->document_ = document;
        for (HostNode* child = node->children_.first(); child; child = child->next())
            work.push_back(child);
        for (HostNode* tag = node->tags_.first(); tag; tag = tag->next())
            work.push_back(tag);
    }
}

host::NodePtr HostNode::detach()
{
    return list_ ? list_->take(this) : nullptr;
}
