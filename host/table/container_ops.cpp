#include "host/model/links.h"
#include "host/model/node.h"
#include "host/table/handle_counts.h"
#include "host/table/handle_factory.h"
#include "host/table/host_table_impl.h"
#include "host/table/table_guard.h"
#include "host/text/host_text.h"

namespace host {

HostContainer* newContainer(const HostContainer& from)
{
    auto* container = new HostContainer(from);
    ++handleCounts().containers;
    return container;
}

namespace {

constexpr HostContainer* none = nullptr;

HostContainer* create()
{
    return guarded("container.create", none, [] { return newContainer({}); });
}

HostContainer* copy(const HostContainer* container)
{
    return guarded("container.copy", none,
                   [&] { return container ? newContainer(*container) : none; });
}

void release(HostContainer* container)
{
    if (!container)
        return;
    delete container;
    --handleCounts().containers;
}

bool has(const HostContainer* c, int32_t id)
{
    return c && c->has(id);
}

bool getBool(const HostContainer* c, int32_t id, bool fallback)
{
    return c ? c->getBool(id, fallback) : fallback;
}

int32_t getInt(const HostContainer* c, int32_t id, int32_t fallback)
{
    return c ? c->getInt(id, fallback) : fallback;
}

float getReal(const HostContainer* c, int32_t id, float fallback)
{
    return c ? c->getReal(id, fallback) : fallback;
}

HostVector getVector(const HostContainer* c, int32_t id, HostVector fallback)
{
    return c ? c->getVector(id, fallback) : fallback;
}

HostString* getString(const HostContainer* c, int32_t id)
{
    return guarded("container.get_string", static_cast<HostString*>(nullptr),
                   [&] { return newText(c ? c->getString(id) : ""); });
}

HostFilename* getFilename(const HostContainer* c, int32_t id)
{
    return guarded("container.get_filename", static_cast<HostFilename*>(nullptr),
                   [&] { return newFilename(c ? c->getFilename(id) : ""); });
}

HostNode* getLink(const HostContainer* c, int32_t id, HostDocument* document, int32_t filter)
{
    return c ? resolveLink(c->getLinkToken(id), document, filter) : nullptr;
}

void setBool(HostContainer* c, int32_t id, bool value)
{
    guardedVoid("container.set_bool", [&] { if (c) c->setBool(id, value); });
}

void setInt(HostContainer* c, int32_t id, int32_t value)
{
    guardedVoid("container.set_int", [&] { if (c) c->setInt(id, value); });
}

void setReal(HostContainer* c, int32_t id, float value)
{
    guardedVoid("container.set_real", [&] { if (c) c->setReal(id, value); });
}

void setVector(HostContainer* c, int32_t id, HostVector value)
{
    guardedVoid("container.set_vector", [&] { if (c) c->setVector(id, value); });
}

void setString(HostContainer* c, int32_t id, const HostString* value)
{
    guardedVoid("container.set_string", [&] { if (c) c->setString(id, value ? value->utf8 : ""); });
}

void setFilename(HostContainer* c, int32_t id, const HostFilename* value)
{
    guardedVoid("container.set_filename",
                [&] { if (c) c->setFilename(id, value ? value->path : ""); });
}

void setLink(HostContainer* c, int32_t id, const HostNode* value)
{
    guardedVoid("container.set_link", [&] { if (c) c->setLink(id, value); });
}

void remove(HostContainer* c, int32_t id)
{
    guardedVoid("container.remove", [&] { if (c) c->remove(id); });
}

HostContainer* getContainer(HostContainer* c, int32_t id)
{
    return c ? c->getContainer(id) : nullptr;
}

} // namespace

const HostContainerOps& containerOps()
{
    static const HostContainerOps ops = {create,   copy,        release,   has,       getBool,
                                         getInt,   getReal,     getVector, getString, getFilename,
                                         getLink,  setBool,     setInt,    setReal,   setVector,
                                         setString, setFilename, setLink,  remove,    getContainer};
    return ops;
}

} // namespace host
