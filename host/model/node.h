// The scene graph. One node kind serves documents, objects, tags and materials: each has a
// type ID, a name, a parameter container and a link token, and sits in at most one ordered list
// of its owner (a document's top-level objects or materials, an object's children or tags).
//
// Ownership: a list owns its nodes; a node owns its lists, so freeing a node frees its children
// and tags (and a document its objects and materials). Nodes outside any list are held by a
// NodePtr. Next, previous, first child, parent and document are O(1); inserting or detaching a
// subtree that changes document is O(subtree size); freeing a subtree is iterative, so neither
// long sibling chains nor deep hierarchies use stack.
//
// The model is single-threaded, like the application's main thread.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <string>
#include <vector>

#include "host/model/container.h"
#include "host/model/image.h"
#include "host/model/shared_array.h"
#include "host/model/uvw_polygon.h"
#include "host_types.h"

namespace host {

enum class NodeKind { Document, Object, Tag, Material, Other };

using NodePtr = std::unique_ptr<HostNode>;

/// An ordered list of nodes that owns them.
class NodeList {
public:
    NodeList() = default;
    NodeList(const NodeList&) = delete;
    NodeList& operator=(const NodeList&) = delete;
    ~NodeList();

    HostNode* first() const { return first_.get(); }
    HostNode* last() const { return last_; }
    bool empty() const { return !first_; }
    /// Counts the nodes (walks the list).
    std::size_t count() const;

    /// Inserts `node` after `predecessor` (nullptr: at the front); `owner` is the node that holds
    /// this list. The node must not be in a list.
    HostNode* insertAfter(HostNode* owner, NodePtr node, HostNode* predecessor);
    /// Inserts at the end.
    HostNode* append(HostNode* owner, NodePtr node) { return insertAfter(owner, std::move(node), last_); }
    /// Takes a node of this list out of it.
    NodePtr take(HostNode* node);

private:
    friend struct ::HostNode;
    std::unique_ptr<HostNode> first_;
    HostNode* last_ = nullptr;
};

/// Something a node carries for a layer above the model (a plug-in tag's instance). It is
/// destroyed with its node and asked to make its own for a copy.
class NodeAttachment {
public:
    virtual ~NodeAttachment() = default;
    /// The attachment of `copy`, a new copy of the node holding this one; nullptr when it cannot
    /// be made (the copy then fails).
    virtual std::unique_ptr<NodeAttachment> cloneFor(HostNode& copy) const = 0;
};

/// A channel of a material: its switch and its data container (a texture's file name, ...).
struct MaterialChannel {
    bool enabled = false;
    HostContainer data;
};

/// What only materials have.
struct MaterialData {
    std::map<int32_t, MaterialChannel> channels;
    MaterialPreview preview; // made on first need (host/pictures/material_preview.h)
};

/// What only documents have.
struct DocumentData {
    NodeList materials;
    std::unique_ptr<HostView> view; // the active view; none when null
    /// Token of an object of the document -> token of the current state the modelling command
    /// made of it, so an instance linked to an object that was replaced by its current state
    /// still finds what it shows, as the application's instance keeps its cache.
    std::unordered_map<uint64_t, uint64_t> currentStates;
};

} // namespace host

/// The active view of a document: the camera it looks through, either an object of the document
/// (by link) or its own editor camera (a camera object outside any document), or neither.
struct HostView {
    uint64_t sceneCamera = 0;         // token of a document's object, 0 for none
    host::NodePtr editorCamera;       // may be null

    HostView();
    ~HostView();
    HostView(const HostView&) = delete;
    HostView& operator=(const HostView&) = delete;
};

struct HostNode {
    HostNode(host::NodeKind kind, int32_t type, std::string name = {});
    ~HostNode();
    HostNode(const HostNode&) = delete;
    HostNode& operator=(const HostNode&) = delete;

    host::NodeKind kind() const { return kind_; }
    int32_t type() const { return type_; }
    bool isObject() const { return kind_ == host::NodeKind::Object; }
    bool isDocument() const { return kind_ == host::NodeKind::Document; }

    /// The node's link token: unique in the process, never reused, made on first use.
    uint64_t token() const;
    /// The token if one has been made, else 0.
    uint64_t tokenIfAny() const { return token_; }
    /// The node of the user's document this one was made from: copies of every kind (node and
    /// document copies, current state) carry their source's origin, an original is its own.
    uint64_t origin() const { return origin_ ? origin_ : token(); }
    /// The origin without making a token: 0 for an original that has none yet.
    uint64_t originIfAny() const { return origin_ ? origin_ : token_; }
    void setOrigin(uint64_t origin) { origin_ = origin; }

    std::string name;
    HostContainer params; // a document keeps its settings (1012, 1013, ...) here

    // Placement.
    HostNode* next() const { return next_.get(); }
    HostNode* prev() const { return prev_; }
    /// The node whose list holds this one (parent object, object of a tag, or document).
    HostNode* owner() const { return owner_; }
    bool inList() const { return list_ != nullptr; }
    /// An object's parent object; the object a tag is on; else nullptr (a top-level object).
    HostNode* parent() const;
    /// The document this node is in, or nullptr. O(1): kept up to date on insert and detach.
    HostNode* document() const { return document_; }
    /// Takes the node out of its list; answers it (null when it was in none, and the caller
    /// does not own it).
    host::NodePtr detach();

    /// An object's child objects; a document's top-level objects.
    host::NodeList& children() { return children_; }
    const host::NodeList& children() const { return children_; }
    /// An object's tags, in order.
    host::NodeList& tags() { return tags_; }
    const host::NodeList& tags() const { return tags_; }

    // Objects.
    HostMatrix local{};                    // identity for a new object
    // Copies of the node share these until one of them changes (host/model/shared_array.h).
    host::SharedArray<HostVector> points;        // polygon objects
    host::SharedArray<HostPolygon> polygons;     // polygon objects; a triangle has c == d
    host::SharedArray<host::UvwPolygon> uvws;    // UVW tags (5671): one per polygon of their object

    // Kind-specific parts, present only on that kind.
    std::unique_ptr<host::MaterialData> material;   // materials
    std::unique_ptr<host::DocumentData> documentData; // documents
    std::unique_ptr<host::NodeAttachment> attachment; // plug-in tags

private:
    friend class host::NodeList;
    void takeListsInto(std::vector<host::NodePtr>& pending);
    static void destroyPending(std::vector<host::NodePtr>& pending);
    /// Sets the document of a node and everything under it (children and tags).
    static void setDocument(HostNode* root, HostNode* document);

    host::NodeKind kind_;
    int32_t type_;
    mutable uint64_t token_ = 0;
    uint64_t origin_ = 0;
    std::unique_ptr<HostNode> next_;
    HostNode* prev_ = nullptr;
    HostNode* owner_ = nullptr;
    HostNode* document_ = nullptr;
    host::NodeList* list_ = nullptr;
    host::NodeList children_;
    host::NodeList tags_;
};

namespace host {

/// Frees a node: takes it out of its list first, then frees it with its children and tags.
/// nullptr is ignored.
void freeNode(HostNode* node);

/// The node a token names, or nullptr when no such node lives (freed, or never made).
HostNode* findByToken(uint64_t token);

} // namespace host
