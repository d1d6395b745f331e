#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "diagnostics/AllocationTracker.h"
#include "game/ResourceIds.h"
#include "game/grid/PieceGrid.h"
#include "game/screens/ScreenObject.h"
#include "graphics/MemoryImage.h"

namespace {

using Kelvane::BoardObject;
using Kelvane::GridHost;
using Kelvane::PieceGrid;
using Kelvane::PieceKind;

constexpr int kPieceCels = 3;
constexpr int kHintCels = 4;

// A seeded generator reduced to 31 bits like the framework's, a recorder for the events, and
// fixed cel counts: every piece image has kPieceCels columns, the hint animation kHintCels.
class RecordingHost : public GridHost {
public:
    explicit RecordingHost(uint32_t seed) : random_(seed) {}

    void sendEvent(int id, void* param) override {
        events.push_back(id);
        EXPECT_EQ(param, nullptr);
        if (id == PieceGrid::kEventPiecesCleared && grid != nullptr) {
            std::vector<BoardObject*> cleared = grid->matchedList();
            clears.push_back(cleared);
            std::string kinds;
            std::string cells;
            for (const BoardObject* p : cleared) {
                kinds += std::to_string(p->kind) + " ";
                cells += std::to_string((static_cast<int>(p->x) - 190) / 40) + "," +
                         std::to_string((340 - static_cast<int>(p->y)) / 40) + " ";
            }
            clearedKinds.push_back(kinds);
            clearedCells.push_back(cells);
        }
    }
    uint32_t randomValue() override { return static_cast<uint32_t>(random_() >> 1); }
    int celColumns(int imageId) override {
        return imageId == Kelvane::pieceImageId(Kelvane::Piece::None) ? 1
               : imageId == hintImageId                               ? kHintCels
                                                                      : kPieceCels;
    }

    int count(int id) const {
        int n = 0;
        for (int e : events) n += e == id;
        return n;
    }

    PieceGrid* grid = nullptr;
    int hintImageId = -1;
    std::vector<int> events;
    std::vector<std::vector<BoardObject*>> clears;
    std::vector<std::string> clearedKinds;
    std::vector<std::string> clearedCells;  // "column,row " of each cleared piece

private:
    std::mt19937 random_;
};

// Layouts are written top row first, one letter per kind: B ball, R red card, I injury,
// Y yellow card, O offside flag, . empty.
PieceKind kindOf(char letter) {
    switch (letter) {
        case 'B':
            return Kelvane::Piece::Ball;
        case 'R':
            return Kelvane::Piece::RedCard;
        case 'I':
            return Kelvane::Piece::Injury;
        case 'Y':
            return Kelvane::Piece::YellowCard;
        case 'O':
            return Kelvane::Piece::OffsideFlag;
        default:
            return Kelvane::Piece::None;
    }
}

char letterOf(PieceKind kind) {
    for (char c : std::string("BRIYO")) {
        if (kindOf(c) == kind) return c;
    }
    return '.';
}

using Layout = std::vector<std::string>;

// kind(c, r) = dealt[(c + 2r) mod 5]: no two neighbours alike, so no line and no hint.
const Layout kBase = {
    "IYOBRIY",  // row 6
    "BRIYOBR",  // row 5
    "YOBRIYO",  // row 4
    "RIYOBRI",  // row 3
    "OBRIYOB",  // row 2
    "IYOBRIY",  // row 1
    "BRIYOBR",  // row 0
};

bool hasLine(const Layout& rows) {
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 7; ++c) {
            const char k = rows[r][c];
            if (c + 2 < 7 && rows[r][c + 1] == k && rows[r][c + 2] == k) return true;
            if (r + 2 < 7 && rows[r + 1][c] == k && rows[r + 2][c] == k) return true;
        }
    }
    return false;
}

class PieceGridTest : public ::testing::Test {
protected:
    const std::vector<PieceKind> dealt = {7, 4, 3, 5, 1};

    PieceGridTest() { host.grid = &grid; }

    // A started grid whose opening drop has landed and whose play has begun.
    void startPlaying() {
        grid.start(dealt);
        host.hintImageId = grid.hintMarker(0)->imageId;
        grid.requestIntroDrop();
        ASSERT_GT(runUntil(PieceGrid::kEventIntroDropFinished), 0);
        grid.resumeInput();
        host.events.clear();
    }

    void run(int updates) {
        for (int i = 0; i < updates; ++i) grid.update();
    }
    // Updates until the event arrives; the number of updates taken, or -1.
    int runUntil(int event, int limit = 5000) {
        const int before = host.count(event);
        for (int i = 1; i <= limit; ++i) {
            grid.update();
            if (host.count(event) > before) return i;
        }
        return -1;
    }
    // Updates until the grid reports idle again.
    int runUntilIdle() { return runUntil(PieceGrid::kEventIdle); }

    void setLayout(const Layout& rows) {
        ASSERT_FALSE(hasLine(rows));
        for (int r = 0; r < 7; ++r) {
            for (int c = 0; c < 7; ++c) grid.pieceAt(c, r)->setKindImage(kindOf(rows[6 - r][c]));
        }
    }
    Layout layout() const {
        Layout rows(7, std::string(7, ' '));
        for (int r = 0; r < 7; ++r) {
            for (int c = 0; c < 7; ++c) rows[6 - r][c] = letterOf(grid.pieceAt(c, r)->kind);
        }
        return rows;
    }
    void click(int c, int r) { grid.clickPiece(grid.pieceAt(c, r)); }

    // Every piece stands on its cell, links agree both ways and nothing is moving.
    void expectSettledMesh() {
        for (int c = 0; c < 7; ++c) {
            for (int r = 0; r < 7; ++r) {
                BoardObject* p = grid.pieceAt(c, r);
                ASSERT_NE(p, nullptr);
                EXPECT_EQ(p->x, 190.0f + 40 * c) << c << "," << r;
                EXPECT_EQ(p->y, 340.0f - 40 * r) << c << "," << r;
                EXPECT_FALSE(p->isMoving());
                EXPECT_EQ(p->right, grid.pieceAt(c + 1, r));
                EXPECT_EQ(p->up, grid.pieceAt(c, r + 1));
                if (p->right != nullptr) {
                    EXPECT_EQ(p->right->left, p);
                }
                if (p->up != nullptr) {
                    EXPECT_EQ(p->up->down, p);
                }
            }
        }
    }

    RecordingHost host{20240611};
    PieceGrid grid{host};
};

TEST_F(PieceGridTest, FreshFillsHaveNoLineAndOnlyDealtKinds) {
    for (uint32_t seed : {1u, 2u, 77u, 5489u, 123456789u}) {
        RecordingHost seeded(seed);
        PieceGrid g(seeded);
        g.start(dealt);
        Layout rows(7, std::string(7, ' '));
        for (int r = 0; r < 7; ++r) {
            for (int c = 0; c < 7; ++c) rows[6 - r][c] = letterOf(g.pieceAt(c, r)->kind);
        }
        EXPECT_FALSE(hasLine(rows)) << "seed " << seed;
        for (const std::string& row : rows) EXPECT_EQ(row.find('.'), std::string::npos);
    }
}

TEST_F(PieceGridTest, StartBuildsTheMeshAboveTheBoardWithStaggeredDelays) {
    grid.start(dealt);
    EXPECT_EQ(grid.anchor(), grid.pieceAt(0, 0));
    EXPECT_EQ(grid.pieceAt(7, 0), nullptr);
    EXPECT_EQ(grid.pieceAt(0, 7), nullptr);
    for (int c = 0; c < 7; ++c) {
        for (int r = 0; r < 7; ++r) {
            const BoardObject* p = grid.pieceAt(c, r);
            EXPECT_EQ(p->x, 190.0f + 40 * c);
            EXPECT_EQ(p->targetY, 340 - 40 * r);
            EXPECT_EQ(p->y, -(340.0f - 40 * r));
            EXPECT_EQ(p->delay, 10 + 10 * c + 50 * r);
            EXPECT_EQ(p->width, 40.0f);
            EXPECT_TRUE(p->celMode);
            EXPECT_TRUE(p->hasImage);
            EXPECT_EQ(p->imageId, Kelvane::pieceImageId(p->kind));
        }
    }
    EXPECT_TRUE(grid.isInputBlocked());
    EXPECT_FALSE(grid.selectionMarker()->hasImage);
    EXPECT_FALSE(grid.hintMarker(0)->hasImage);
    EXPECT_FALSE(grid.hintMarker(1)->hasImage);
}

TEST_F(PieceGridTest, OpeningDropWaitsOutTheDelayThenAcceleratesAndReportsOnce) {
    grid.start(dealt);
    grid.requestIntroDrop();
    BoardObject* anchor = grid.anchor();
    run(11);  // ten updates of delay, then the first gain of speed
    EXPECT_EQ(anchor->y, -340.0f);
    run(1);
    EXPECT_FLOAT_EQ(anchor->y, -340.0f + 0.15f);
    run(1);
    EXPECT_FLOAT_EQ(anchor->y, -340.0f + 0.45f);

    const int updates = runUntil(PieceGrid::kEventIntroDropFinished);
    ASSERT_GT(updates, 0);
    EXPECT_EQ(host.count(PieceGrid::kEventIntroDropFinished), 1);
    EXPECT_EQ(host.count(PieceGrid::kEventIdle), 0);  // busy all along
    expectSettledMesh();
    EXPECT_TRUE(grid.isInputBlocked());  // until play starts

    grid.update();
    EXPECT_EQ(host.events.back(), PieceGrid::kEventIdle);
    EXPECT_EQ(host.count(PieceGrid::kEventIntroDropFinished), 1);
}

TEST_F(PieceGridTest, ClicksSelectDropAndMoveTheSelection) {
    startPlaying();
    click(2, 2);
    EXPECT_EQ(grid.firstSelection(), grid.pieceAt(2, 2));
    EXPECT_TRUE(grid.selectionMarker()->hasImage);
    EXPECT_EQ(grid.selectionMarker()->x, grid.pieceAt(2, 2)->x);
    EXPECT_EQ(grid.selectionMarker()->y, grid.pieceAt(2, 2)->y);

    click(2, 2);  // the same piece again drops it
    EXPECT_EQ(grid.firstSelection(), nullptr);
    EXPECT_FALSE(grid.selectionMarker()->hasImage);

    click(2, 2);
    click(3, 3);  // diagonal: not a neighbour
    EXPECT_EQ(grid.firstSelection(), grid.pieceAt(3, 3));
    click(5, 3);  // two cells away: not a neighbour
    EXPECT_EQ(grid.firstSelection(), grid.pieceAt(5, 3));
    EXPECT_EQ(grid.secondSelection(), nullptr);
    EXPECT_EQ(grid.selectionMarker()->x, grid.pieceAt(5, 3)->x);

    grid.clickPiece(nullptr);
    BoardObject stranger(grid.pieceAt(4, 3)->x, grid.pieceAt(4, 3)->y);
    grid.clickPiece(&stranger);  // not a piece of this grid
    EXPECT_EQ(grid.firstSelection(), grid.pieceAt(5, 3));
    EXPECT_EQ(grid.secondSelection(), nullptr);
}

TEST_F(PieceGridTest, ClicksAreIgnoredWhilePausedOrHeld) {
    grid.start(dealt);
    click(1, 1);  // before kick-off
    EXPECT_EQ(grid.firstSelection(), nullptr);
    grid.requestIntroDrop();
    runUntil(PieceGrid::kEventIntroDropFinished);
    grid.resumeInput();

    grid.togglePause();
    click(1, 1);
    EXPECT_EQ(grid.firstSelection(), nullptr);
    grid.togglePause();
    click(1, 1);
    EXPECT_EQ(grid.firstSelection(), grid.pieceAt(1, 1));

    grid.lockInput();
    EXPECT_FALSE(grid.selectionMarker()->hasImage);
    click(1, 2);
    EXPECT_EQ(grid.secondSelection(), nullptr);
}

TEST_F(PieceGridTest, SwapWithoutLineGoesThereAndBackIn82Updates) {
    startPlaying();
    setLayout(kBase);
    std::vector<BoardObject*> before;
    for (int c = 0; c < 7; ++c) {
        for (int r = 0; r < 7; ++r) before.push_back(grid.pieceAt(c, r));
    }
    BoardObject* a = grid.pieceAt(0, 0);
    BoardObject* b = grid.pieceAt(1, 0);

    click(0, 0);
    click(1, 0);
    EXPECT_EQ(grid.secondSelection(), b);
    EXPECT_FALSE(grid.selectionMarker()->hasImage);
    EXPECT_TRUE(grid.isInputBlocked());

    run(20);
    EXPECT_EQ(a->x, 210.0f);
    EXPECT_EQ(b->x, 210.0f);
    run(20);
    EXPECT_EQ(a->x, 230.0f);
    EXPECT_EQ(b->x, 190.0f);
    EXPECT_EQ(grid.pieceAt(0, 0), a);  // not yet arrived
    run(1);                            // the 41st update: arrival, no line, the way back starts
    EXPECT_EQ(grid.pieceAt(0, 0), b);
    EXPECT_EQ(grid.anchor(), b);
    EXPECT_EQ(grid.pieceAt(1, 0), a);
    EXPECT_TRUE(grid.isInputBlocked());

    run(40);
    EXPECT_TRUE(grid.isInputBlocked());
    EXPECT_EQ(a->x, 190.0f);
    run(1);  // update 82
    EXPECT_FALSE(grid.isInputBlocked());
    EXPECT_EQ(grid.firstSelection(), nullptr);
    EXPECT_EQ(grid.secondSelection(), nullptr);
    EXPECT_EQ(host.count(PieceGrid::kEventIdle), 0);
    EXPECT_EQ(host.count(PieceGrid::kEventPiecesCleared), 0);

    std::vector<BoardObject*> after;
    for (int c = 0; c < 7; ++c) {
        for (int r = 0; r < 7; ++r) after.push_back(grid.pieceAt(c, r));
    }
    EXPECT_EQ(after, before);
    EXPECT_EQ(layout(), kBase);
    expectSettledMesh();
    grid.update();
    EXPECT_EQ(host.events, std::vector<int>{PieceGrid::kEventIdle});
}

TEST_F(PieceGridTest, VerticalSwapMovesAlongYAndBack) {
    startPlaying();
    setLayout(kBase);
    BoardObject* low = grid.pieceAt(3, 2);
    BoardObject* high = grid.pieceAt(3, 3);
    click(3, 3);
    click(3, 2);
    run(10);
    EXPECT_EQ(high->y, 230.0f);
    EXPECT_EQ(low->y, 250.0f);
    EXPECT_EQ(high->x, 310.0f);
    run(72);
    EXPECT_FALSE(grid.isInputBlocked());
    EXPECT_EQ(layout(), kBase);
    expectSettledMesh();
}

// The clears of the test layouts: which piece moves where, which cells clear, and the board
// once everything has settled.
struct ClearCase {
    const char* name;
    Layout start;
    int fromC, fromR, toC, toR;
    std::vector<std::pair<int, int>> cleared;  // column-major
    Layout settled;
};

TEST_F(PieceGridTest, SwapsThatMakeLinesClearEveryPieceOfThem) {
    const std::vector<ClearCase> cases = {
        {"line of four",
         {"IYOBRIY", "BRIYOBR", "YOBRIYO", "RIYOBRI", "OBRIYOB", "IYBBRIY", "BBIBOBR"},
         2,
         1,
         2,
         0,
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}},
         {"BRIYRIY", "IYOBOBR", "BRIYIYO", "YOBRBRI", "RIYOYOB", "OBRIRIY", "IYIBOBR"}},
        {"crossing lines",
         {"IRBOROB", "OIIYOII", "BYBYROI", "IYROBIO", "RROBYYB", "BIRYBRY", "IBRIOBI"},
         2,
         3,
         2,
         2,
         {{0, 2}, {1, 2}, {2, 0}, {2, 1}, {2, 2}},
         {"BROOROB", "IRYYOII", "OIIYROI", "BYBOBIO", "IYIBYYB", "BIBYBRY", "IBOIOBI"}},
    };
    for (const ClearCase& tc : cases) {
        SCOPED_TRACE(tc.name);
        RecordingHost h(7);
        PieceGrid g(h);
        h.grid = &g;
        g.start(dealt);
        h.hintImageId = g.hintMarker(0)->imageId;
        g.requestIntroDrop();
        for (int i = 0; i < 2000 && h.count(PieceGrid::kEventIntroDropFinished) == 0; ++i) {
            g.update();
        }
        g.resumeInput();
        for (int r = 0; r < 7; ++r) {
            for (int c = 0; c < 7; ++c) g.pieceAt(c, r)->setKindImage(kindOf(tc.start[6 - r][c]));
        }
        g.clickPiece(g.pieceAt(tc.fromC, tc.fromR));
        g.clickPiece(g.pieceAt(tc.toC, tc.toR));
        BoardObject* moved = g.firstSelection();
        std::vector<BoardObject*> expected;

        for (int i = 0; i < 41; ++i) g.update();
        EXPECT_TRUE(g.isClearing());
        EXPECT_EQ(g.firstSelection(), nullptr);
        for (auto [c, r] : tc.cleared) expected.push_back(g.pieceAt(c, r));
        EXPECT_EQ(g.matchedList(), expected);
        EXPECT_NE(std::find(expected.begin(), expected.end(), moved), expected.end());

        h.events.clear();
        for (int i = 0; i < 2000 && h.count(PieceGrid::kEventIdle) == 0; ++i) g.update();
        ASSERT_EQ(h.clears.size(), 1u);
        EXPECT_EQ(h.clears[0], expected);
        EXPECT_EQ(h.events.front(), PieceGrid::kEventPiecesCleared);
        EXPECT_TRUE(g.matchedList().empty());
        EXPECT_FALSE(g.isInputBlocked());
        EXPECT_TRUE(g.fallingPieces().empty());
        Layout rows(7, std::string(7, ' '));
        for (int r = 0; r < 7; ++r) {
            for (int c = 0; c < 7; ++c) {
                const BoardObject* p = g.pieceAt(c, r);
                rows[6 - r][c] = letterOf(p->kind);
                EXPECT_EQ(p->y, 340.0f - 40 * r);
                EXPECT_EQ(p->cel, 0);
                EXPECT_FALSE(p->matched);
            }
        }
        EXPECT_EQ(rows, tc.settled);
    }
}

TEST_F(PieceGridTest, ClearAnimatesOneCelEveryFiveUpdatesThenReportsBeforeEmptying) {
    startPlaying();
    setLayout({"IYOBRIY", "BRIYOBR", "YOBRIYO", "RIYOBRI", "OBRIYOB", "IYBBRIY", "BBIBOBR"});
    click(2, 0);
    click(2, 1);
    run(41);
    ASSERT_TRUE(grid.isClearing());
    const std::vector<BoardObject*> matched = grid.matchedList();
    // The clear counter started at 1 and is not reset between clears; it rises once per update
    // from the arrival update on, so cels advance when it reaches 5, 10, 15.
    EXPECT_EQ(matched[0]->cel, 0);
    int updates = 0;
    while (host.count(PieceGrid::kEventPiecesCleared) == 0 && updates < 100) {
        grid.update();
        ++updates;
    }
    EXPECT_EQ(updates, 13);
    EXPECT_EQ(host.clearedKinds.back(), "7 7 7 7 ");  // kinds still there when reported
    for (BoardObject* p : matched) {
        EXPECT_EQ(p->kind, Kelvane::Piece::None);
        EXPECT_EQ(p->imageId, Kelvane::pieceImageId(Kelvane::Piece::None));
        EXPECT_EQ(p->cel, kPieceCels);
    }
    EXPECT_TRUE(grid.isCollapsing());
}

const Layout kFourInARow = {"IYOBRIY", "BRIYOBR", "YOBRIYO", "RIYOBRI",
                            "OBRIYOB", "IYBBRIY", "BBIBOBR"};
// A yellow card swapped up into the top row lines up with two on its left; nothing falls.
const Layout kTopRowTriple = {"YYROOBR", "RIYORIY", "RBYIRIY", "IORBIOB",
                              "IYYBBIY", "OOBRYIB", "YIORBBI"};
// Three balls in column 0 after the swap; the refill then completes three balls in row 4.
const Layout kCascade = {"IYOBRIY", "BRIYOBR", "YBBRIYO", "RIYOBRI",
                         "OBRIYOB", "BYOBRIY", "BRIYOBR"};

TEST_F(PieceGridTest, RefillsFollowTheDealtCycleAcrossMatches) {
    startPlaying();
    EXPECT_EQ(grid.refillCursor(), 0);
    setLayout(kFourInARow);
    click(2, 0);
    click(2, 1);
    while (!grid.isRefillFalling()) grid.update();
    // The new pieces start 380 pixels above the emptied top cells, in column-major order.
    const std::vector<BoardObject*>& falling = grid.fallingPieces();
    ASSERT_EQ(falling.size(), 4u);
    std::string kinds;
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(falling[c]->x, 190.0f + 40 * c);
        EXPECT_EQ(falling[c]->y, 100.0f - 380.0f);
        EXPECT_EQ(falling[c]->targetY, 100);
        EXPECT_EQ(grid.pieceAt(c, 6)->kind, Kelvane::Piece::None);
        kinds += letterOf(falling[c]->kind);
    }
    EXPECT_EQ(kinds, "BRIY");  // ball, red card, injury, yellow card
    runUntilIdle();
    EXPECT_EQ(layout()[0].substr(0, 4), "BRIY");
    EXPECT_EQ(grid.refillCursor(), 4);

    // The next match goes on where this one stopped: offside flag, then ball, red card.
    grid.destroyPieces();
    startPlaying();
    setLayout(kTopRowTriple);
    click(2, 5);
    click(2, 6);
    runUntilIdle();
    ASSERT_EQ(host.clearedKinds.size(), 2u);
    EXPECT_EQ(host.clearedKinds[1], "5 5 5 ");
    EXPECT_EQ(layout()[0], "OBROOBR");
    EXPECT_EQ(grid.refillCursor(), 2);
}

TEST_F(PieceGridTest, CascadesClearAgainUntilNoLineIsLeft) {
    startPlaying();
    setLayout(kCascade);
    click(0, 2);
    click(1, 2);
    run(41);
    const std::vector<BoardObject*> first = grid.matchedList();
    EXPECT_EQ(first, (std::vector<BoardObject*>{grid.pieceAt(0, 0), grid.pieceAt(0, 1),
                                                grid.pieceAt(0, 2)}));
    ASSERT_GT(runUntilIdle(), 0);
    ASSERT_EQ(host.clears.size(), 2u);
    EXPECT_EQ(host.clearedKinds[0], "7 7 7 ");
    EXPECT_EQ(host.clearedKinds[1], "7 7 7 ");
    EXPECT_EQ(host.clearedCells[1], "0,4 1,4 2,4 ");
    // Input stays locked through the whole cascade and the grid reports idle only at its end.
    EXPECT_EQ(host.count(PieceGrid::kEventIdle), 1);
    EXPECT_EQ(host.events.back(), PieceGrid::kEventIdle);
    EXPECT_FALSE(grid.isInputBlocked());
    EXPECT_EQ(layout(), (Layout{"YOBBRIY", "IYOYOBR", "RRIRIYO", "IIYOBRI", "BORIYOB", "YYOBRIY",
                                "RRIYOBR"}));
    EXPECT_EQ(grid.refillCursor(), 1);
    expectSettledMesh();
}

TEST_F(PieceGridTest, TimeUpLetsTheRunningSwapOrCascadeFinishAndKeepsInputHeld) {
    const struct {
        const char* name;
        Layout start;
        int fromC, fromR, toC, toR;
        int lockAfter;  // updates after the swap started
        bool clears;    // how many depends on the refill cycle, which goes on from case to case
    } cases[] = {
        {"mid-swap, then a cascade", kCascade, 0, 2, 1, 2, 20, true},
        {"mid-clear of a cascade", kCascade, 0, 2, 1, 2, 45, true},
        {"mid-swap without a line", kBase, 3, 3, 4, 3, 20, false},
        {"on the way back", kBase, 3, 3, 4, 3, 60, false},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        grid.destroyPieces();
        startPlaying();
        host.clears.clear();
        setLayout(tc.start);
        click(tc.fromC, tc.fromR);
        click(tc.toC, tc.toR);
        run(tc.lockAfter);
        grid.lockInput();
        ASSERT_GT(runUntilIdle(), 0);
        EXPECT_EQ(!host.clears.empty(), tc.clears);
        EXPECT_EQ(grid.firstSelection(), nullptr);
        EXPECT_EQ(grid.secondSelection(), nullptr);
        expectSettledMesh();
        // The swap or cascade has run out, but play stays over: no click is taken.
        EXPECT_TRUE(grid.isInputBlocked());
        click(3, 3);
        EXPECT_EQ(grid.firstSelection(), nullptr);

        grid.requestClearAway();
        host.events.clear();
        ASSERT_GT(runUntil(PieceGrid::kEventClearAwayFinished), 0);
        EXPECT_EQ(host.events, std::vector<int>{PieceGrid::kEventClearAwayFinished});
    }
}

TEST_F(PieceGridTest, ClearAwayWaitsForTheRunningCascade) {
    startPlaying();
    setLayout(kCascade);
    click(0, 2);
    click(1, 2);
    run(45);
    grid.requestClearAway();
    ASSERT_GT(runUntil(PieceGrid::kEventClearAwayFinished), 0);
    EXPECT_EQ(host.clears.size(), 2u);
    EXPECT_EQ(host.count(PieceGrid::kEventIdle), 0);
}

TEST(GridHost, CelColumnsComeFromTheBoundImage) {
    struct Host : GridHost {
        void sendEvent(int, void*) override {}
        uint32_t randomValue() override { return 0; }
    } host;
    Kelvane::clearResourceIds();
    EXPECT_EQ(host.celColumns(Kelvane::Res::IMAGE_HINT_ANIM), 1);
    Zarvo::MemoryImage strip;
    strip.columns = 6;
    Kelvane::IMAGE_HINT_ANIM = &strip;
    EXPECT_EQ(host.celColumns(Kelvane::Res::IMAGE_HINT_ANIM), 6);
    EXPECT_EQ(host.celColumns(Kelvane::Res::IMAGE_WHITE_BALL), 1);
    Kelvane::clearResourceIds();
}

TEST_F(PieceGridTest, ClearAwayFliesEveryPieceOffAndReportsOnce) {
    startPlaying();
    grid.requestClearAway();
    EXPECT_TRUE(grid.isInputBlocked());
    grid.update();  // arms the fly-out with the opening drop's delays
    EXPECT_TRUE(grid.isClearAwayPending());
    EXPECT_EQ(grid.pieceAt(6, 6)->delay, 10 + 60 + 300);
    EXPECT_EQ(grid.pieceAt(0, 0)->targetY, -340);
    const int updates = runUntil(PieceGrid::kEventClearAwayFinished);
    ASSERT_GT(updates, 370);  // the top-right piece waits 370 updates before it moves
    EXPECT_EQ(host.events, std::vector<int>{PieceGrid::kEventClearAwayFinished});
    for (int c = 0; c < 7; ++c) {
        for (int r = 0; r < 7; ++r) {
            EXPECT_EQ(grid.pieceAt(c, r)->y, -(340.0f - 40 * r));
            EXPECT_FALSE(grid.pieceAt(c, r)->isMoving());
        }
    }
    EXPECT_TRUE(grid.isInputBlocked());
    grid.update();
    EXPECT_EQ(host.events.back(), PieceGrid::kEventIdle);
    EXPECT_EQ(host.count(PieceGrid::kEventClearAwayFinished), 1);
}

// A vertical candidate at column 0 (a ball below an injury below two balls) and a horizontal
// one in row 0 (a ball, a red card, two balls).
const Layout kVerticalHint = {"IYOBRIY", "BRIYOBR", "YOBRIYO", "BIYOBRI",
                              "BBRIYOB", "IYOBRIY", "BRIYOBR"};
const Layout kHorizontalHint = {"IYOBRIY", "BRIYOBR", "YOBRIYO", "RIYOBRI",
                                "OBRIYOB", "IYOBRIY", "BRBBOBR"};
const Layout kBothHints = {"IYOBRIY", "BRIYOBR", "YOBRIYO", "BIYOBRI",
                           "BBRIYOB", "IYOBRIY", "BRBBOBR"};

TEST_F(PieceGridTest, HintAppearsAfterFourIdleUnitsAndStaysFiveUnits) {
    startPlaying();
    setLayout(kVerticalHint);
    run(400);
    EXPECT_FALSE(grid.isHintShown());
    run(1);
    ASSERT_TRUE(grid.isHintShown());
    const Kelvane::ScreenObject* a = grid.hintMarker(0);
    const Kelvane::ScreenObject* b = grid.hintMarker(1);
    EXPECT_TRUE(a->hasImage);
    EXPECT_TRUE(b->hasImage);
    EXPECT_EQ(a->x, 190.0f);
    EXPECT_EQ(a->y, 340.0f);  // the piece that can step up ...
    EXPECT_EQ(b->x, 190.0f);
    EXPECT_EQ(b->y, 300.0f);  // ... into this cell

    // The markers animate one cel every 20 updates and wrap after the last column.
    int highest = 0;
    bool wrapped = false;
    for (int i = 0; i < 499; ++i) {
        grid.update();
        highest = std::max<int>(highest, a->cel);
        wrapped = wrapped || (highest == kHintCels && a->cel == 0);
        EXPECT_EQ(a->cel, b->cel);
        ASSERT_TRUE(grid.isHintShown()) << i;
    }
    EXPECT_EQ(highest, kHintCels);
    EXPECT_TRUE(wrapped);
    grid.update();  // the fifth unit is over
    EXPECT_FALSE(grid.isHintShown());
    EXPECT_FALSE(a->hasImage);
    run(400);
    EXPECT_FALSE(grid.isHintShown());
    run(1);
    EXPECT_TRUE(grid.isHintShown());
}

TEST_F(PieceGridTest, AClickHidesTheHintAndRestartsItsTimer) {
    startPlaying();
    setLayout(kHorizontalHint);
    run(401);
    ASSERT_TRUE(grid.isHintShown());
    EXPECT_EQ(grid.hintMarker(1)->x, 230.0f);
    EXPECT_EQ(grid.hintMarker(1)->y, 340.0f);
    click(5, 5);
    EXPECT_FALSE(grid.isHintShown());
    EXPECT_FALSE(grid.hintMarker(0)->hasImage);
    run(400);
    EXPECT_FALSE(grid.isHintShown());
    run(1);
    EXPECT_TRUE(grid.isHintShown());
}

TEST_F(PieceGridTest, NoHintWithoutACandidate) {
    startPlaying();
    setLayout(kBase);
    run(1000);
    EXPECT_FALSE(grid.isHintShown());
    EXPECT_EQ(host.count(PieceGrid::kEventIdle), 1000);
}

// Hands out scripted values first, so the choice between two hint lists is known.
class ScriptedHost : public RecordingHost {
public:
    explicit ScriptedHost(uint32_t value) : RecordingHost(1), value_(value) {}
    uint32_t randomValue() override { return value_; }

private:
    uint32_t value_;
};

TEST_F(PieceGridTest, WithBothKindsOfCandidateAnOddValuePicksTheVerticalOne) {
    const struct {
        uint32_t value;
        float secondX, secondY;
    } cases[] = {
        {1, 190.0f, 300.0f}, {3, 190.0f, 300.0f}, {0, 230.0f, 340.0f}, {8, 230.0f, 340.0f}};
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.value);
        ScriptedHost h(tc.value);
        PieceGrid g(h);
        g.start(dealt);
        g.requestIntroDrop();
        for (int i = 0; i < 2000 && h.count(PieceGrid::kEventIntroDropFinished) == 0; ++i) {
            g.update();
        }
        g.resumeInput();
        for (int r = 0; r < 7; ++r) {
            for (int c = 0; c < 7; ++c) g.pieceAt(c, r)->setKindImage(kindOf(kBothHints[6 - r][c]));
        }
        for (int i = 0; i < 401; ++i) g.update();
        ASSERT_TRUE(g.isHintShown());
        EXPECT_EQ(g.hintMarker(0)->x, 190.0f);
        EXPECT_EQ(g.hintMarker(0)->y, 340.0f);
        EXPECT_EQ(g.hintMarker(1)->x, tc.secondX);
        EXPECT_EQ(g.hintMarker(1)->y, tc.secondY);
    }
}

TEST_F(PieceGridTest, PauseBlocksClicksButNotTheAnimation) {
    startPlaying();
    setLayout(kBase);
    click(4, 4);
    click(4, 5);
    grid.togglePause();
    EXPECT_TRUE(grid.isPaused());
    run(82);
    EXPECT_EQ(layout(), kBase);
    click(1, 1);
    EXPECT_EQ(grid.firstSelection(), nullptr);
    grid.togglePause();
    click(1, 1);
    EXPECT_EQ(grid.firstSelection(), grid.pieceAt(1, 1));
}

TEST_F(PieceGridTest, CollectPiecesListsTheMeshColumnMajor) {
    startPlaying();
    grid.collectPieces();
    ASSERT_EQ(grid.allPieces().size(), 49u);
    EXPECT_EQ(grid.allPieces()[0], grid.anchor());
    EXPECT_EQ(grid.allPieces()[6], grid.pieceAt(0, 6));
    EXPECT_EQ(grid.allPieces()[7], grid.pieceAt(1, 0));
    EXPECT_EQ(grid.allPieces()[48], grid.pieceAt(6, 6));
    EXPECT_TRUE(grid.extraObjects().empty());
}

TEST_F(PieceGridTest, DestroyPiecesReleasesEverythingTheGridMade) {
    const long long before = Zarvo::TrackedBytes();
    startPlaying();
    EXPECT_GT(Zarvo::TrackedBytes(), before);
    setLayout(kFourInARow);
    click(2, 0);
    click(2, 1);
    while (!grid.isRefillFalling()) grid.update();
    ASSERT_FALSE(grid.fallingPieces().empty());
    grid.destroyPieces();
    EXPECT_EQ(Zarvo::TrackedBytes(), before);
    EXPECT_EQ(grid.anchor(), nullptr);
    EXPECT_EQ(grid.selectionMarker(), nullptr);
    EXPECT_TRUE(grid.matchedList().empty());
    grid.update();  // an empty grid has nothing to do
    grid.start(dealt);
    grid.start(dealt);  // a second start releases the first grid
    grid.destroyPieces();
    EXPECT_EQ(Zarvo::TrackedBytes(), before);
}

}  // namespace
