#include "host/table/handle_counts.h"

namespace host {

HandleCounts& handleCounts()
{
    static HandleCounts counts;
    return counts;
}

} // namespace host
