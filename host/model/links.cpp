#include "host/model/links.h"

#include "host/model/node.h"
#include "host_constants.h"

namespace host {

bool passesLinkFilter(const HostNode& node, int32_t filter)
{
    if (filter == LINK_FILTER_ANY)
        return true;
    if (filter == LINK_FILTER_OBJECT)
        return node.isObject();
    return node.type() == filter;
}

HostNode* resolveLink(uint64_t token, const HostNode* document, int32_t filter)
{
    HostNode* node = findByToken(token);
    if (!node || node->document() != document || !passesLinkFilter(*node, filter))
        return nullptr;
    return node;
}

} // namespace host
