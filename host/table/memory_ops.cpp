#include "host/memory/allocator.h"
#include "host/table/host_table_impl.h"
#include "host/table/table_guard.h"

namespace host {
namespace {

void* alloc(size_t size)
{
    return guarded("memory.alloc", static_cast<void*>(nullptr),
                   [&] { return liveSession().allocator().allocate(size); });
}

void release(void* block)
{
    guardedVoid("memory.free", [&] { liveSession().allocator().release(block); });
}

} // namespace

const HostMemoryOps& memoryOps()
{
    static const HostMemoryOps ops = {alloc, release};
    return ops;
}

} // namespace host
