#include <gtest/gtest.h>

#include <vector>

#include "core/Random.h"

TEST(RandomGenerator, SeedRepeatsTheSequenceInFifteenBits) {
    Random::Seed(12345);
    std::vector<int> first;
    int maxSeen = 0;
    for (int i = 0; i < 20000; ++i) {
        const int v = Random::Next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
        if (i < 10) first.push_back(v);
        maxSeen = std::max(maxSeen, v);
    }
    EXPECT_GT(maxSeen, 32000);  // spans the whole range
    Random::Seed(12345);
    for (int v : first) EXPECT_EQ(Random::Next(), v);
    Random::Seed(1);
    EXPECT_EQ(Random::Next(), 41);  // the classic generator's first value for seed 1
}

TEST(RandomGenerator, HelpersStayInTheirRanges) {
    Random::Seed(7);
    for (int i = 0; i < 5000; ++i) {
        const int r = RandomIntRange(-2, 3);
        ASSERT_GE(r, -2);
        ASSERT_LE(r, 2);
        const int n = RandomInt(6);
        ASSERT_GE(n, 0);
        ASSERT_LE(n, 5);
        const float f = RandomFloatRange(0.25f, 0.6f);
        ASSERT_GE(f, 0.25f);
        ASSERT_LE(f, 0.6f - 0.0009f);
    }
    EXPECT_EQ(RandomInt(0), 0);
    EXPECT_EQ(RandomIntRange(4, 4), 4);
    EXPECT_LT(RandomFloatRange(1.0f, 1.0f), 1.0f + 1e-6f);
}
