// The screens between start-up and a match, in the real application: the start menu, the game
// type choice with the saved tour, team picking and the world tour map.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/Board.h"
#include "game/GameApp.h"
#include "game/save/SaveGame.h"
#include "game/screens/BoardFixture.h"
#include "game/screens/GameTypeScreen.h"
#include "game/screens/ScreenIds.h"
#include "game/screens/StartScreen.h"
#include "game/screens/TeamNameImage.h"
#include "game/screens/TeamPickingScreen.h"
#include "game/screens/WorldTourScreen.h"
#include "game/tour/PlayState.h"
#include "graphics/MemoryImage.h"
#include "widgets/WidgetManager.h"

namespace Kelvane {
namespace {

class FlowScreensTest : public testing::BoardFixture {
protected:
    GamePlay& play() { return PlayState::instance().gamePlay; }
    Profile& profile() { return PlayState::instance().profile; }
    bool saveFileExists() { return std::filesystem::exists(app.saveGame().path()); }
    // A tour with `team` chosen and the stages before `stage` won, saved and then forgotten.
    void writeSaveAt(int teamId, int stage) {
        play().startWorldTour();
        profile().setTeam(play().findNation(teamId));
        profile().totalPoints = 777;
        ASSERT_TRUE(play().restoreTourPosition(stage, false, false));
        ASSERT_TRUE(app.saveGame().writeSave(play(), profile()));
        PlayState::release();
    }
};

TEST_F(FlowScreensTest, StartScreenButtonsAndTheMenuCover) {
    gui().switchTo(SCREEN_START);
    auto& start = screen<StartScreen>(SCREEN_START);
    ASSERT_NE(start.cover, nullptr);
    EXPECT_EQ(start.permanentObjects.back().get(), start.cover);
    EXPECT_FALSE(start.cover->hasImage);

    clickObject(EVENT_MENU);
    EXPECT_NE(app.FindDialog(203), nullptr);
    EXPECT_TRUE(start.cover->hasImage);
    EXPECT_TRUE(start.cover->clickable);
    app.RemoveDialog(203);
    gui().sendEvent(EVENT_DIALOG_CLOSED, nullptr);
    EXPECT_FALSE(start.cover->hasImage);
    EXPECT_FALSE(start.cover->clickable);

    clickObject(EVENT_START);
    EXPECT_EQ(gui().currentScreenId(), SCREEN_GAME_TYPE);
    clickObject(EVENT_BACK);
    EXPECT_EQ(gui().currentScreenId(), SCREEN_START);
    EXPECT_FALSE(app.IsShutDown());
    clickObject(EVENT_QUIT);
    EXPECT_TRUE(app.IsShutDown());
}

TEST_F(FlowScreensTest, FriendlyMatchStartsAMatchBetweenTwoNations) {
    gui().switchTo(SCREEN_GAME_TYPE);
    clickObject(EVENT_FRIENDLY_MATCH);
    EXPECT_EQ(gui().currentScreenId(), SCREEN_MAIN);
    EXPECT_EQ(play().mode(), GameMode::Friendly);
    ASSERT_NE(play().currentMatch(), nullptr);
    EXPECT_NE(play().currentMatch()->teamA, play().currentMatch()->teamB);
}

TEST_F(FlowScreensTest, WorldTourWithoutASaveGoesStraightToTeamPicking) {
    gui().switchTo(SCREEN_GAME_TYPE);
    clickObject(EVENT_WORLD_TOUR);
    EXPECT_EQ(gui().currentScreenId(), SCREEN_TEAM_PICKING);
    EXPECT_EQ(play().mode(), GameMode::WorldTour);
    EXPECT_EQ(app.GetDialogCount(), 0);
}

TEST_F(FlowScreensTest, ASavedTourAsksFirstAndYesResumesItOnTheMap) {
    writeSaveAt(1, 5);
    gui().switchTo(SCREEN_GAME_TYPE);
    auto& gameType = screen<GameTypeScreen>(SCREEN_GAME_TYPE);
    clickObject(EVENT_WORLD_TOUR);
    EXPECT_EQ(gui().currentScreenId(), SCREEN_GAME_TYPE);
    EXPECT_NE(app.FindDialog(211), nullptr);
    EXPECT_TRUE(gameType.cover->hasImage);

    gui().sendEvent(EVENT_LOAD_YES, nullptr);
    EXPECT_EQ(gui().currentScreenId(), SCREEN_WORLD_TOUR);
    ASSERT_NE(play().currentStage(), nullptr);
    EXPECT_EQ(play().currentStage()->index, 5);
    ASSERT_NE(profile().team, nullptr);
    EXPECT_EQ(profile().team->id, 1);
    EXPECT_EQ(profile().totalPoints, 777);
    EXPECT_TRUE(saveFileExists());
}

TEST_F(FlowScreensTest, NoDeletesTheSaveAndStartsAFreshTour) {
    writeSaveAt(2, 3);
    gui().switchTo(SCREEN_GAME_TYPE);
    gui().sendEvent(EVENT_LOAD_NO, nullptr);
    EXPECT_FALSE(saveFileExists());
    EXPECT_EQ(gui().currentScreenId(), SCREEN_TEAM_PICKING);
    EXPECT_EQ(play().currentStage(), play().firstStage());
    EXPECT_EQ(profile().team, nullptr);
}

TEST_F(FlowScreensTest, ASaveThatFailsToLoadLeadsToTeamPickingWithAFreshTour) {
    std::filesystem::create_directories(dataFolder.Path());
    dataFolder.Write(SaveGame::kFileName, std::string(10, '\xff'));
    gui().switchTo(SCREEN_GAME_TYPE);
    gui().sendEvent(EVENT_LOAD_YES, nullptr);
    EXPECT_EQ(gui().currentScreenId(), SCREEN_TEAM_PICKING);
    EXPECT_EQ(play().mode(), GameMode::WorldTour);
    EXPECT_EQ(play().currentStage(), play().firstStage());
}

TEST_F(FlowScreensTest, TeamRowsLabelsAndTheHighlightOfTheChosenTeam) {
    play().startWorldTour();
    gui().switchTo(SCREEN_TEAM_PICKING);
    auto& picking = screen<TeamPickingScreen>(SCREEN_TEAM_PICKING);
    ASSERT_EQ(picking.teamRows.size(), 16u);
    for (int i = 0; i < 8; ++i) {
        const ScreenObject* row = picking.teamRows[2 * i];
        const ScreenObject* label = picking.teamRows[2 * i + 1];
        const auto* team = static_cast<const Team*>(row->param);
        EXPECT_EQ(row->x, 100);
        EXPECT_EQ(row->y, 115 + 35 * i);
        EXPECT_EQ(row->imageId, Res::IMAGE_TEAM_PICK_BACKGROUND);
        EXPECT_EQ(label->x, 160);
        EXPECT_EQ(label->y, 139 + 35 * i);
        EXPECT_EQ(label->fontId, Res::FONT_ROCKWELLEXTRABOLD12);
        EXPECT_EQ(label->text, team->name + " ( starting points -   " +
                                   std::to_string(team->startingPoints) + ")");
        EXPECT_EQ(label->param, team);
    }
    // The hidden next button takes no click.
    EXPECT_FALSE(picking.nextButton->hasImage);
    click(505, 425);
    EXPECT_EQ(gui().currentScreenId(), SCREEN_TEAM_PICKING);

    auto choose = [&](int rowIndex) {
        const ScreenObject* row = picking.teamRows[2 * rowIndex];
        click(static_cast<int>(row->x) + 2, static_cast<int>(row->y) + 2);
    };
    choose(2);
    choose(5);
    const auto* chosen = static_cast<const Team*>(picking.teamRows[10]->param);
    EXPECT_EQ(picking.selectedTeam, chosen);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(picking.teamRows[2 * i]->imageId,
                  i == 5 ? Res::IMAGE_TEAM_PICKED_BACKGROUND : Res::IMAGE_TEAM_PICK_BACKGROUND)
            << i;
    EXPECT_EQ(picking.chosenTeamLabel->imageId, teamNameImage(chosen->id, true));
    EXPECT_TRUE(picking.nextButton->hasImage);

    clickObject(EVENT_NEXT);
    EXPECT_EQ(gui().currentScreenId(), SCREEN_WORLD_TOUR);
    EXPECT_EQ(profile().team, chosen);
    EXPECT_EQ(profile().totalPoints, chosen->startingPoints);
}

TEST_F(FlowScreensTest, BackFromTeamPickingDiscardsTheTour) {
    play().startWorldTour();
    gui().switchTo(SCREEN_TEAM_PICKING);
    clickObject(EVENT_BACK);
    EXPECT_EQ(gui().currentScreenId(), SCREEN_GAME_TYPE);
    EXPECT_TRUE(play().stages().empty());
    EXPECT_TRUE(play().nations().empty());
}

TEST_F(FlowScreensTest, TheMapDrawsEveryStageAndNamesTheNextMatch) {
    play().startWorldTour();
    profile().setTeam(play().findNation(0));
    ASSERT_TRUE(play().restoreTourPosition(3, true, false));
    gui().switchTo(SCREEN_WORLD_TOUR);
    auto& map = screen<WorldTourScreen>(SCREEN_WORLD_TOUR);
    int markers = 0;
    for (const auto& stage : play().stages()) {
        ASSERT_NE(stage->mapObject, nullptr);
        EXPECT_EQ(stage->mapObject->x, map.mapPoints[stage->index].first);
        EXPECT_EQ(stage->mapObject->y, map.mapPoints[stage->index].second);
        EXPECT_EQ(stage->mapObject->imageId,
                  stage->index < 3 ? Res::IMAGE_COMPLETED_NODE : Res::IMAGE_NODE);
        EXPECT_EQ(stage->mapObject->param, stage.get());
        ++markers;
    }
    EXPECT_EQ(markers, 46);
    EXPECT_EQ(map.mapPoints[0], std::make_pair(153, 367));
    EXPECT_EQ(map.mapPoints[45], std::make_pair(270, 130));
    const ScreenObject* label = map.visitObjects.front().get();
    EXPECT_EQ(label->text, "Replay Match: v " + play().currentStage()->opponent->name);
    EXPECT_EQ(label->y, 449);
    EXPECT_FALSE(map.cover->hasImage);

    clickObject(EVENT_SHOP);
    EXPECT_NE(app.FindDialog(208), nullptr);
    EXPECT_TRUE(map.cover->hasImage);
    app.RemoveDialog(208);
    gui().sendEvent(EVENT_DIALOG_CLOSED, nullptr);
    EXPECT_FALSE(map.cover->hasImage);

    clickObject(EVENT_NEXT);
    EXPECT_EQ(gui().currentScreenId(), SCREEN_MAIN);
    ASSERT_NE(play().currentMatch(), nullptr);
    EXPECT_EQ(play().currentMatch()->teamB, profile().team);
    // Leaving the map took its markers away from the stages.
    for (const auto& stage : play().stages()) EXPECT_EQ(stage->mapObject, nullptr);
}

TEST_F(FlowScreensTest, ACompletedTourOpensItsDialogAndNextLeavesTheTour) {
    play().startWorldTour();
    profile().setTeam(play().findNation(0));
    ASSERT_TRUE(play().restoreTourPosition(0, false, true));
    ASSERT_TRUE(app.saveGame().writeSave(play(), profile()));
    gui().switchTo(SCREEN_WORLD_TOUR);
    auto& map = screen<WorldTourScreen>(SCREEN_WORLD_TOUR);
    EXPECT_NE(app.FindDialog(209), nullptr);
    EXPECT_TRUE(map.cover->hasImage);
    app.RemoveDialog(209);
    gui().sendEvent(EVENT_DIALOG_CLOSED, nullptr);
    EXPECT_FALSE(map.cover->hasImage);

    clickObject(EVENT_NEXT);
    EXPECT_EQ(gui().currentScreenId(), SCREEN_START);
    EXPECT_FALSE(saveFileExists());
    EXPECT_TRUE(play().stages().empty());
}

TEST_F(FlowScreensTest, AnIdleScreenIsNotRedrawnAndAnyChangeRedrawsIt) {
    Zarvo::MemoryImage frame;
    frame.Create(640, 480);
    Zarvo::WidgetManager* manager = app.GetWidgetManager();
    manager->SetBackBuffer(&frame);
    Board& board = *app.board();
    // One step of the loop: an update, then a draw of what is dirty. Answers whether the board
    // was to be redrawn.
    auto step = [&] {
        app.UpdateOnce();
        const bool redraw = board.invalidateIfChanged();
        manager->RunDrawPass();
        return redraw;
    };
    gui().switchTo(SCREEN_START);
    EXPECT_TRUE(step());  // never drawn on this screen
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(step()) << i;
    // The menu opens over it: the board is redrawn under the dialog, and with it the dialog.
    clickObject(EVENT_MENU);
    EXPECT_TRUE(step());
    EXPECT_FALSE(step());
    app.RemoveDialog(203);
    app.FlushDeferredDeletes();
    EXPECT_TRUE(step());
    // A splash fading in changes every few updates at first.
    gui().switchTo(SCREEN_ORLEND);
    int redraws = 0;
    for (int i = 0; i < 100; ++i) redraws += step() ? 1 : 0;
    EXPECT_GT(redraws, 5);
    EXPECT_LT(redraws, 100);
    manager->SetBackBuffer(nullptr);
}

TEST(TeamNameImageTest, NationsHaveTheirPlatesAndOthersShowItaly) {
    const int32_t large[] = {78, 79, 83, 81, 85, 82, 80, 84};
    const int32_t small[] = {88, 89, 93, 91, 95, 92, 90, 94};
    for (int id = 0; id < 8; ++id) {
        EXPECT_EQ(teamNameImage(id, true), large[id]) << id;
        EXPECT_EQ(teamNameImage(id, false), small[id]) << id;
    }
    EXPECT_EQ(teamNameImage(-1, true), 84);
    EXPECT_EQ(teamNameImage(42, false), 94);
}

}  // namespace
}  // namespace Kelvane
