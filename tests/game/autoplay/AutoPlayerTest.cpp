// The autoplayer's choices that need no game: its option and the swap it picks on a board.
#include "game/autoplay/AutoPlayer.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "game/grid/PieceKind.h"

namespace Kelvane {
namespace {

TEST(AutoPlayerTest, TheOptionNamesAFriendlyOrANumberOfTourMatches) {
    struct Case {
        const char* value;
        bool ok;
        AutoPlayer::Mode mode;
        int matches;
    };
    const Case cases[] = {
        {"", true, AutoPlayer::Mode::Friendly, 0},
        {"tour", true, AutoPlayer::Mode::Tour, 1},
        {"tour:3", true, AutoPlayer::Mode::Tour, 3},
        {"tour:0", true, AutoPlayer::Mode::Tour, 0},
        {"tour:", false, {}, 0},
        {"tour:x", false, {}, 0},
        {"tour:-1", false, {}, 0},
        {"tour:99999999", false, {}, 0},
        {"friendly", false, {}, 0},
    };
    for (const Case& c : cases) {
        AutoPlayer::Mode mode = AutoPlayer::Mode::Friendly;
        int matches = -5;
        EXPECT_EQ(AutoPlayer::parseOption(c.value, mode, matches), c.ok) << c.value;
        if (!c.ok) continue;
        EXPECT_EQ(mode, c.mode) << c.value;
        EXPECT_EQ(matches, c.matches) << c.value;
    }
}

// A board of `rows` written top row first, one letter per cell: B ball, R red card, Y yellow
// card, I injury, O offside flag.
std::array<int, 49> board(const std::array<const char*, 7>& rows) {
    std::array<int, 49> kinds{};
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 7; ++c) {
            int kind = Piece::None;
            switch (rows[6 - r][c]) {
                case 'B':
                    kind = Piece::Ball;
                    break;
                case 'R':
                    kind = Piece::RedCard;
                    break;
                case 'Y':
                    kind = Piece::YellowCard;
                    break;
                case 'I':
                    kind = Piece::Injury;
                    break;
                case 'O':
                    kind = Piece::OffsideFlag;
                    break;
            }
            kinds[c * 7 + r] = kind;
        }
    }
    return kinds;
}

TEST(AutoPlayerTest, PrefersALineOfBallsToALongerLineOfCards) {
    // Bottom row: the injury at column 2 swapped with the red card above it makes five red
    // cards; in the top row swapping columns 2 and 3 makes three balls, which is worth more.
    const auto kinds =
        board({"BBYBOIY", "IOYIOYI", "OYIOYIO", "YIOYIOY", "IOYIOYI", "OYROYIO", "RRIRROY"});
    AutoPlayer::Swap swap{};
    ASSERT_TRUE(AutoPlayer::bestSwap(kinds, swap));
    EXPECT_EQ(swap.column1, 2);
    EXPECT_EQ(swap.row1, 6);
    EXPECT_EQ(swap.column2, 3);
    EXPECT_EQ(swap.row2, 6);
}

TEST(AutoPlayerTest, FindsAnUpDownSwapAndNothingOnABoardWithoutOne) {
    const auto vertical =
        board({"IOYIOYI", "OYIOYIO", "YIOYIOY", "IOYIOYI", "OYRRYIO", "YIOYRIY", "IOYIOYI"});
    AutoPlayer::Swap swap{};
    ASSERT_TRUE(AutoPlayer::bestSwap(vertical, swap));
    // The red card at (4, 1) steps up to (4, 2) beside the two others.
    EXPECT_EQ(swap.column1, 4);
    EXPECT_EQ(swap.row1, 1);
    EXPECT_EQ(swap.column2, 4);
    EXPECT_EQ(swap.row2, 2);

    const auto stuck =
        board({"IOYIOYI", "OYIOYIO", "YIOYIOY", "IOYIOYI", "OYIOYIO", "YIOYIOY", "IOYIOYI"});
    EXPECT_FALSE(AutoPlayer::bestSwap(stuck, swap));
}

}  // namespace
}  // namespace Kelvane
