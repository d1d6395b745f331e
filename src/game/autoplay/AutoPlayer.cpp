#include "game/autoplay/AutoPlayer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "game/GameApp.h"
#include "game/dialogs/GameDialog.h"
#include "game/goals/GoalSystem.h"
#include "game/grid/PieceGrid.h"
#include "game/screens/GUISystem.h"
#include "game/screens/MainScreen.h"
#include "game/screens/ScreenIds.h"
#include "game/screens/TeamPickingScreen.h"
#include "game/tour/PlayState.h"
#include "platform/WindowMessage.h"
#include "widgets/ButtonWidget.h"
#include "widgets/Dialog.h"
#include "widgets/WidgetManager.h"

namespace Kelvane {

namespace {

// Dialog ids, in the order the player looks at them when several are open.
constexpr int kPostMatch = 206;
constexpr int kTourCompleted = 209;
constexpr int kSaveOrLoad = 211;
constexpr int kQuit = 204;
constexpr int kMenu = 203;
constexpr int kShop = 208;
constexpr int kProfile = 207;
constexpr int kOptions = 205;
constexpr int kRules = 200;
constexpr int kCredits = 210;

// Button ids inside the dialogs.
constexpr int kYes = 0;
constexpr int kNo = 1;
constexpr int kMenuQuit = 1;
constexpr int kMenuExit = 3;
// What a first look through the menu opens, in order: options, rules, credits.
constexpr int kMenuSightButtons[] = {0, 2, 4};
constexpr int kRulesNext = 1;
constexpr int kRulesExit = 2;
constexpr int kShopExit = 0;
constexpr int kBuyRedCard = 1;
constexpr int kBuyYellowCard = 2;
constexpr int kBuyInjury = 3;

constexpr int kSize = PieceGrid::kColumns;
// The opponent's bar is "high" once its top is this close to the goal line.
constexpr float kHighBar = 175.0f;
// Updates between the two clicks of a swap.
constexpr int kSwapClickGap = 8;

int runLength(const std::array<int, 49>& k, int c, int r, int dc, int dr) {
    const int kind = k[c * kSize + r];
    int n = 0;
    for (int x = c + dc, y = r + dr; x >= 0 && x < kSize && y >= 0 && y < kSize; x += dc, y += dr) {
        if (k[x * kSize + y] != kind) break;
        ++n;
    }
    return n;
}

// The worth of the lines through (c, r): every piece of a line of three or more, balls thrice.
int lineWorth(const std::array<int, 49>& k, int c, int r) {
    const int kind = k[c * kSize + r];
    if (kind == Piece::None) return 0;
    const int across = 1 + runLength(k, c, r, -1, 0) + runLength(k, c, r, 1, 0);
    const int upDown = 1 + runLength(k, c, r, 0, -1) + runLength(k, c, r, 0, 1);
    int pieces = (across >= 3 ? across : 0) + (upDown >= 3 ? upDown : 0);
    return kind == Piece::Ball ? 3 * pieces : pieces;
}

}  // namespace

AutoPlayer::AutoPlayer(GameApp& application, Mode playMode, int matches,
                       std::function<void(const std::string&)> say)
    : app(application), mode(playMode), tourMatches(matches), out(std::move(say)) {}

bool AutoPlayer::parseOption(const std::string& value, Mode& mode, int& tourMatches) {
    if (value.empty()) {
        mode = Mode::Friendly;
        tourMatches = 0;
        return true;
    }
    if (value == "tour") {
        mode = Mode::Tour;
        tourMatches = 1;
        return true;
    }
    if (value.rfind("tour:", 0) == 0 && value.size() > 5 && value.size() < 9) {
        char* end = nullptr;
        const long n = std::strtol(value.c_str() + 5, &end, 10);
        if (*end != '\0' || n < 0) return false;
        mode = Mode::Tour;
        tourMatches = static_cast<int>(n);
        return true;
    }
    return false;
}

bool AutoPlayer::bestSwap(const std::array<int, 49>& kinds, Swap& best) {
    int bestWorth = 0;
    std::array<int, 49> k = kinds;
    for (int c = 0; c < kSize; ++c) {
        for (int r = 0; r < kSize; ++r) {
            for (const auto& [dc, dr] : {std::pair{1, 0}, std::pair{0, 1}}) {
                const int c2 = c + dc, r2 = r + dr;
                if (c2 >= kSize || r2 >= kSize) continue;
                int& a = k[c * kSize + r];
                int& b = k[c2 * kSize + r2];
                if (a == b || a == Piece::None || b == Piece::None) continue;
                std::swap(a, b);
                const int worth = lineWorth(k, c, r) + lineWorth(k, c2, r2);
                std::swap(a, b);
                if (worth > bestWorth) {
                    bestWorth = worth;
                    best = {c, r, c2, r2};
                }
            }
        }
    }
    return bestWorth > 0;
}

void AutoPlayer::update() {
    if (app.IsShutDown() || app.gui() == nullptr) return;
    watchScreen();
    if (cooldown > 0) {
        --cooldown;
        return;
    }
    if (act()) cooldown = kActionGap;
}

void AutoPlayer::watchScreen() {
    // A player takes in a new screen or dialog before acting on it (and a picture of it can be
    // taken meanwhile).
    const Zarvo::Dialog* top = app.topDialog();
    if (top != nullptr && top != lastTopDialog) cooldown = std::max(cooldown, kArrivalPause);
    lastTopDialog = top;
    const int screen = app.currentScreenId();
    if (screen == lastScreen) return;
    lastScreen = screen;
    cooldown = std::max(cooldown, kArrivalPause);
    shopVisited = false;
    shopBought = false;
    selectionPending = false;
    if (const char* name = GUISystem::screenName(screen)) say(std::string("Screen: ") + name);
    if (screen == SCREEN_MAIN) tallyReported = false;
}

std::string AutoPlayer::tourPosition() const {
    const TourStage* stage = PlayState::instance().gamePlay.currentStage();
    return "stage " + std::to_string(stage ? stage->index + 1 : 0) + ", " +
           std::to_string(PlayState::instance().profile.totalPoints) + " points";
}

void AutoPlayer::reportMatchResult() {
    const Match* match = PlayState::instance().gamePlay.currentMatch();
    if (match == nullptr || match->teamA == nullptr || match->teamB == nullptr) return;
    char line[200];
    std::snprintf(line, sizeof line, "%s %d - %d %s", match->teamA->name.c_str(), match->scoreA,
                  match->scoreB, match->teamB->name.c_str());
    say(line);
    ++matchesSeen;
}

bool AutoPlayer::act() {
    if (actOnDialog()) return true;
    if (app.GetDialogCount() > 0) return false;  // a dialog the player leaves alone
    GamePlay& play = PlayState::instance().gamePlay;
    // A tour run goes to the map whatever it has to do there; a friendly run is over after one.
    const bool friendlyDone = mode == Mode::Friendly && matchesSeen >= 1;
    const bool done = mode == Mode::Friendly ? friendlyDone : matchesSeen >= tourMatches;
    switch (app.currentScreenId()) {
        case SCREEN_ORLEND:
        case SCREEN_KELVANE: {
            ScreenObject* background = app.gui()->currentScreen()->findObject(OBJECT_BACKGROUND);
            if (background && background->clickable) {
                click(320, 240);
                return true;
            }
            return false;
        }
        case SCREEN_START:
            // A first visit looks through the menu: options, rules and credits.
            if (!leaving && !friendlyDone && sightsSeen < kMenuSights)
                return clickObject(EVENT_MENU);
            return clickObject(leaving || friendlyDone ? EVENT_QUIT : EVENT_START);
        case SCREEN_GAME_TYPE:
            if (leaving || friendlyDone) return clickObject(EVENT_BACK);
            return clickObject(mode == Mode::Friendly ? EVENT_FRIENDLY_MATCH : EVENT_WORLD_TOUR);
        case SCREEN_TEAM_PICKING: {
            auto* picking = static_cast<TeamPickingScreen*>(app.gui()->currentScreen());
            if (picking->selectedTeam == nullptr && !picking->teamRows.empty()) {
                const ScreenObject* row = picking->teamRows.front();
                clickCentre(row->x, row->y, row->width, row->height);
                return true;
            }
            return clickObject(EVENT_NEXT);
        }
        case SCREEN_WORLD_TOUR: {
            if (loadAnswered && !resumeReported) {
                resumeReported = true;
                say("Resumed tour: " + tourPosition());
            }
            if (play.completed()) {
                leaving = true;
                return clickObject(EVENT_NEXT);
            }
            if (done) {
                leaving = true;
                return clickObject(EVENT_MENU);
            }
            if (!profileSeen) {
                profileSeen = true;
                return clickObject(EVENT_PROFILE);
            }
            if (!shopVisited && PlayState::instance().profile.totalPoints >= 50) {
                shopVisited = true;
                return clickObject(EVENT_SHOP);
            }
            return clickObject(EVENT_NEXT);
        }
        case SCREEN_MAIN:
            return actInMatch(*static_cast<MainScreen*>(app.gui()->currentScreen()));
        default:
            return false;
    }
}

bool AutoPlayer::actOnDialog() {
    if (Zarvo::Dialog* tally = app.FindDialog(kPostMatch)) {
        if (!tallyReported) {
            tallyReported = true;
            reportMatchResult();
        }
        return clickDialogButton(tally, kYes);
    }
    if (Zarvo::Dialog* completed = app.FindDialog(kTourCompleted))
        return clickDialogButton(completed, kYes);
    if (Zarvo::Dialog* question = app.FindDialog(kSaveOrLoad)) {
        const bool loading = app.currentScreenId() == SCREEN_GAME_TYPE;
        // Asked to save again: the save failed and the game went on, so it quits without.
        if (!loading && saveAnswered) {
            if (!clickDialogButton(question, kNo)) return false;
            say("Quitting without the tour saved");
            return true;
        }
        if (!clickDialogButton(question, kYes)) return false;
        if (loading) {
            loadAnswered = true;
        } else {
            saveAnswered = true;
            say("Saving tour: " + tourPosition());
        }
        return true;
    }
    if (Zarvo::Dialog* quit = app.FindDialog(kQuit))
        return clickDialogButton(quit, leaving ? kYes : kNo);
    if (Zarvo::Dialog* menu = app.FindDialog(kMenu)) {
        if (leaving) return clickDialogButton(menu, kMenuQuit);
        if (sightsSeen < kMenuSights)
            return clickDialogButton(menu, kMenuSightButtons[sightsSeen++]);
        return clickDialogButton(menu, kMenuExit);
    }
    // The rules are read to the last page before they are closed.
    if (Zarvo::Dialog* rules = app.FindDialog(kRules))
        return clickDialogButton(rules, kRulesNext) || clickDialogButton(rules, kRulesExit);
    if (Zarvo::Dialog* shop = app.FindDialog(kShop)) {
        // One power-up a visit, the strongest the points allow; the rest is kept.
        if (!shopBought) {
            shopBought = true;
            for (int buy : {kBuyRedCard, kBuyYellowCard, kBuyInjury})
                if (clickDialogButton(shop, buy)) return true;
        }
        return clickDialogButton(shop, kShopExit);
    }
    const std::pair<int, int> exits[] = {{kProfile, 0}, {kOptions, 7}, {kRules, 2}, {kCredits, 0}};
    for (const auto& [dialogId, buttonId] : exits)
        if (Zarvo::Dialog* dialog = app.FindDialog(dialogId))
            return clickDialogButton(dialog, buttonId);
    return false;
}

bool AutoPlayer::actInMatch(MainScreen& match) {
    if (!match.playing || match.grid == nullptr) return false;
    PieceGrid& grid = *match.grid;
    GoalSystem& goals = *match.goals;

    // Power-ups first: an opponent near its goal is held back, a goal it scored is taken back.
    const int opponentGoals = goals.teamAIsHuman() ? goals.goalsB : goals.goalsA;
    auto usable = [&goals](GoalSystem::PowerUp kind) {
        const ScreenObject* button = goals.buttons[kind];
        return goals.held[kind] > 0 && button != nullptr && button->clickable && !goals.resetting;
    };
    auto use = [&](GoalSystem::PowerUp kind) {
        const ScreenObject* b = goals.buttons[kind];
        clickCentre(b->x, b->y, b->width, b->height);
    };
    if (opponentGoals > 0 && usable(GoalSystem::Offside)) {
        use(GoalSystem::Offside);
        return true;
    }
    if (goals.opponentBar != nullptr && goals.opponentBar->y < kHighBar && !goals.frozen) {
        for (auto kind : {GoalSystem::RedCard, GoalSystem::YellowCard, GoalSystem::Injury}) {
            if (kind == GoalSystem::Injury && goals.injuryEffect) continue;
            if (usable(kind)) {
                use(kind);
                return true;
            }
        }
    }

    if (grid.isInputBlocked()) return false;
    if (selectionPending) {
        selectionPending = false;
        if (BoardObject* second = grid.pieceAt(swapColumn, swapRow)) {
            clickCentre(second->x, second->y, second->width, second->height);
            return true;
        }
        return false;
    }
    std::array<int, 49> kinds{};
    for (int c = 0; c < kSize; ++c)
        for (int r = 0; r < kSize; ++r) {
            const BoardObject* piece = grid.pieceAt(c, r);
            kinds[c * kSize + r] = piece ? piece->kind : Piece::None;
        }
    Swap swap{};
    if (!bestSwap(kinds, swap)) return false;
    BoardObject* first = grid.pieceAt(swap.column1, swap.row1);
    if (first == nullptr) return false;
    clickCentre(first->x, first->y, first->width, first->height);
    selectionPending = true;
    swapColumn = swap.column2;
    swapRow = swap.row2;
    cooldown = kSwapClickGap;
    return false;  // keeps the short gap before the second click
}

void AutoPlayer::click(int x, int y) {
    using Zarvo::WindowMessage;
    namespace Msg = Zarvo::Msg;
    // The window may be scaled: the press goes where the game-area point is shown.
    const Zarvo::WidgetPoint shown = app.GetWidgetManager()->MapLogicalPoint(x, y);
    const int64_t point = Msg::PackPoint(shown.x, shown.y);
    app.WindowProcedure(WindowMessage{WindowMessage::kMainWindow, Msg::kMouseMove, 0, point});
    app.WindowProcedure(
        WindowMessage{WindowMessage::kMainWindow, Msg::kLButtonDown, Msg::kButtonLeft, point});
    app.WindowProcedure(WindowMessage{WindowMessage::kMainWindow, Msg::kLButtonUp, 0, point});
}

void AutoPlayer::clickCentre(float x, float y, float width, float height) {
    click(static_cast<int>(x + width / 2), static_cast<int>(y + height / 2));
}

bool AutoPlayer::clickObject(int32_t id) {
    Screen* screen = app.gui()->currentScreen();
    ScreenObject* object = screen ? screen->findObject(id) : nullptr;
    if (object == nullptr || !object->clickable) return false;
    clickCentre(object->x, object->y, object->width, object->height);
    return true;
}

bool AutoPlayer::clickDialogButton(Zarvo::Dialog* dialog, int id) {
    auto* gameDialog = dynamic_cast<GameDialog*>(dialog);
    Zarvo::ButtonWidget* button = gameDialog ? gameDialog->button(id) : nullptr;
    if (button == nullptr || !button->visible || button->disabled) return false;
    click(button->x + button->width / 2, button->y + button->height / 2);
    return true;
}

}  // namespace Kelvane
