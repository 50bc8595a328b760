// The allocator handed to the module. It hands out zeroed blocks, counts the blocks that are
// live, and can be told to fail one allocation so that tests reach the module's out-of-memory
// paths and prove that nothing leaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>

namespace host {

class Allocator {
public:
    Allocator() = default;
    ~Allocator(); // gives back whatever the module left behind
    Allocator(const Allocator&) = delete;
    Allocator& operator=(const Allocator&) = delete;

    /// A zeroed block of `size` bytes (at least one byte is reserved for size 0), or nullptr when
    /// this is the allocation chosen to fail.
    void* allocate(std::size_t size);
    /// Gives a block back. nullptr is ignored; a pointer this allocator did not hand out (or
    /// already took back) is not freed but counted in badFrees().
    void release(void* block);

    /// Blocks handed out and not yet given back.
    std::size_t liveBlocks() const { return blocks_.size(); }
    /// Bytes in the live blocks.
    std::size_t liveBytes() const { return liveBytes_; }
    /// Allocations asked for since construction (the failed ones included).
    uint64_t allocationCount() const { return count_; }
    /// Frees of pointers that were not live blocks.
    uint64_t badFrees() const { return badFrees_; }

    /// Makes the n-th allocation from now fail (n = 1: the next one); only that one fails.
    /// n = 0 cancels a pending failure.
    void failAllocation(uint64_t n);
    /// Whether the chosen failure has happened since the last failAllocation.
    bool failureHappened() const { return failed_; }

private:
    std::unordered_map<void*, std::size_t> blocks_;
    std::size_t liveBytes_ = 0;
    uint64_t count_ = 0;
    uint64_t badFrees_ = 0;
    uint64_t failAt_ = 0; // absolute allocation number that fails; 0 = none
    bool failed_ = false;
};

} // namespace host
