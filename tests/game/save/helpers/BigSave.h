// Two large, different world tour saves, built the same way by the test and by the writer it
// kills, so that the test knows every content the save may hold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/Buffer.h"
#include "game/save/Profile.h"
#include "game/save/SaveRecord.h"
#include "game/tour/GamePlay.h"

namespace Kelvane::testing {

// A tour and a profile with the world tour chosen.
struct BigPlay {
    Profile profile;
    GamePlay gamePlay{profile};

    // Save number `which` (0 or 1): its own team, stage and points, and text fields as long as
    // a save can hold, filled with its own letter.
    explicit BigPlay(int which) {
        gamePlay.startWorldTour();
        profile.setTeam(gamePlay.findNation(which == 0 ? 1 : 6));
        gamePlay.restoreTourPosition(which == 0 ? 3 : 17, false, false);
        for (std::string& text : profile.textFields) text.assign(32767, which == 0 ? 'a' : 'b');
        profile.totalPoints = which == 0 ? 1111 : 2222;
    }

    std::vector<uint8_t> bytes() const {
        Zarvo::Buffer buffer;
        SaveRecord::fromPlay(gamePlay, profile).write(buffer);
        return buffer.Bytes();
    }
};

}  // namespace Kelvane::testing
