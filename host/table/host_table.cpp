#include "host/table/host_table_impl.h"

namespace host {

HostTable makeHostTable(int32_t version)
{
    HostTable table{};
    table.version = version;
    table.memory = &memoryOps();
    table.text = &textOps();
    table.filename = &filenameOps();
    table.resource = &resourceOps();
    table.registry = &registryOps();
    table.settings = &settingsOps();
    table.node = &nodeOps();
    table.object = &objectOps();
    table.document = &documentOps();
    table.container = &containerOps();
    table.material = &materialOps();
    table.image = &imageOps();
    table.surface = &surfaceOps();
    return table;
}

} // namespace host
