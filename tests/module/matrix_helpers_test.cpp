// Placement arithmetic: world matrices are parent world times local.
#include <gtest/gtest.h>

#include "export/matrix_helpers.h"

namespace {

void ExpectVector(HostVector v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

HostMatrix Translation(float x, float y, float z) {
    HostMatrix m = IdentityMatrix();
    m.off = HostVector{x, y, z};
    return m;
}

/// A quarter turn about the z axis: x goes to y, y goes to -x.
HostMatrix QuarterTurnZ() {
    return HostMatrix{{0, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}};
}

TEST(Matrix, IdentityLeavesPointsWhereTheyAre) {
    HostMatrix m = IdentityMatrix();
    ExpectVector(m.off, 0, 0, 0);
    ExpectVector(m.v1, 1, 0, 0);
    ExpectVector(m.v2, 0, 1, 0);
    ExpectVector(m.v3, 0, 0, 1);
    ExpectVector(TransformPoint(m, HostVector{3, -4, 5}), 3, -4, 5);
}

TEST(Matrix, TransformPointIsOffsetPlusAxesTimesComponents) {
    HostMatrix m{{1, 2, 3}, {2, 0, 0}, {0, 3, 0}, {0, 0, 4}};
    ExpectVector(TransformPoint(m, HostVector{1, 1, 1}), 3, 5, 7);
    ExpectVector(TransformPoint(QuarterTurnZ(), HostVector{1, 0, 0}), 0, 1, 0);
}

TEST(Matrix, ProductAppliesTheRightMatrixFirst) {
    HostMatrix parent = Translation(10, 0, 0);
    HostMatrix local = QuarterTurnZ();
    local.off = HostVector{1, 0, 0};
    HostMatrix world = MultiplyMatrix(parent, local);
    // The local point (1, 0, 0): turned to (0, 1, 0), moved by the local offset, then the parent's.
    ExpectVector(TransformPoint(world, HostVector{1, 0, 0}), 11, 1, 0);
    ExpectVector(world.off, 11, 0, 0);

    HostMatrix other = MultiplyMatrix(local, parent);
    // The other order turns the parent's offset as well.
    ExpectVector(other.off, 1, 10, 0);
}

TEST(Matrix, ProductWithIdentityIsTheSameMatrix) {
    HostMatrix m{{1, 2, 3}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 2}};
    HostMatrix left = MultiplyMatrix(IdentityMatrix(), m);
    HostMatrix right = MultiplyMatrix(m, IdentityMatrix());
    for (const HostMatrix& r : {left, right}) {
        ExpectVector(r.off, 1, 2, 3);
        ExpectVector(r.v1, 0, 1, 0);
        ExpectVector(r.v2, -1, 0, 0);
        ExpectVector(r.v3, 0, 0, 2);
    }
}

TEST(Matrix, NormalizeGivesUnitLengthAndKeepsZero) {
    ExpectVector(NormalizeVector(HostVector{3, 0, 4}), 0.6f, 0.0f, 0.8f);
    ExpectVector(NormalizeVector(HostVector{0, 0, 0}), 0, 0, 0);
    ExpectVector(NormalizeVector(HostVector{0, -5, 0}), 0, -1, 0);
}

} // namespace
