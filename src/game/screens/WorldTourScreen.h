// The world tour map: one marker per stage (completed or still open), the next match's label,
// and the menu, shop, profile and next buttons. Next starts the match against the current
// stage's opponent, or leaves a completed tour.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "game/screens/Screen.h"

namespace Kelvane {

class WorldTourScreen : public Screen {
public:
    static constexpr int kStageCount = 46;

    ScreenObject* cover = nullptr;                                     // a fresh one on every visit
    std::array<std::pair<int32_t, int32_t>, kStageCount> mapPoints{};  // where each stage is drawn

    WorldTourScreen(GameApp& app, GUISystem& gui);

    void init() override;
    void enter() override;
    void onEvent(int32_t id, void* param) override;
    void deleteVisitObjects() override;
};

}  // namespace Kelvane
