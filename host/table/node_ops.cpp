#include "host/model/copy.h"
#include "host/model/links.h"
#include "host/plugins/plugin_tags.h"
#include "host/table/handle_factory.h"
#include "host/table/host_table_impl.h"
#include "host/table/save_trace.h"
#include "host/table/table_guard.h"

namespace host {
namespace {

constexpr HostNode* none = nullptr;

int32_t type(const HostNode* node)
{
    return node ? node->type() : 0;
}

HostString* name(const HostNode* node)
{
    return guarded("node.name", static_cast<HostString*>(nullptr),
                   [&] {
                       traceNameRead(node);
                       return newText(node ? node->name : "");
                   });
}

void setName(HostNode* node, const HostString* text)
{
    guardedVoid("node.set_name", [&] {
        if (node)
            node->name = text ? text->utf8 : "";
    });
}

HostNode* next(const HostNode* node)
{
    HostNode* found = node ? node->next() : nullptr;
    traceWalk(found);
    return found;
}

HostNode* firstChild(const HostNode* node)
{
    HostNode* found = node ? node->children().first() : nullptr;
    traceWalk(found);
    return found;
}

HostNode* parent(const HostNode* node)
{
    return node ? node->parent() : nullptr;
}

HostDocument* document(const HostNode* node)
{
    if (!node)
        return nullptr;
    return node->isDocument() ? const_cast<HostNode*>(node) : node->document();
}

HostNode* copy(const HostNode* node, int32_t flags)
{
    return guarded("node.copy", none, [&] {
        if (!node)
            return none;
        NodePtr result = copyNode(*node, flags);
        if (result && result->isDocument())
            noteDocumentHandedOut(result.get());
        return result.release();
    });
}

void remove(HostNode* node)
{
    // The caller owns the node from now on.
    guardedVoid("node.remove", [&] {
        if (node)
            static_cast<void>(node->detach().release());
    });
}

void release(HostNode* node)
{
    guardedVoid("node.free", [&] {
        noteNodeFreed(node);
        freeNode(node);
    });
}

bool message(HostNode* node, int32_t id, void* data)
{
    return guarded("node.message", false, [&] { return node ? sendMessage(*node, id, data) : false; });
}

HostContainer* container(HostNode* node)
{
    return node ? &node->params : nullptr;
}

bool getParameter(HostNode* node, int32_t id, HostValue* out)
{
    if (!node || !out)
        return false;
    *out = HostValue{};
    const Value* value = node->params.find(id);
    if (!value)
        return false;
    // Texts, file names and sub-containers are not carried by a generic value.
    if (const bool* b = std::get_if<bool>(value)) {
        out->type = HOST_VALUE_BOOL;
        out->integer = *b ? 1 : 0;
    } else if (const int32_t* i = std::get_if<int32_t>(value)) {
        out->type = HOST_VALUE_INT;
        out->integer = *i;
    } else if (const float* r = std::get_if<float>(value)) {
        out->type = HOST_VALUE_REAL;
        out->real = *r;
    } else if (const HostVector* v = std::get_if<HostVector>(value)) {
        out->type = HOST_VALUE_VECTOR;
        out->vector = *v;
    } else if (const LinkValue* l = std::get_if<LinkValue>(value)) {
        out->type = HOST_VALUE_LINK;
        out->link = l->token;
    } else {
        return false;
    }
    return true;
}

HostNode* resolve(uint64_t link, HostDocument* doc, int32_t filter)
{
    return resolveLink(link, doc, filter);
}

HostNode* cache(HostNode* /*node*/, int32_t /*flags*/)
{
    // This host generates no objects ahead of time: an instance's link is all there is.
    return nullptr;
}

} // namespace

const HostNodeOps& nodeOps()
{
    static const HostNodeOps ops = {type,   name,    setName,   next,         firstChild,
                                    parent, document, copy,     remove,       release,
                                    message, container, getParameter, resolve,
                                    cache};
    return ops;
}

} // namespace host
