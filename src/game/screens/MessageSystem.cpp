#include "game/screens/MessageSystem.h"

#include "diagnostics/AllocationTracker.h"
#include "game/ResourceIds.h"
#include "game/screens/GUISystem.h"
#include "game/screens/ScreenIds.h"

namespace Kelvane {

MessageSystem::MessageSystem(GUISystem& switcher) : gui(switcher) {}

MessageSystem::~MessageSystem() = default;

void MessageSystem::create() {
    banner.reset(KNEW ScreenObject());
    banner->x = kHiddenX;
    banner->y = kY;
    banner->setImage(Res::IMAGE_READY_MESSAGE);
    banner->hasImage = false;
    banner->id = kBannerId;
    active = false;
    holdCount = 0;
}

void MessageSystem::show(int32_t imageId) {
    if (!banner) return;
    active = true;
    banner->imageId = imageId;
    banner->hasImage = true;
}

void MessageSystem::step() {
    if (!active || !banner) return;
    if (banner->x < kShownX) {
        banner->x += kSlideStep;
        return;
    }
    if (++holdCount <= kHoldUpdates) return;
    holdCount = 0;
    banner->x = kHiddenX;
    banner->y = kY;
    banner->hasImage = false;
    active = false;
    switch (banner->imageId) {
        case Res::IMAGE_READY_MESSAGE:
            show(Res::IMAGE_GO_MESSAGE);
            break;
        case Res::IMAGE_TIME_UP_MESSAGE:
            gui.sendEvent(EVENT_TIME_UP_DONE, nullptr);
            break;
        case Res::IMAGE_GO_MESSAGE:
            gui.sendEvent(EVENT_GO_DONE, nullptr);
            break;
        default:
            break;
    }
}

void MessageSystem::addToDrawList(DrawList& list) {
    if (banner) banner->addToDrawList(list);
}

void MessageSystem::destroy() {
    banner.reset();
    active = false;
    holdCount = 0;
}

}  // namespace Kelvane
