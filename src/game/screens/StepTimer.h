// A step counter paced by update calls: `tick` is called once per update and answers true on the
// calls that count one step. Used by the fader of every screen object and by the match clock.
#pragma once

#include <cstdint>

namespace Kelvane {

class StepTimer {
public:
    int32_t counter = 0;     // calls since the last step
    int32_t interval = 100;  // a step comes after more than this many calls
    int32_t value = 0;       // the steps counted (up or down)
    int32_t limit = 10;      // counting up is done once value reaches this
    int32_t fullValue = 0;   // not used by the timer; the match clock keeps its full value here
    bool countDown = false;  // count value down to 1 instead of up to limit
    bool done = false;       // once set, every call is a step

    // One update's worth of pacing. Counting up with the defaults, the first ten steps are
    // `interval` + 1 calls apart and every call after the tenth step is a step.
    bool tick();
};

}  // namespace Kelvane
