#include "download/segment_plan.h"

#include <gtest/gtest.h>

namespace tarnis {
namespace {

TEST(SegmentPlanTest, SplitCoversTheFileWithoutGapsOrOverlap) {
    SegmentPlan plan;
    plan.split(1001, 4);
    ASSERT_EQ(plan.segmentCount(), 4);
    std::int64_t expectedStart = 0;
    for (int i = 0; i < plan.segmentCount(); ++i) {
        EXPECT_EQ(plan.segment(i).start, expectedStart);
        expectedStart = plan.segment(i).end;
    }
    EXPECT_EQ(expectedStart, 1001);
}

TEST(SegmentPlanTest, SplitLargestTakesTheUpperHalfOfWhatIsLeft) {
    SegmentPlan plan;
    plan.split(1000, 2);
    plan.segment(0).position = 500; // done
    plan.segment(1).position = 600; // 400 left
    const auto taken = plan.splitLargest(100);
    ASSERT_TRUE(taken);
    EXPECT_EQ(plan.segment(1).end, 800);
    EXPECT_EQ(plan.segment(*taken).start, 800);
    EXPECT_EQ(plan.segment(*taken).end, 1000);
    // 200 left at most now, below twice the minimum.
    EXPECT_FALSE(plan.splitLargest(101));
}

TEST(SegmentPlanTest, ContiguousPrefixStopsAtTheFirstGap) {
    SegmentPlan plan;
    plan.split(300, 3);
    EXPECT_EQ(plan.contiguousPrefix(), 0);
    plan.segment(0).position = 100;
    plan.segment(2).position = 300;
    plan.segment(1).position = 150;
    EXPECT_EQ(plan.contiguousPrefix(), 150);
    plan.segment(1).position = 200;
    EXPECT_EQ(plan.contiguousPrefix(), 300);
    EXPECT_TRUE(plan.allDone());
}

} // namespace
} // namespace tarnis
