#include "host/table/handle_counts.h"
#include "host/table/handle_factory.h"
#include "host/table/host_table_impl.h"
#include "host/table/table_guard.h"
#include "host/text/host_text.h"

namespace host {

HostString* newText(std::string utf8)
{
    auto* text = new HostString{std::move(utf8)};
    ++handleCounts().strings;
    return text;
}

namespace {

HostString* fromCString(const char* text)
{
    return guarded("text.from_cstring", static_cast<HostString*>(nullptr),
                   [&] { return newText(text ? text : ""); });
}

HostString* copy(const HostString* text)
{
    return guarded("text.copy", static_cast<HostString*>(nullptr),
                   [&] { return newText(text ? text->utf8 : ""); });
}

int32_t length(const HostString* text)
{
    return text ? utf8Length(text->utf8) : 0;
}

int32_t toCString(const HostString* text, char* buffer, int32_t size)
{
    return copyToBuffer(text ? std::string_view(text->utf8) : std::string_view(), buffer, size);
}

void release(HostString* text)
{
    if (!text)
        return;
    delete text;
    --handleCounts().strings;
}

} // namespace

const HostTextOps& textOps()
{
    static const HostTextOps ops = {fromCString, copy, length, toCString, release};
    return ops;
}

} // namespace host
