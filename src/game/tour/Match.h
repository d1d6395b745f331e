// One match between two teams and its result once the goal system has written it.
#pragma once

namespace Kelvane {

struct Team;

struct Match {
    Match(Team* teamA, Team* teamB) : teamA(teamA), teamB(teamB) {}

    Team* teamA;  // borrowed from the play state
    Team* teamB;
    bool played = false;
    int scoreA = -1;  // -1 until the match has been played
    int scoreB = -1;
};

}  // namespace Kelvane
