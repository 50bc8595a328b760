#include "host/memory/allocator.h"

#include <cstdlib>

namespace host {

Allocator::~Allocator()
{
    for (auto& [block, size] : blocks_)
        std::free(block);
}

void* Allocator::allocate(std::size_t size)
{
    ++count_;
    if (failAt_ != 0 && count_ == failAt_) {
        failAt_ = 0;
        failed_ = true;
        return nullptr;
    }
    void* block = std::calloc(1, size == 0 ? 1 : size);
    if (!block)
        return nullptr;
    blocks_.emplace(block, size);
    liveBytes_ += size;
    return block;
}

void Allocator::release(void* block)
{
    if (!block)
        return;
    const auto it = blocks_.find(block);
    if (it == blocks_.end()) {
        // Not ours, or given back twice: freeing it would corrupt the heap.
        ++badFrees_;
        return;
    }
    liveBytes_ -= it->second;
    blocks_.erase(it);
    std::free(block);
}

void Allocator::failAllocation(uint64_t n)
{
    failAt_ = n == 0 ? 0 : count_ + n;
    failed_ = false;
}

} // namespace host
