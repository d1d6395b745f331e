// The screen-saver filter alone: which messages end a screen-saver run.
#include "frame/ScreenSaverFilter.h"

#include <gtest/gtest.h>

using namespace Zarvo;
using Verdict = ScreenSaverFilter::Verdict;

namespace {

WindowMessage Message(uint32_t message, uint64_t w = 0, int64_t l = 0) {
    return WindowMessage{WindowMessage::kMainWindow, message, w, l};
}

TEST(ScreenSaverFilter, KeysButtonsAndDeactivationEndItOnce) {
    for (const uint32_t m : {Msg::kKeyDown, Msg::kSysKeyDown, Msg::kLButtonDown, Msg::kRButtonDown,
                             Msg::kMButtonDown}) {
        ScreenSaverFilter filter;
        EXPECT_EQ(filter.Filter(Message(m)), Verdict::kConsumeAndClose) << m;
        EXPECT_EQ(filter.Filter(Message(m)), Verdict::kConsume) << m;
    }
    ScreenSaverFilter filter;
    EXPECT_EQ(filter.Filter(Message(Msg::kActivateApp, 1)), Verdict::kPass);
    EXPECT_EQ(filter.Filter(Message(Msg::kActivateApp, 0)), Verdict::kConsumeAndClose);
    EXPECT_EQ(filter.Filter(Message(Msg::kTimer)), Verdict::kPass);
}

TEST(ScreenSaverFilter, TheFourthMoveToANewPlaceEndsIt) {
    ScreenSaverFilter filter;
    for (int64_t p : {1, 2, 2, 2, 3})
        EXPECT_EQ(filter.Filter(Message(Msg::kMouseMove, 0, p)), Verdict::kPass);
    EXPECT_EQ(filter.Filter(Message(Msg::kMouseMove, 0, 3)), Verdict::kPass);  // same place
    EXPECT_EQ(filter.Filter(Message(Msg::kMouseMove, 0, 4)), Verdict::kConsumeAndClose);
}

}  // namespace
