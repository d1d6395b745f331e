// The player's profile: the nation played, the points and the power-ups. One exists per run; the
// save game stores and restores it.
#pragma once

#include <array>
#include <string>

namespace Kelvane {

struct Team;

struct Profile {
    // The player's nation becomes `nation` and the total points its starting points, whatever
    // the profile held before. A null team only clears the team.
    void setTeam(Team* nation);

    Team* team = nullptr;  // borrowed: one of the play state's nations, or null
    // Free texts carried by the save game and nothing else.
    std::array<std::string, 4> textFields{" ", " ", " ", " "};
    int totalPoints = 0;
    int lastMatchPoints = 0;
    // Power-ups held.
    int redCards = 0;
    int yellowCards = 0;
    int offsideFlags = 0;
    int injuries = 0;
    // What was left in each power-up meter at the end of the last match, in percent.
    int injuryFill = 0;
    int redCardFill = 0;
    int yellowCardFill = 0;
    int offsideFill = 0;
};

}  // namespace Kelvane
