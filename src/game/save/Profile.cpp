#include "game/save/Profile.h"

#include "game/tour/Team.h"

namespace Kelvane {

void Profile::setTeam(Team* nation) {
    team = nation;
    if (nation != nullptr) totalPoints = nation->startingPoints;
}

}  // namespace Kelvane
