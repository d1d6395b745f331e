// Where the player picks a nation for the world tour: one row per nation with its starting
// points; next (shown once a nation is chosen) goes on to the tour map, back leaves the tour.
#pragma once

#include <vector>

#include "game/screens/Screen.h"

namespace Kelvane {

struct Team;

class TeamPickingScreen : public Screen {
public:
    static constexpr float kFirstLabelY = 140;  // a row's label baseline; the row starts 25 above
    static constexpr float kRowSpacing = 35;

    ScreenObject* nextButton = nullptr;
    ScreenObject* chosenTeamLabel = nullptr;
    Team* selectedTeam = nullptr;         // one of the play state's nations; null until chosen
    std::vector<ScreenObject*> teamRows;  // rows and labels of this visit

    TeamPickingScreen(GameApp& app, GUISystem& gui);

    void init() override;
    void enter() override;
    void onEvent(int32_t id, void* param) override;
    void deleteVisitObjects() override;
};

}  // namespace Kelvane
