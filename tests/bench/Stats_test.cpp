#include "tests/bench/Stats.h"

#include <gtest/gtest.h>

TEST(Stats, MedianAndPercentileOfUnsortedSamples)
{
    EXPECT_EQ(Stats::Median({}), 0);
    EXPECT_EQ(Stats::Median({5, 1, 3}), 3);
    EXPECT_EQ(Stats::Median({4, 1, 3, 2}), 2.5);
    EXPECT_EQ(Stats::Percentile({10, 0, 5}, 0.0), 0);
    EXPECT_EQ(Stats::Percentile({10, 0, 5}, 1.0), 10);
    EXPECT_DOUBLE_EQ(Stats::Percentile({0, 10}, 0.9), 9);
}
