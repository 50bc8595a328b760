#include <gtest/gtest.h>

#include "host/memory/allocator.h"

namespace {

TEST(Allocator, HandsOutZeroedBlocksAndCountsLiveOnes)
{
    host::Allocator allocator;
    auto* a = static_cast<unsigned char*>(allocator.allocate(64));
    void* b = allocator.allocate(0);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(a[i], 0) << "byte " << i;
    EXPECT_EQ(allocator.liveBlocks(), 2u);
    EXPECT_EQ(allocator.liveBytes(), 64u);

    allocator.release(a);
    allocator.release(nullptr);
    EXPECT_EQ(allocator.liveBlocks(), 1u);
    allocator.release(b);
    EXPECT_EQ(allocator.liveBlocks(), 0u);
    EXPECT_EQ(allocator.allocationCount(), 2u);
}

TEST(Allocator, FailsOnlyTheChosenAllocation)
{
    host::Allocator allocator;
    void* before = allocator.allocate(8);
    allocator.failAllocation(3);
    void* first = allocator.allocate(8);
    void* second = allocator.allocate(8);
    EXPECT_FALSE(allocator.failureHappened());
    void* third = allocator.allocate(8);
    void* fourth = allocator.allocate(8);

    EXPECT_NE(first, nullptr);
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(third, nullptr);
    EXPECT_NE(fourth, nullptr);
    EXPECT_TRUE(allocator.failureHappened());
    EXPECT_EQ(allocator.liveBlocks(), 4u);

    for (void* block : {before, first, second, fourth})
        allocator.release(block);
    EXPECT_EQ(allocator.liveBlocks(), 0u);
}

TEST(Allocator, CancelledFailureDoesNotHappen)
{
    host::Allocator allocator;
    allocator.failAllocation(1);
    allocator.failAllocation(0);
    void* block = allocator.allocate(4);
    EXPECT_NE(block, nullptr);
    EXPECT_FALSE(allocator.failureHappened());
    allocator.release(block);
}

TEST(Allocator, RefusesToFreeWhatItDidNotHandOut)
{
    host::Allocator allocator;
    void* block = allocator.allocate(16);
    int local = 0;
    allocator.release(&local);
    allocator.release(block);
    allocator.release(block); // twice
    EXPECT_EQ(allocator.badFrees(), 2u);
    EXPECT_EQ(allocator.liveBlocks(), 0u);
}

} // namespace
