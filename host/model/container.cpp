#include "host/model/container.h"

#include <cmath>

#include "host/model/node.h"

namespace host {

SubContainer::SubContainer() : value_(std::make_unique<HostContainer>()) {}
SubContainer::SubContainer(const HostContainer& value) : value_(std::make_unique<HostContainer>(value)) {}
SubContainer::SubContainer(const SubContainer& other)
    : value_(std::make_unique<HostContainer>(other.get()))
{
}
SubContainer& SubContainer::operator=(const SubContainer& other)
{
    if (this != &other)
        value_ = std::make_unique<HostContainer>(other.get());
    return *this;
}
SubContainer::~SubContainer() = default;

bool SubContainer::operator==(const SubContainer& other) const
{
    if (!value_ || !other.value_)
        return value_ == other.value_;
    return *value_ == *other.value_;
}

int32_t valueType(const Value& value)
{
    switch (value.index()) {
    case 0: return HOST_VALUE_BOOL;
    case 1: return HOST_VALUE_INT;
    case 2: return HOST_VALUE_REAL;
    case 3: return HOST_VALUE_VECTOR;
    case 4: return HOST_VALUE_STRING;
    case 5: return HOST_VALUE_FILENAME;
    case 6: return HOST_VALUE_LINK;
    default: return HOST_VALUE_NONE;
    }
}

} // namespace host

bool operator==(const HostVector& a, const HostVector& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

bool HostContainer::operator==(const HostContainer& other) const
{
    return elements == other.elements;
}

const host::Value* HostContainer::find(int32_t id) const
{
    const auto it = elements.find(id);
    return it == elements.end() ? nullptr : &it->second;
}

host::Value* HostContainer::find(int32_t id)
{
    const auto it = elements.find(id);
    return it == elements.end() ? nullptr : &it->second;
}

bool HostContainer::getBool(int32_t id, bool fallback) const
{
    const host::Value* v = find(id);
    if (!v)
        return fallback;
    if (const bool* b = std::get_if<bool>(v))
        return *b;
    if (const int32_t* i = std::get_if<int32_t>(v))
        return *i != 0;
    if (const float* r = std::get_if<float>(v))
        return *r != 0.0f;
    return fallback;
}

int32_t HostContainer::getInt(int32_t id, int32_t fallback) const
{
    const host::Value* v = find(id);
    if (!v)
        return fallback;
    if (const int32_t* i = std::get_if<int32_t>(v))
        return *i;
    if (const bool* b = std::get_if<bool>(v))
        return *b ? 1 : 0;
    if (const float* r = std::get_if<float>(v)) {
        // Out-of-range reals would make the conversion undefined.
        if (!std::isfinite(*r) || *r >= 2147483648.0f || *r < -2147483648.0f)
            return fallback;
        return static_cast<int32_t>(*r);
    }
    return fallback;
}

float HostContainer::getReal(int32_t id, float fallback) const
{
    const host::Value* v = find(id);
    if (!v)
        return fallback;
    if (const float* r = std::get_if<float>(v))
        return *r;
    if (const int32_t* i = std::get_if<int32_t>(v))
        return static_cast<float>(*i);
    if (const bool* b = std::get_if<bool>(v))
        return *b ? 1.0f : 0.0f;
    return fallback;
}

HostVector HostContainer::getVector(int32_t id, HostVector fallback) const
{
    const host::Value* v = find(id);
    if (const HostVector* vec = v ? std::get_if<HostVector>(v) : nullptr)
        return *vec;
    return fallback;
}

std::string HostContainer::getString(int32_t id) const
{
    const host::Value* v = find(id);
    if (const std::string* s = v ? std::get_if<std::string>(v) : nullptr)
        return *s;
    return {};
}

std::string HostContainer::getFilename(int32_t id) const
{
    const host::Value* v = find(id);
    if (const host::FileValue* f = v ? std::get_if<host::FileValue>(v) : nullptr)
        return f->path;
    return {};
}

uint64_t HostContainer::getLinkToken(int32_t id) const
{
    const host::Value* v = find(id);
    if (const host::LinkValue* l = v ? std::get_if<host::LinkValue>(v) : nullptr)
        return l->token;
    return 0;
}

const HostContainer* HostContainer::getContainer(int32_t id) const
{
    const host::Value* v = find(id);
    if (const host::SubContainer* c = v ? std::get_if<host::SubContainer>(v) : nullptr)
        return &c->get();
    return nullptr;
}

HostContainer* HostContainer::getContainer(int32_t id)
{
    host::Value* v = find(id);
    if (host::SubContainer* c = v ? std::get_if<host::SubContainer>(v) : nullptr)
        return &c->get();
    return nullptr;
}

void HostContainer::setLink(int32_t id, const HostNode* node)
{
    set(id, host::LinkValue{node ? node->token() : 0});
}

void HostContainer::merge(const HostContainer& other)
{
    for (const auto& [id, value] : other.elements)
        elements.insert_or_assign(id, value);
}
