#include "game/screens/StepTimer.h"

namespace Kelvane {

bool StepTimer::tick() {
    if (done) return true;
    if (counter <= interval) {
        ++counter;
        return false;
    }
    if (countDown) {
        --value;
        if (value < 1) done = true;
    } else {
        ++value;
        if (value >= limit) done = true;
    }
    counter = 1;
    return true;
}

}  // namespace Kelvane
