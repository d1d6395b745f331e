#include "game/screens/TeamPickingScreen.h"

#include <cstdio>

#include "diagnostics/AllocationTracker.h"
#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "game/screens/GUISystem.h"
#include "game/screens/ScreenIds.h"
#include "game/screens/TeamNameImage.h"
#include "game/tour/PlayState.h"

namespace Kelvane {

TeamPickingScreen::TeamPickingScreen(GameApp& app, GUISystem& gui) : Screen(app, gui) {}

void TeamPickingScreen::init() {
    setBackgroundImage(Res::IMAGE_TEAM_PICKING_SCREEN_BACKGROUND);
    nextButton = addPermanent(makeButton(500, 420, Res::IMAGE_NEXT_BUTTON, EVENT_NEXT));
    setShown(nextButton, false);
    addPermanent(makeButton(50, 420, Res::IMAGE_BACK_BUTTON, EVENT_BACK));
    selectedTeam = nullptr;
}

void TeamPickingScreen::enter() {
    teamRows.clear();
    selectedTeam = nullptr;

    float y = kFirstLabelY;
    std::vector<Team*> nations;
    for (const auto& team : PlayState::instance().gamePlay.nations()) nations.push_back(team.get());
    for (Team* team : nations) {
        ScreenObject* row =
            addVisit(makeButton(100, y - 25, Res::IMAGE_TEAM_PICK_BACKGROUND, EVENT_TEAM_ROW));
        row->param = team;

        char text[160];
        std::snprintf(text, sizeof text, "%s ( starting points -   %d)", team->name.c_str(),
                      team->startingPoints);
        ScreenObject* label = addVisit(KNEW ScreenObject());
        label->x = 160;
        label->y = y;
        label->setText(text, Res::FONT_ROCKWELLEXTRABOLD12);
        label->textColor = Zarvo::Color(0, 0, 0, 255);
        label->id = EVENT_TEAM_ROW;
        label->param = team;

        teamRows.push_back(row);
        teamRows.push_back(label);
        y += kRowSpacing;
    }
    setShown(nextButton, false);
    addVisit(makeButton(200, 400, Res::IMAGE_CHOSEN_TEAM_TEXT, OBJECT_COVER));
    chosenTeamLabel = addVisit(makeButton(300, 400, Res::IMAGE_CHOOSE_TEAM_TEXT, OBJECT_COVER));
}

void TeamPickingScreen::deleteVisitObjects() {
    Screen::deleteVisitObjects();
    teamRows.clear();
    chosenTeamLabel = nullptr;
}

void TeamPickingScreen::onEvent(int32_t id, void* param) {
    GamePlay& play = PlayState::instance().gamePlay;
    switch (id) {
        case EVENT_TEAM_ROW: {
            auto* team = static_cast<Team*>(param);
            if (team == nullptr) break;
            if (chosenTeamLabel) chosenTeamLabel->setImage(teamNameImage(team->id, true));
            selectedTeam = team;
            setShown(nextButton, true);
            // Only the rows show it: the labels have no image to show.
            for (ScreenObject* object : teamRows) {
                const auto* rowTeam = static_cast<const Team*>(object->param);
                object->imageId = rowTeam && rowTeam->id == selectedTeam->id
                                      ? Res::IMAGE_TEAM_PICKED_BACKGROUND
                                      : Res::IMAGE_TEAM_PICK_BACKGROUND;
            }
            break;
        }
        case EVENT_NEXT:
            if (selectedTeam == nullptr) break;
            PlayState::instance().profile.setTeam(selectedTeam);
            gui.switchTo(SCREEN_WORLD_TOUR);
            break;
        case EVENT_BACK:
            if (play.mode() == GameMode::WorldTour) play.discardPlay();
            selectedTeam = nullptr;
            gui.switchTo(SCREEN_GAME_TYPE);
            break;
        default:
            break;
    }
}

}  // namespace Kelvane
