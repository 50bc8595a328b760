#include "host/table/host_events.h"

namespace host {

HostEvents& hostEvents()
{
    static HostEvents events;
    return events;
}

void resetHostEvents()
{
    hostEvents() = HostEvents{};
}

} // namespace host
