#include "game/tour/PlayState.h"

#include "diagnostics/AllocationTracker.h"

namespace Kelvane {
namespace {
PlayState* gPlayState = nullptr;
}  // namespace

PlayState& PlayState::instance() {
    if (gPlayState == nullptr) gPlayState = KNEW PlayState();
    return *gPlayState;
}

void PlayState::release() {
    delete gPlayState;
    gPlayState = nullptr;
}

bool PlayState::exists() {
    return gPlayState != nullptr;
}

}  // namespace Kelvane
