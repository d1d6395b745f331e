#include "game/screens/Fader.h"

#include "diagnostics/AllocationTracker.h"

namespace Kelvane {

Fader::Fader() : timer(KNEW StepTimer()) {}

Fader::~Fader() = default;

void Fader::configure(int32_t interval, bool fadeIn, int32_t fadeInStepValue, bool fadeOut,
                      int32_t fadeOutStepValue, bool hold, int32_t holdStepsValue) {
    timer->interval = interval;
    fadingIn = fadeIn;
    fadeInStep = fadeInStepValue;
    fadingOut = fadeOut;
    fadeOutStep = fadeOutStepValue;
    holding = hold ? 1 : 0;
    holdSteps = holdStepsValue;
}

int32_t Fader::step(int32_t alpha) {
    if (!timer->tick()) return alpha;
    if (fadingIn) {
        alpha += fadeInStep;
        if (alpha >= 256) {
            fadingIn = false;
            return 255;
        }
    } else if (holding) {
        --holdSteps;
        if (holdSteps <= 0) holding = 0;
    } else if (fadingOut) {
        alpha -= fadeOutStep;
        if (alpha < 0) {
            fadingOut = false;
            return 0;
        }
    }
    return alpha;
}

}  // namespace Kelvane
