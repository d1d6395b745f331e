#include "game/screens/MainScreen.h"

#include <cstdio>

#include "diagnostics/AllocationTracker.h"
#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "game/audio/GameSounds.h"
#include "game/dialogs/MenuDialog.h"
#include "game/dialogs/PostMatchDialog.h"
#include "game/goals/GameClock.h"
#include "game/goals/GoalSystem.h"
#include "game/grid/PieceGrid.h"
#include "game/screens/GUISystem.h"
#include "game/screens/MessageSystem.h"
#include "game/screens/ScreenIds.h"
#include "game/tour/PlayState.h"

namespace Kelvane {

namespace {
constexpr float kPauseButtonX = 160;
constexpr float kMenuButtonX = 55;
constexpr float kButtonY = 420;
}  // namespace

MainScreen::MainScreen(GameApp& app, GUISystem& gui)
    : Screen(app, gui),
      clock(KNEW GameClock(*this)),
      messages(KNEW MessageSystem(gui)),
      grid(KNEW PieceGrid(*this)),
      goals(KNEW GoalSystem(*this)) {}

MainScreen::~MainScreen() {
    // The pieces belong to the grid: the collected lists must not outlive it.
    boardObjects.clear();
    boardObjectsB.clear();
    extraObjects.clear();
    grid->destroyPieces();
}

void MainScreen::init() {
    setBackgroundImage(Res::IMAGE_MAIN_SCREEN_BACKGROUND);
    cover.reset(makeCover());
}

void MainScreen::enter() {
    GamePlay& play = PlayState::instance().gamePlay;
    // A match needs its two teams; the game always picks them before coming here, and a
    // friendly is the one match that needs no choice.
    if (play.currentMatch() == nullptr) play.startFriendly([this] { return randomValue(); });

    matchSetup.reset(KNEW MatchSetup());
    grid->start(matchSetup->kinds);
    grid->requestIntroDrop();
    collectPieces();

    pauseButton =
        addVisit(makeButton(kPauseButtonX, kButtonY, Res::IMAGE_PAUSE_BUTTON, EVENT_PAUSE));
    menuButton = addVisit(makeButton(kMenuButtonX, kButtonY, Res::IMAGE_MENU_BUTTON, EVENT_MENU));
    playing = false;
    pausedByButton = false;
    awaitingTimeUp = false;

    clock->place(static_cast<int>(kClockX), static_cast<int>(kClockY), GameClock::kBarMode);
    goals->start(*play.currentMatch(), PlayState::instance().profile);
    messages->create();
    setShown(cover.get(), false);
    cascadeStep = 0;
    rememberScores();
}

void MainScreen::reportResult() {
    const Match* match = PlayState::instance().gamePlay.currentMatch();
    if (match == nullptr || match->teamA == nullptr || match->teamB == nullptr) return;
    char line[200];
    std::snprintf(line, sizeof line, "Match over: %s %d - %d %s after %d updates\n",
                  match->teamA->name.c_str(), match->scoreA, match->scoreB,
                  match->teamB->name.c_str(), app.totalUpdates);
    app.GetPlatform().DebugOutput(line);
}

void MainScreen::rememberScores() {
    const bool aHuman = goals->teamAIsHuman();
    lastPlayerGoals = aHuman ? goals->goalsA : goals->goalsB;
    lastOpponentGoals = aHuman ? goals->goalsB : goals->goalsA;
    lastHeld = goals->held;
}

void MainScreen::playScoreSounds() {
    const bool aHuman = goals->teamAIsHuman();
    const int playerGoals = aHuman ? goals->goalsA : goals->goalsB;
    const int opponentGoals = aHuman ? goals->goalsB : goals->goalsA;
    if (playerGoals > lastPlayerGoals) app.sounds().play(Sfx::Cheer);
    if (opponentGoals > lastOpponentGoals) app.sounds().play(Sfx::Groan);
    for (size_t kind = 0; kind < lastHeld.size(); ++kind) {
        if (goals->held[kind] > lastHeld[kind]) app.sounds().play(Sfx::Chime);
        if (goals->held[kind] < lastHeld[kind]) app.sounds().play(Sfx::PowerUp);
    }
    rememberScores();
}

void MainScreen::deleteVisitObjects() {
    Screen::deleteVisitObjects();
    menuButton = nullptr;
    pauseButton = nullptr;
    boardObjects.clear();
    boardObjectsB.clear();
    extraObjects.clear();
    selectionMarker = hintMarkerA = hintMarkerB = nullptr;
    grid->destroyPieces();
    clock->reset();
    matchSetup.reset();
    goals->reset();
    messages->destroy();
    playing = false;
    awaitingTimeUp = false;
}

void MainScreen::update() {
    grid->update();
    // The grid's last event of a match leaves the screen; nothing of the match is left to run.
    if (gui.currentScreen() != this || !matchSetup) return;
    collectPieces();
    clock->update();
    goals->update();
    messages->step();
    playScoreSounds();
}

void MainScreen::collectPieces() {
    grid->collectPieces();
    boardObjects.clear();
    for (BoardObject* piece : grid->allPieces()) {
        if (piece == nullptr) continue;
        piece->id = EVENT_PLAY_OR_PIECE;
        piece->param = piece;
        boardObjects.push_back(piece);
    }
    boardObjectsB.clear();
    for (BoardObject* piece : grid->fallingPieces()) {
        if (piece == nullptr) continue;
        piece->id = EVENT_PLAY_OR_PIECE;
        piece->param = piece;
        boardObjectsB.push_back(piece);
    }
    extraObjects = grid->extraObjects();
    selectionMarker = grid->selectionMarker();
    hintMarkerA = grid->hintMarker(0);
    hintMarkerB = grid->hintMarker(1);
}

void MainScreen::collectDrawList(DrawList& list) {
    Screen::collectDrawList(list);
    goals->addToDrawList(list);
    for (ScreenObject* object : extraObjects) object->addToDrawList(list);
    for (ScreenObject* object : boardObjects) object->addToDrawList(list);
    for (ScreenObject* object : boardObjectsB) object->addToDrawList(list);
    for (ScreenObject* marker : {selectionMarker, hintMarkerA, hintMarkerB})
        if (marker != nullptr) marker->addToDrawList(list);
    clock->addToDrawList(list);
    messages->addToDrawList(list);
    cover->addToDrawList(list);
}

void MainScreen::onMouseUp(int x, int y) {
    for (ScreenObject* piece : boardObjects) {
        if (piece->hitTest(x, y)) {
            gui.sendEvent(piece->id, piece->param);
            return;
        }
    }
    goals->onMouseUp(x, y);
    // A power-up may have opened a dialog or the click may have ended the visit; the screen's
    // own objects are asked only while it is still the current one.
    if (gui.currentScreen() == this) Screen::onMouseUp(x, y);
}

void MainScreen::togglePause() {
    grid->togglePause();
    clock->paused = !clock->paused;
    goals->paused = !goals->paused;
}

void MainScreen::openMenu() {
    setShown(cover.get(), true);
    auto* menu = KNEW MenuDialog(app, " ", " ");
    menu->SetBounds(500, 50, 100, 300);
    app.AddDialog(MenuDialog::kDialogId, menu);
}

void MainScreen::onEvent(int32_t id, void* param) {
    switch (id) {
        case EVENT_PLAY_OR_PIECE:
            if (param == nullptr) break;
            grid->clickPiece(static_cast<BoardObject*>(param));
            if (grid->secondSelection() != nullptr) {
                cascadeStep = 0;
                app.sounds().play(Sfx::Kick);
            }
            break;
        case EVENT_MENU:
            if (!playing) break;
            if (!pausedByButton) togglePause();
            if (menuButton) menuButton->setImage(Res::IMAGE_MENU_BUTTON_CLICKED);
            openMenu();
            break;
        case EVENT_PAUSE:
            if (!playing) break;
            togglePause();
            pausedByButton = !pausedByButton;
            if (pauseButton)
                pauseButton->setImage(pausedByButton ? Res::IMAGE_PAUSE_BUTTON_CLICKED
                                                     : Res::IMAGE_PAUSE_BUTTON);
            break;
        case EVENT_DROP_LANDED:
            messages->show(Res::IMAGE_READY_MESSAGE);
            break;
        case EVENT_FLOWN_OFF: {
            GamePlay& play = PlayState::instance().gamePlay;
            const bool friendly = play.mode() == GameMode::Friendly;
            play.finishMatch();
            gui.switchTo(friendly ? SCREEN_START : SCREEN_WORLD_TOUR);
            // The visit is over: the goal system was reset with it and has nothing to see.
            return;
        }
        case EVENT_TIME_UP:
            app.sounds().play(Sfx::Whistle);
            awaitingTimeUp = true;
            playing = false;
            grid->lockInput();
            break;
        case EVENT_DIALOG_RESUMED:
            if (!pausedByButton) togglePause();
            if (menuButton) menuButton->setImage(Res::IMAGE_MENU_BUTTON);
            break;
        case EVENT_CLEAR_FINISHED: {
            const std::vector<BoardObject*> cleared = grid->matchedList();
            goals->scoreClearedPieces(cleared);
            clock->scoreClearedPieces(cleared);
            app.sounds().play(Sfx::Swoosh, 2.0 * cascadeStep++);
            break;
        }
        case EVENT_GRID_IDLE:
            if (!awaitingTimeUp) break;
            awaitingTimeUp = false;
            goals->storeResults();
            grid->lockInput();
            gui.sendEvent(EVENT_SHOW_TIME_UP, nullptr);
            break;
        case EVENT_SHOW_TIME_UP:
            messages->show(Res::IMAGE_TIME_UP_MESSAGE);
            break;
        case EVENT_GO_DONE:
            app.sounds().play(Sfx::Whistle);
            goals->waiting = false;
            clock->waiting = false;
            playing = true;
            grid->resumeInput();
            break;
        case EVENT_TIME_UP_DONE: {
            reportResult();
            setShown(cover.get(), true);
            auto* tally = KNEW PostMatchDialog(app);
            tally->SetBounds(50, 50, 540, 405);
            app.AddDialog(PostMatchDialog::kDialogId, tally);
            break;
        }
        case EVENT_TALLY_DONE:
            grid->requestClearAway();
            break;
        case EVENT_DIALOG_CLOSED:
            setShown(cover.get(), false);
            break;
        default:
            break;
    }
    goals->onEvent(id, param);
}

void MainScreen::sendEvent(int32_t id, void* param) {
    gui.sendEvent(id, param);
}

uint32_t MainScreen::randomValue() {
    return app.Random();
}

}  // namespace Kelvane
