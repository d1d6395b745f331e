// Placing the 640 x 480 screen image in windows of any size.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/Letterbox.h"

using namespace Zarvo;

namespace {

struct FitCase {
    int outerWidth, outerHeight;
    PlatformRect expected;
    bool wholeMultiple;
};

void PrintTo(const FitCase& c, std::ostream* os) {
    *os << c.outerWidth << "x" << c.outerHeight;
}

class LetterboxFit : public testing::TestWithParam<FitCase> {};

TEST_P(LetterboxFit, PlacesThePictureCentredAtOneScale) {
    const FitCase& c = GetParam();
    const PlatformRect r = Letterbox::Fit(c.outerWidth, c.outerHeight, 640, 480);
    EXPECT_EQ(r.x, c.expected.x);
    EXPECT_EQ(r.y, c.expected.y);
    EXPECT_EQ(r.width, c.expected.width);
    EXPECT_EQ(r.height, c.expected.height);
    EXPECT_EQ(Letterbox::IsWholeMultiple(r, 640, 480), c.wholeMultiple);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, LetterboxFit,
    testing::Values(FitCase{640, 480, {0, 0, 640, 480}, true},
                    FitCase{1280, 960, {0, 0, 1280, 960}, true},
                    FitCase{800, 600, {0, 0, 800, 600}, false},
                    // 333 rows limit the scale: 444 columns, (1001 - 444) / 2 = 278 truncated
                    FitCase{1001, 333, {278, 0, 444, 333}, false},
                    FitCase{1920, 1080, {240, 0, 1440, 1080}, false},
                    FitCase{1920, 1440, {0, 0, 1920, 1440}, true},
                    FitCase{640, 1000, {0, 260, 640, 480}, true},
                    FitCase{1000, 700, {33, 0, 933, 700}, false},  // 933.3 rounds down
                    FitCase{161, 121, {0, 0, 161, 121}, false},    // 120.75 rounds up
                    FitCase{0, 480, {0, 0, 0, 0}, false}, FitCase{640, -1, {0, 0, 0, 0}, false}),
    [](const testing::TestParamInfo<FitCase>& info) {
        auto text = [](int v) { return v < 0 ? "minus" + std::to_string(-v) : std::to_string(v); };
        return text(info.param.outerWidth) + "x" + text(info.param.outerHeight);
    });

TEST(Letterbox, AnEmptyScreenHasNoPicture) {
    const PlatformRect r = Letterbox::Fit(800, 600, 0, 480);
    EXPECT_EQ(r.width, 0);
    EXPECT_EQ(r.height, 0);
    EXPECT_FALSE(Letterbox::IsWholeMultiple(PlatformRect{0, 0, 1280, 480}, 640, 480));
}

}  // namespace
