// The playing field of a match: a 7 x 7 mesh of pieces that the player swaps to line up three or
// more of a kind. The grid runs the opening drop, swaps and swap-backs, the clear animation, the
// collapse and refill, cascades, idle hints and the closing fly-out, one step per update tick,
// and reports what happened through screen events. It keeps no array: the pieces are linked
// four ways and reached from the anchor, the piece at the bottom-left corner.
#pragma once

#include <cstdint>
#include <vector>

#include "game/grid/BoardObject.h"
#include "game/grid/GridHost.h"
#include "game/grid/PieceKind.h"

namespace Kelvane {

class ScreenObject;

class PieceGrid {
public:
    static constexpr int kColumns = 7;
    static constexpr int kRows = 7;
    // Column c lies at x = kLeft + 40c, row r (counted from the bottom) at y = kBottom - 40r.
    static constexpr int kLeft = 190;
    static constexpr int kBottom = 340;

    // Events the grid sends to the current screen, always with a null parameter.
    static constexpr int kEventIntroDropFinished = 22;
    static constexpr int kEventClearAwayFinished = 23;
    static constexpr int kEventPiecesCleared = 27;
    static constexpr int kEventIdle = 29;

    // One hint candidate: the piece at (x1, y1) can step onto (x2, y2) to complete a line.
    struct HintCandidate {
        int x1, y1, x2, y2;
    };

    explicit PieceGrid(GridHost& host);
    ~PieceGrid();

    PieceGrid(const PieceGrid&) = delete;
    PieceGrid& operator=(const PieceGrid&) = delete;

    // Builds and fills a fresh grid from the dealt kinds (pieces of an earlier match are
    // released first), arms the opening drop and creates the markers. Input stays locked until
    // `resumeInput`. An empty kinds list builds a grid of empty cells.
    void start(const std::vector<PieceKind>& dealtKinds);
    // The opening drop runs once the grid is otherwise idle; event 22 reports its end.
    void requestIntroDrop() { introDropPending_ = true; }
    // One update tick.
    void update();
    // A click on a piece of the grid: selects it, drops the selection or starts a swap. Ignored
    // while paused or locked, and for anything that is not a piece of the grid.
    void clickPiece(BoardObject* piece);
    // Holds input (time is up, the match is over): no click is taken until `resumeInput`, even
    // when a running swap or cascade ends meanwhile.
    void lockInput();
    // Play starts: clicks are taken and the hint timer runs.
    void resumeInput();
    // The pieces fly off the board once the grid is idle; event 23 reports the end.
    void requestClearAway();
    void togglePause() { paused_ = !paused_; }
    // Refills the list of all pieces, in column-major order.
    void collectPieces();
    // Releases every piece, the falling pieces, the extra list and the markers.
    void destroyPieces();

    // The pieces in column-major order as of the last `collectPieces`.
    const std::vector<BoardObject*>& allPieces() const { return allPieces_; }
    // The new pieces dropping in during a refill.
    const std::vector<BoardObject*>& fallingPieces() const { return falling_; }
    // The pieces of the current clear, column-major; read on event 27.
    const std::vector<BoardObject*>& matchedList() const { return matchedList_; }
    // Screen objects the match screen draws beside the pieces; the grid never fills it.
    const std::vector<ScreenObject*>& extraObjects() const { return extraObjects_; }
    ScreenObject* selectionMarker() const { return selectionMarker_; }
    ScreenObject* hintMarker(int index) const { return hintMarkers_[index]; }

    // The piece now at (column, row), row 0 at the bottom; null outside the grid or before start.
    BoardObject* pieceAt(int column, int row) const;
    BoardObject* anchor() const { return anchor_; }
    BoardObject* firstSelection() const { return firstSelection_; }
    BoardObject* secondSelection() const { return secondSelection_; }
    bool isPaused() const { return paused_; }
    // Whether a click would be ignored now.
    bool isInputBlocked() const { return paused_ || inputLocked_ || inputHeld_; }
    // Whether the last update found nothing to do (and sent event 29).
    bool wasIdle() const { return idle_; }
    bool isHintShown() const { return hintShown_; }
    bool isClearing() const { return clearing_; }
    bool isCollapsing() const { return collapsing_; }
    bool isRefillFalling() const { return refillFalling_; }
    bool isIntroDropPending() const { return introDropPending_; }
    bool isClearAwayPending() const { return clearAwayPending_; }
    int refillCursor() const { return refillCursor_; }

private:
    template <typename F>
    void forEachColumnMajor(F&& visit) const;
    template <typename F>
    void forEachRowMajor(F&& visit) const;

    void build();
    void fill();
    PieceKind drawFillKind(const BoardObject* cell);
    void armDrop(bool flyOut);
    bool contains(const BoardObject* piece) const;

    void exchange(BoardObject* a, BoardObject* b);
    void startSwap(bool returning);
    void swapStep();
    void matchCheck(bool afterSwap);
    void clearStep();
    void collapsePass();
    bool settlePass();
    void refillStep();
    PieceKind nextRefillKind();

    void hideHint();
    void hintTimerStep();
    void hintDisplayStep();
    void countHintUnits();
    void placeSelectionMarker();
    // Forgets both selections and the swap in progress, and moves the marker accordingly.
    void endSwap();

    void deletePieces();

    GridHost& host_;
    std::vector<PieceKind> dealtKinds_;

    bool paused_ = false;
    // A swap or a cascade runs; released by the grid itself when it has run out.
    bool inputLocked_ = false;
    // Held from outside (before kick-off, after time is up, during the fly-out); released only
    // by `resumeInput`, so the end of a cascade after time is up does not reopen play.
    bool inputHeld_ = true;
    bool idle_ = false;
    bool clearAwayRequested_ = false;
    bool introDropPending_ = false;
    bool clearAwayPending_ = false;

    std::vector<BoardObject*> matchedList_;
    bool swapCheckPending_ = false;
    bool clearFinished_ = false;
    bool clearing_ = false;
    bool refillFalling_ = false;
    bool collapsing_ = false;
    int16_t clearCounter_ = 1;

    bool swapAlongY_ = false;
    bool swapAlongX_ = false;
    bool swapReturning_ = false;
    int16_t swapFirstStart_ = 1;   // the first piece's coordinate when the swap started
    int16_t swapSecondStart_ = 1;  // the second piece's, where the first one goes
    bool swapArrived_ = false;

    BoardObject* firstSelection_ = nullptr;
    BoardObject* secondSelection_ = nullptr;
    ScreenObject* selectionMarker_ = nullptr;

    bool hintShown_ = false;
    bool hintTimerRunning_ = false;
    bool hintsEnabled_ = true;
    int16_t hintUnits_ = 0;
    int16_t hintUpdates_ = 1;
    ScreenObject* hintMarkers_[2] = {nullptr, nullptr};
    std::vector<HintCandidate> verticalHints_;
    std::vector<HintCandidate> horizontalHints_;

    std::vector<ScreenObject*> extraObjects_;

    BoardObject* anchor_ = nullptr;
    // Continues across matches: new pieces keep arriving in the dealt order.
    int refillCursor_ = 0;
    std::vector<BoardObject*> allPieces_;
    std::vector<BoardObject*> falling_;
};

}  // namespace Kelvane
