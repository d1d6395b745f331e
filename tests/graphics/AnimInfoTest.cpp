#include <gtest/gtest.h>

#include <climits>

#include "graphics/AnimInfo.h"

using Zarvo::AnimInfo;

TEST(AnimInfoTest, PingPongBuildsFrameMapAndTotal) {
    AnimInfo info;
    info.animType = AnimInfo::AnimPingPong;
    info.frameDelay = 10;
    info.Compute(4);
    EXPECT_EQ(info.frameMap, (std::vector<int>{0, 1, 2, 3, 2, 1}));
    EXPECT_EQ(info.numCels, 6);
    EXPECT_TRUE(info.perFrameDelay.empty());
    EXPECT_EQ(info.totalAnimTime, 60);
}

TEST(AnimInfoTest, BeginAndEndDelaysFillTheOtherFramesWithTheDefault) {
    AnimInfo info;
    info.animType = AnimInfo::AnimLoop;
    info.frameDelay = 0;  // becomes 1
    info.Compute(3, 50, 70);
    EXPECT_EQ(info.frameDelay, 1);
    EXPECT_EQ(info.perFrameDelay, (std::vector<int>{50, 1, 70}));
    EXPECT_EQ(info.totalAnimTime, 121);
}

TEST(AnimInfoTest, DegenerateInputs) {
    struct Case {
        int type, cels, frameDelay, begin, end;
        std::vector<int> perFrame, frameMap;
        int expectCels, expectTotal;
    };
    const Case cases[] = {
        {AnimInfo::AnimNone, 0, 5, 0, 0, {}, {}, 1, 5},              // no cels: one cel
        {AnimInfo::AnimPingPong, 1, 5, 0, 0, {}, {}, 1, 5},          // one cel: no ping-pong map
        {AnimInfo::AnimLoop, 4, 5, 0, 0, {}, {3, 1}, 2, 10},         // frame map sets the count
        {AnimInfo::AnimLoop, 3, 4, 0, 0, {9, 0, -2, 7}, {}, 3, 17},  // trimmed, < 1 -> delay
        // Totals beyond the int range are held at its limit.
        {AnimInfo::AnimLoop, 4096, 2000000000, 0, 0, {}, {}, 4096, INT_MAX},
        {AnimInfo::AnimLoop, 3, 1, 2000000000, 2000000000, {}, {}, 3, INT_MAX},
        {AnimInfo::AnimLoop, 2, 1, 0, 0, {INT_MAX, INT_MAX}, {}, 2, INT_MAX},
    };
    for (const Case& c : cases) {
        AnimInfo info;
        info.animType = c.type;
        info.frameDelay = c.frameDelay;
        info.perFrameDelay = c.perFrame;
        info.frameMap = c.frameMap;
        info.Compute(c.cels, c.begin, c.end);
        EXPECT_EQ(info.numCels, c.expectCels) << "cels " << c.cels;
        EXPECT_EQ(info.totalAnimTime, c.expectTotal) << "cels " << c.cels;
    }
}
