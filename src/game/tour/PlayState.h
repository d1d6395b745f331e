// The one play state of a run: the profile and the game play that borrows it. Made on first use
// and kept until `release`, which the application calls on its way out so that nothing of it is
// left allocated at exit.
#pragma once

#include "game/save/Profile.h"
#include "game/tour/GamePlay.h"

namespace Kelvane {

class PlayState {
public:
    static PlayState& instance();
    // Deletes the play state; the next `instance` makes a fresh one.
    static void release();
    static bool exists();

    PlayState(const PlayState&) = delete;
    PlayState& operator=(const PlayState&) = delete;

    Profile profile;
    GamePlay gamePlay{profile};

private:
    PlayState() = default;
};

}  // namespace Kelvane
