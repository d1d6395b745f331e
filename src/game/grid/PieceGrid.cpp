#include "game/grid/PieceGrid.h"

#include <algorithm>
#include <cmath>

#include "diagnostics/AllocationTracker.h"
#include "game/ResourceIds.h"
#include "game/screens/ScreenObject.h"

namespace Kelvane {

namespace {

// New pieces of a refill start this far above their cell.
constexpr float kRefillDrop = 380.0f;
// The clear animation advances one cel every this many updates.
constexpr int kClearCelInterval = 5;
// A hint unit is this many updates; the search starts after kHintSearchUnits units, a shown hint
// stays for kHintShowUnits + 1 units and its markers advance one cel every kHintCelInterval.
constexpr int kHintUnitUpdates = 100;
constexpr int kHintSearchUnits = 4;
constexpr int kHintShowUnits = 4;
constexpr int kHintCelInterval = 20;
// Screen object ids: the selection marker's, and one that never raises an event.
constexpr int kSelectionMarkerId = 2;
constexpr int kNoEventId = 1001;
constexpr float kMarkerStart = 120.0f;

bool sameKind(const BoardObject* a, const BoardObject* b, PieceKind kind) {
    return a != nullptr && b != nullptr && a->kind == kind && b->kind == kind;
}

// Whether a piece of `kind` at `cell` would stand in a line of three with its neighbours: as the
// middle, or at either end, of its row or its column.
bool completesLine(const BoardObject* cell, PieceKind kind) {
    if (kind == Piece::None) return false;
    const BoardObject* l = cell->left;
    const BoardObject* r = cell->right;
    const BoardObject* u = cell->up;
    const BoardObject* d = cell->down;
    return sameKind(l, r, kind) || (l != nullptr && sameKind(l, l->left, kind)) ||
           (r != nullptr && sameKind(r, r->right, kind)) || sameKind(u, d, kind) ||
           (u != nullptr && sameKind(u, u->up, kind)) ||
           (d != nullptr && sameKind(d, d->down, kind));
}

}  // namespace

PieceGrid::PieceGrid(GridHost& host) : host_(host) {}

PieceGrid::~PieceGrid() {
    destroyPieces();
}

template <typename F>
void PieceGrid::forEachColumnMajor(F&& visit) const {
    for (BoardObject* column = anchor_; column != nullptr;) {
        // Taken first: a visit may exchange pieces inside this column, never in the next one.
        BoardObject* nextColumn = column->right;
        for (BoardObject* p = column; p != nullptr; p = p->up) visit(p);
        column = nextColumn;
    }
}

template <typename F>
void PieceGrid::forEachRowMajor(F&& visit) const {
    for (BoardObject* row = anchor_; row != nullptr; row = row->up) {
        for (BoardObject* p = row; p != nullptr; p = p->right) visit(p);
    }
}

void PieceGrid::start(const std::vector<PieceKind>& dealtKinds) {
    destroyPieces();
    dealtKinds_ = dealtKinds;

    paused_ = false;
    inputLocked_ = false;
    inputHeld_ = true;
    idle_ = false;
    clearAwayRequested_ = false;
    introDropPending_ = false;
    clearAwayPending_ = false;
    swapCheckPending_ = false;
    clearFinished_ = false;
    clearing_ = false;
    refillFalling_ = false;
    collapsing_ = false;
    clearCounter_ = 1;
    swapAlongX_ = false;
    swapAlongY_ = false;
    swapReturning_ = false;
    swapFirstStart_ = 1;
    swapSecondStart_ = 1;
    swapArrived_ = false;
    hintShown_ = false;
    hintTimerRunning_ = false;
    hintsEnabled_ = true;
    hintUnits_ = 0;
    hintUpdates_ = 1;

    build();
    fill();
    armDrop(false);

    selectionMarker_ = KNEW ScreenObject();
    selectionMarker_->x = kMarkerStart;
    selectionMarker_->y = kMarkerStart;
    selectionMarker_->width = BoardObject::kSize;
    selectionMarker_->height = BoardObject::kSize;
    selectionMarker_->imageId = Res::IMAGE_SELECTED;
    selectionMarker_->id = kSelectionMarkerId;
    selectionMarker_->hasImage = false;
    for (ScreenObject*& marker : hintMarkers_) {
        marker = KNEW ScreenObject();
        marker->x = kMarkerStart;
        marker->y = kMarkerStart;
        marker->width = BoardObject::kSize;
        marker->height = BoardObject::kSize;
        marker->imageId = Res::IMAGE_HINT_ANIM;
        marker->celMode = true;
        marker->id = kNoEventId;
        marker->hasImage = false;
    }
}

void PieceGrid::build() {
    BoardObject* rowLast[kRows] = {};
    for (int c = 0; c < kColumns; ++c) {
        BoardObject* below = nullptr;
        for (int r = 0; r < kRows; ++r) {
            auto* piece = KNEW BoardObject(static_cast<float>(kLeft + 40 * c),
                                           static_cast<float>(kBottom - 40 * r));
            if (rowLast[r] != nullptr) {
                rowLast[r]->right = piece;
                piece->left = rowLast[r];
            }
            if (below != nullptr) {
                below->up = piece;
                piece->down = below;
            }
            rowLast[r] = piece;
            below = piece;
            if (c == 0 && r == 0) anchor_ = piece;
        }
    }
}

void PieceGrid::fill() {
    forEachColumnMajor([this](BoardObject* cell) { cell->setKindImage(drawFillKind(cell)); });
}

PieceKind PieceGrid::drawFillKind(const BoardObject* cell) {
    if (dealtKinds_.empty()) return Piece::None;
    PieceKind kind = dealtKinds_[host_.randomValue() % dealtKinds_.size()];
    std::vector<PieceKind> tried;
    while (completesLine(cell, kind)) {
        tried.push_back(kind);
        std::vector<PieceKind> untried;
        for (PieceKind k : dealtKinds_) {
            if (std::find(tried.begin(), tried.end(), k) == tried.end()) untried.push_back(k);
        }
        // Only a list of fewer than three kinds can run out; the last one drawn is kept then.
        if (untried.empty()) break;
        kind = untried[host_.randomValue() % untried.size()];
    }
    return kind;
}

void PieceGrid::armDrop(bool flyOut) {
    // Every cell waits 10 updates more than its left neighbour in the bottom row and 50 more
    // than the cell below it: 10 + 10 column + 50 row.
    forEachColumnMajor([this, flyOut](BoardObject* p) {
        if (p == anchor_) {
            p->delay = 10;
        } else if (p->down == nullptr) {
            p->delay = p->left->delay + 10;
        } else {
            p->delay = p->down->delay + 50;
        }
        if (flyOut) {
            p->targetY = static_cast<int>(-p->y);
        } else {
            p->targetY = static_cast<int>(p->y);
            p->y = -p->y;
        }
    });
}

BoardObject* PieceGrid::pieceAt(int column, int row) const {
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows) return nullptr;
    BoardObject* p = anchor_;
    for (int c = 0; c < column && p != nullptr; ++c) p = p->right;
    for (int r = 0; r < row && p != nullptr; ++r) p = p->up;
    return p;
}

bool PieceGrid::contains(const BoardObject* piece) const {
    bool found = false;
    forEachColumnMajor([&](const BoardObject* p) { found = found || p == piece; });
    return found;
}

void PieceGrid::exchange(BoardObject* a, BoardObject* b) {
    BoardObject* const aLinks[4] = {a->right, a->left, a->up, a->down};
    BoardObject* const bLinks[4] = {b->right, b->left, b->up, b->down};
    // Each takes the other's links; a link that pointed at itself now points at the other.
    auto other = [](BoardObject* link, BoardObject* self, BoardObject* partner) {
        return link == self ? partner : link;
    };
    a->right = other(bLinks[0], a, b);
    a->left = other(bLinks[1], a, b);
    a->up = other(bLinks[2], a, b);
    a->down = other(bLinks[3], a, b);
    b->right = other(aLinks[0], b, a);
    b->left = other(aLinks[1], b, a);
    b->up = other(aLinks[2], b, a);
    b->down = other(aLinks[3], b, a);
    for (BoardObject* p : {a, b}) {
        if (p->right != nullptr) p->right->left = p;
        if (p->left != nullptr) p->left->right = p;
        if (p->up != nullptr) p->up->down = p;
        if (p->down != nullptr) p->down->up = p;
    }
    if (anchor_ == a) {
        anchor_ = b;
    } else if (anchor_ == b) {
        anchor_ = a;
    }
}

void PieceGrid::update() {
    bool idle = true;
    if (firstSelection_ != nullptr && secondSelection_ != nullptr) {
        idle = false;
        swapStep();
    }
    if (swapCheckPending_) {
        idle = false;
        matchCheck(true);
    }
    if (clearing_) {
        idle = false;
        clearStep();
    }
    if (collapsing_) {
        idle = false;
        collapsePass();
    }
    if (refillFalling_) {
        idle = false;
        refillStep();
    }
    if (swapCheckPending_) {
        idle = false;
        matchCheck(false);
    }
    if (idle) {
        if (introDropPending_ || clearAwayPending_) {
            bool moving = false;
            forEachColumnMajor([&moving](BoardObject* p) {
                p->fallStep();
                moving = moving || p->isMoving();
            });
            if (!moving) {
                if (clearAwayPending_) {
                    clearAwayPending_ = false;
                    host_.sendEvent(kEventClearAwayFinished, nullptr);
                }
                if (introDropPending_) {
                    introDropPending_ = false;
                    host_.sendEvent(kEventIntroDropFinished, nullptr);
                }
            }
            idle = false;
        }
        if (clearAwayRequested_) {
            armDrop(true);
            clearAwayPending_ = true;
            clearAwayRequested_ = false;
            inputHeld_ = true;
            idle = false;
        }
        if (idle) {
            host_.sendEvent(kEventIdle, nullptr);
            if (hintsEnabled_) {
                if (hintTimerRunning_) hintTimerStep();
                if (hintShown_) hintDisplayStep();
            }
        }
    }
    if (!idle && hintsEnabled_) hideHint();
    idle_ = idle;
}

void PieceGrid::clickPiece(BoardObject* piece) {
    if (piece == nullptr || isInputBlocked() || !contains(piece)) return;
    hideHint();
    hintTimerRunning_ = true;
    if (firstSelection_ == nullptr) {
        firstSelection_ = piece;
    } else if (piece == firstSelection_) {
        firstSelection_ = nullptr;
    } else {
        const float dx = std::fabs(piece->x - firstSelection_->x);
        const float dy = std::fabs(piece->y - firstSelection_->y);
        const bool adjacent =
            (dx == 0.0f && dy > 0.0f && dy < 60.0f) || (dy == 0.0f && dx > 0.0f && dx < 60.0f);
        if (adjacent) {
            secondSelection_ = piece;
            startSwap(false);
            inputLocked_ = true;
        } else {
            firstSelection_ = piece;
        }
    }
    placeSelectionMarker();
}

void PieceGrid::placeSelectionMarker() {
    if (selectionMarker_ == nullptr) return;
    const bool shown = firstSelection_ != nullptr && secondSelection_ == nullptr;
    if (shown) {
        selectionMarker_->x = firstSelection_->x;
        selectionMarker_->y = firstSelection_->y;
    }
    selectionMarker_->hasImage = shown;
}

void PieceGrid::lockInput() {
    inputHeld_ = true;
    if (selectionMarker_ != nullptr) selectionMarker_->hasImage = false;
    hideHint();
    hintTimerRunning_ = false;
}

void PieceGrid::resumeInput() {
    // Only the hold is released: a swap or cascade still running keeps its own lock.
    inputHeld_ = false;
    hintTimerRunning_ = true;
}

void PieceGrid::requestClearAway() {
    inputHeld_ = true;
    clearAwayRequested_ = true;
}

void PieceGrid::startSwap(bool returning) {
    swapAlongY_ = firstSelection_->x == secondSelection_->x;
    swapAlongX_ = !swapAlongY_;
    const float first = swapAlongY_ ? firstSelection_->y : firstSelection_->x;
    const float second = swapAlongY_ ? secondSelection_->y : secondSelection_->x;
    swapFirstStart_ = static_cast<int16_t>(first);
    swapSecondStart_ = static_cast<int16_t>(second);
    swapArrived_ = false;
    swapReturning_ = returning;
}

void PieceGrid::swapStep() {
    BoardObject* a = firstSelection_;
    BoardObject* b = secondSelection_;
    float& aPos = swapAlongY_ ? a->y : a->x;
    float& bPos = swapAlongY_ ? b->y : b->x;
    const float goal = swapSecondStart_;
    if (aPos == goal) {
        swapArrived_ = true;
    } else {
        aPos += aPos < goal ? 1.0f : -1.0f;
        // The second piece mirrors the first about the middle of the two cells.
        bPos = static_cast<float>(swapFirstStart_ + swapSecondStart_) - aPos;
    }
    if (!swapArrived_) return;

    exchange(a, b);
    if (swapReturning_) {
        endSwap();
        inputLocked_ = false;
    } else {
        swapCheckPending_ = true;
    }
}

void PieceGrid::endSwap() {
    firstSelection_ = nullptr;
    secondSelection_ = nullptr;
    swapReturning_ = false;
    swapArrived_ = false;
    swapAlongX_ = false;
    swapAlongY_ = false;
    placeSelectionMarker();
}

void PieceGrid::matchCheck(bool afterSwap) {
    forEachColumnMajor([](BoardObject* p) {
        if (p->kind == Piece::None) return;
        const PieceKind k = p->kind;
        const bool inRow = sameKind(p->left, p->right, k) ||
                           (p->left != nullptr && sameKind(p->left, p->left->left, k)) ||
                           (p->right != nullptr && sameKind(p->right, p->right->right, k));
        const bool inColumn = sameKind(p->up, p->down, k) ||
                              (p->up != nullptr && sameKind(p->up, p->up->up, k)) ||
                              (p->down != nullptr && sameKind(p->down, p->down->down, k));
        if (inRow || inColumn) p->matched = true;
    });
    forEachColumnMajor([this](BoardObject* p) {
        if (p->matched) matchedList_.push_back(p);
    });
    swapCheckPending_ = false;
    if (!matchedList_.empty()) {
        clearing_ = true;
        if (afterSwap) {
            // Input stays locked until the cascade has run out.
            endSwap();
        }
    } else if (afterSwap) {
        startSwap(true);
    } else {
        inputLocked_ = false;
    }
}

void PieceGrid::clearStep() {
    if (clearCounter_ > 100) clearCounter_ = 1;
    ++clearCounter_;
    if (clearCounter_ % kClearCelInterval != 0) return;
    bool finished = true;
    for (BoardObject* p : matchedList_) {
        ++p->cel;
        if (p->cel < host_.celColumns(p->imageId)) finished = false;
    }
    if (!finished) return;
    clearing_ = false;
    collapsing_ = true;
    clearFinished_ = true;
    // The receiver reads the kinds of the matched list, so they are emptied only afterwards.
    host_.sendEvent(kEventPiecesCleared, nullptr);
    for (BoardObject* p : matchedList_) p->setKindImage(Piece::None);
    forEachColumnMajor([](BoardObject* p) { p->targetY = static_cast<int>(p->y); });
}

void PieceGrid::collapsePass() {
    if (settlePass()) return;
    bool moving = false;
    forEachColumnMajor([&moving](BoardObject* p) {
        p->fallStep();
        moving = moving || p->isMoving();
    });
    if (moving) return;
    forEachColumnMajor([this](BoardObject* cell) {
        if (cell->kind != Piece::None) return;
        auto* piece = KNEW BoardObject(cell->x, cell->y - kRefillDrop);
        piece->targetY = static_cast<int>(cell->y);
        piece->setKindImage(nextRefillKind());
        falling_.push_back(piece);
    });
    collapsing_ = false;
    refillFalling_ = true;
}

bool PieceGrid::settlePass() {
    bool exchanged = false;
    forEachColumnMajor([&](BoardObject* p) {
        if (p->kind == Piece::None || p->down == nullptr || p->down->kind != Piece::None) return;
        BoardObject* empty = p->down;
        const int oldTarget = p->targetY;
        p->targetY = static_cast<int>(empty->y);
        exchange(p, empty);
        // The hole jumps straight up into the piece's old place; the walk goes on from the
        // piece's new upper link, the hole, so a whole stack sinks one cell in one pass.
        empty->targetY = oldTarget;
        empty->y = static_cast<float>(oldTarget);
        exchanged = true;
    });
    return exchanged;
}

PieceKind PieceGrid::nextRefillKind() {
    if (dealtKinds_.empty()) return Piece::None;
    if (refillCursor_ >= static_cast<int>(dealtKinds_.size())) refillCursor_ = 0;
    return dealtKinds_[refillCursor_++];
}

void PieceGrid::refillStep() {
    bool moving = false;
    for (BoardObject* piece : falling_) {
        piece->fallStep();
        moving = moving || piece->isMoving();
    }
    if (moving) return;
    forEachColumnMajor([this](BoardObject* cell) {
        if (cell->kind != Piece::None) return;
        for (const BoardObject* piece : falling_) {
            if (piece->x == cell->x && piece->y == cell->y) {
                cell->setKindImage(piece->kind);
                break;
            }
        }
    });
    refillFalling_ = false;
    swapCheckPending_ = true;
    for (BoardObject* piece : falling_) delete piece;
    falling_.clear();
    for (BoardObject* p : matchedList_) {
        p->matched = false;
        p->cel = 0;
    }
    matchedList_.clear();
    clearFinished_ = false;
}

void PieceGrid::hideHint() {
    verticalHints_.clear();
    horizontalHints_.clear();
    for (ScreenObject* marker : hintMarkers_) {
        if (marker != nullptr) marker->hasImage = false;
    }
    hintShown_ = false;
    hintUnits_ = 0;
    hintUpdates_ = 1;
}

void PieceGrid::countHintUnits() {
    if (hintUpdates_ > kHintUnitUpdates) {
        ++hintUnits_;
        hintUpdates_ = 1;
    }
    ++hintUpdates_;
}

void PieceGrid::hintTimerStep() {
    countHintUnits();
    if (hintUnits_ < kHintSearchUnits) return;

    // Only one pattern is hinted: a piece that differs from its neighbour and matches the two
    // beyond it, so stepping into the neighbour's cell completes a line.
    verticalHints_.clear();
    horizontalHints_.clear();
    forEachColumnMajor([this](const BoardObject* p) {
        const BoardObject* q = p->up;
        const BoardObject* r = q != nullptr ? q->up : nullptr;
        const BoardObject* s = r != nullptr ? r->up : nullptr;
        if (s != nullptr && p->kind != q->kind && p->kind == r->kind && p->kind == s->kind) {
            verticalHints_.push_back({static_cast<int>(p->x), static_cast<int>(p->y),
                                      static_cast<int>(q->x), static_cast<int>(q->y)});
        }
    });
    forEachRowMajor([this](const BoardObject* p) {
        const BoardObject* q = p->right;
        const BoardObject* r = q != nullptr ? q->right : nullptr;
        const BoardObject* s = r != nullptr ? r->right : nullptr;
        if (s != nullptr && p->kind != q->kind && p->kind == r->kind && p->kind == s->kind) {
            horizontalHints_.push_back({static_cast<int>(p->x), static_cast<int>(p->y),
                                        static_cast<int>(q->x), static_cast<int>(q->y)});
        }
    });

    const std::vector<HintCandidate>* chosen = nullptr;
    if (!verticalHints_.empty() && !horizontalHints_.empty()) {
        chosen = host_.randomValue() % 2 == 1 ? &verticalHints_ : &horizontalHints_;
    } else if (!verticalHints_.empty()) {
        chosen = &verticalHints_;
    } else if (!horizontalHints_.empty()) {
        chosen = &horizontalHints_;
    } else {
        return;
    }
    const HintCandidate& hint = chosen->front();
    hintMarkers_[0]->x = static_cast<float>(hint.x1);
    hintMarkers_[0]->y = static_cast<float>(hint.y1);
    hintMarkers_[1]->x = static_cast<float>(hint.x2);
    hintMarkers_[1]->y = static_cast<float>(hint.y2);
    for (ScreenObject* marker : hintMarkers_) marker->hasImage = true;
    hintShown_ = true;
    hintTimerRunning_ = false;
    hintUnits_ = 0;
    hintUpdates_ = 1;
}

void PieceGrid::hintDisplayStep() {
    countHintUnits();
    if (hintUpdates_ % kHintCelInterval == 0) {
        const int columns = host_.celColumns(Res::IMAGE_HINT_ANIM);
        for (ScreenObject* marker : hintMarkers_) {
            ++marker->cel;
            if (marker->cel > columns) marker->cel = 0;
        }
    }
    if (hintUnits_ > kHintShowUnits) {
        hideHint();
        hintTimerRunning_ = true;
    }
}

void PieceGrid::collectPieces() {
    allPieces_.clear();
    forEachColumnMajor([this](BoardObject* p) { allPieces_.push_back(p); });
}

void PieceGrid::deletePieces() {
    std::vector<BoardObject*> pieces;
    forEachColumnMajor([&pieces](BoardObject* p) { pieces.push_back(p); });
    for (BoardObject* p : pieces) delete p;
    anchor_ = nullptr;
    for (BoardObject* p : falling_) delete p;
    falling_.clear();
}

void PieceGrid::destroyPieces() {
    deletePieces();
    for (ScreenObject* object : extraObjects_) delete object;
    extraObjects_.clear();
    delete selectionMarker_;
    selectionMarker_ = nullptr;
    for (ScreenObject*& marker : hintMarkers_) {
        delete marker;
        marker = nullptr;
    }
    // Nothing may keep pointing at the released pieces, and a grid without pieces has nothing
    // left to animate.
    allPieces_.clear();
    matchedList_.clear();
    verticalHints_.clear();
    horizontalHints_.clear();
    firstSelection_ = nullptr;
    secondSelection_ = nullptr;
    swapCheckPending_ = false;
    clearing_ = false;
    collapsing_ = false;
    refillFalling_ = false;
    introDropPending_ = false;
    clearAwayPending_ = false;
    clearAwayRequested_ = false;
    hintShown_ = false;
}

}  // namespace Kelvane
