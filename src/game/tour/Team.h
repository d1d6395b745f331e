// One team record: a nation the player can play, or an opponent of the world tour.
#pragma once

#include <string>
#include <utility>

namespace Kelvane {

struct Team {
    // The id of every tour opponent: it is no nation and never the player's side.
    static constexpr int kNoNation = -1;
    // Updates per step of the opponent bar when a nation is the computer's side.
    static constexpr int kNationOpponentPeriod = 10;

    Team(int id, std::string name, int startingPoints, int opponentPeriod)
        : id(id),
          name(std::move(name)),
          startingPoints(startingPoints),
          opponentPeriod(opponentPeriod) {}

    int id;              // nation number 0..7, kNoNation for tour opponents
    std::string name;    // shown in the match header and the dialogs
    int startingPoints;  // nations only: the total points a profile gets with this team
    int opponentPeriod;  // a smaller period is a faster, harder opponent
};

}  // namespace Kelvane
