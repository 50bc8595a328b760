#include <gtest/gtest.h>

#include "host/model/build.h"
#include "host/model/container.h"

namespace {

TEST(Container, AbsentAndMismatchedReadsAnswerTheFallback)
{
    HostContainer c;
    c.setString(1, "text");
    c.setFilename(2, "/tmp/x");
    c.setVector(3, {1, 2, 3});

    EXPECT_EQ(c.getInt(99, 7), 7);
    EXPECT_FLOAT_EQ(c.getReal(99, 0.25f), 0.25f);
    EXPECT_TRUE(c.getBool(99, true));
    EXPECT_EQ(c.getInt(1, 7), 7);      // a text is no integer
    EXPECT_EQ(c.getString(2), "");     // a file name is no text
    EXPECT_EQ(c.getFilename(1), "");   // and a text no file name
    EXPECT_EQ(c.getVector(1, {4, 5, 6}), (HostVector{4, 5, 6}));
    EXPECT_EQ(c.getVector(3, {4, 5, 6}), (HostVector{1, 2, 3}));
    EXPECT_EQ(c.getLinkToken(3), 0u);
}

TEST(Container, NumbersReadAsOneAnother)
{
    HostContainer c;
    c.setBool(1, true);
    c.setInt(2, 3);
    c.setReal(3, 2.75f);
    EXPECT_EQ(c.getInt(1, -1), 1);
    EXPECT_FLOAT_EQ(c.getReal(2, -1), 3.0f);
    EXPECT_TRUE(c.getBool(2, false));
    EXPECT_EQ(c.getInt(3, -1), 2);
    c.setReal(4, 1e20f); // too large for an integer
    EXPECT_EQ(c.getInt(4, -1), -1);
}

TEST(Container, CopiesAreDeepAndRemovedEntriesFallBack)
{
    HostContainer inner;
    inner.setInt(10, 1);
    HostContainer outer;
    outer.setContainer(5, inner);
    outer.setReal(6, 0.5f);

    HostContainer copy = outer;
    copy.getContainer(5)->setInt(10, 2);
    EXPECT_EQ(outer.getContainer(5)->getInt(10, 0), 1);
    EXPECT_EQ(copy.getContainer(5)->getInt(10, 0), 2);
    EXPECT_FALSE(copy == outer);

    copy.remove(6);
    EXPECT_FALSE(copy.has(6));
    EXPECT_FLOAT_EQ(copy.getReal(6, 9.0f), 9.0f);
    EXPECT_FLOAT_EQ(outer.getReal(6, 9.0f), 0.5f);
}

TEST(Container, MergeKeepsTheElementsNotGiven)
{
    HostContainer stored;
    stored.setFilename(1000, "/opt/lumeno");
    stored.setFilename(1001, "/old.xml");
    HostContainer update;
    update.setFilename(1001, "/new.xml");
    stored.merge(update);
    EXPECT_EQ(stored.getFilename(1000), "/opt/lumeno");
    EXPECT_EQ(stored.getFilename(1001), "/new.xml");
}

TEST(Container, ElementsAreKeptInIdOrder)
{
    HostContainer c;
    c.setInt(30, 0);
    c.setInt(10, 0);
    c.setInt(20, 0);
    std::vector<int32_t> ids;
    for (const auto& [id, value] : c.elements)
        ids.push_back(id);
    EXPECT_EQ(ids, (std::vector<int32_t>{10, 20, 30}));
}

} // namespace
