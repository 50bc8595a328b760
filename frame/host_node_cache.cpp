#include "frame/host_node_cache.h"

#include "frame/host_api.h"

HostNode* NodeCache(HostNode* node, int32_t flags) {
    const HostTable* table = GetHostTable();
    if (!table || !table->node || !table->node->cache) return nullptr;
    return table->node->cache(node, flags);
}
