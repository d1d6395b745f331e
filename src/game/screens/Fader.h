// Drives an alpha value through fade-in, hold and fade-out, one phase after the other, advancing
// only on the steps of its timer. Callers watch `fadingIn` and `fadingOut` to learn when a phase
// has ended.
#pragma once

#include <cstdint>
#include <memory>

#include "game/screens/StepTimer.h"

namespace Kelvane {

class Fader {
public:
    bool fadingIn = false;
    bool fadingOut = false;
    int32_t fadeInStep = 1;   // alpha added per step while fading in
    int32_t fadeOutStep = 1;  // alpha taken per step while fading out
    int32_t holding = 0;      // non-zero while holding
    int32_t holdSteps = 1;    // steps left to hold
    std::unique_ptr<StepTimer> timer;

    Fader();
    ~Fader();
    Fader(const Fader&) = delete;
    Fader& operator=(const Fader&) = delete;

    // Stores `interval` into the timer's interval and the rest into the fields of the same names.
    void configure(int32_t interval, bool fadeIn, int32_t fadeInStepValue, bool fadeOut,
                   int32_t fadeOutStepValue, bool hold, int32_t holdStepsValue);

    // The alpha after one update: unchanged unless the timer counts a step; then fading in adds
    // `fadeInStep` (255 and the end of the fade-in once it would pass 255), else holding counts
    // one step down, else fading out takes `fadeOutStep` (0 and the end of the fade-out once it
    // would pass 0).
    int32_t step(int32_t alpha);
};

}  // namespace Kelvane
