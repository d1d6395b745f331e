// One stage of the world tour: an opponent to beat, linked to the stage after it.
#pragma once

#include <memory>

#include "game/tour/Team.h"

namespace Kelvane {

class ScreenObject;

struct TourStage {
    TourStage(int index, std::unique_ptr<Team> opponent)
        : opponent(std::move(opponent)), index(index) {}

    ScreenObject* mapObject = nullptr;  // the marker on the tour map; written by the map screen
    bool completed = false;
    std::unique_ptr<Team> opponent;
    TourStage* next = nullptr;  // the stages form a ring: the last one leads back to the first
    int index;                  // 0..45, the position in the tour
};

}  // namespace Kelvane
