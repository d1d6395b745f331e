// The match screen's banners: "ready", "go" and "time up" slide in from the left, hold, and
// disappear. The ready banner is followed at once by the go banner; the end of the go banner
// and of the time-up banner is reported to the current screen (events 36 and 37).
#pragma once

#include <cstdint>
#include <memory>

#include "game/screens/ScreenObject.h"

namespace Kelvane {

class GUISystem;

class MessageSystem {
public:
    static constexpr float kHiddenX = -490.0f;  // where a banner waits off screen
    static constexpr float kY = 49.0f;
    static constexpr float kShownX = 129.0f;  // a banner slides while its x is below this
    static constexpr float kSlideStep = 4.0f;
    static constexpr int32_t kHoldUpdates =
        200;  // a banner leaves once its hold count exceeds this
    static constexpr int32_t kBannerId = 28;

    std::unique_ptr<ScreenObject> banner;
    bool active = false;
    int32_t holdCount = 0;

    explicit MessageSystem(GUISystem& gui);
    ~MessageSystem();
    MessageSystem(const MessageSystem&) = delete;
    MessageSystem& operator=(const MessageSystem&) = delete;

    // A fresh, hidden banner sized after the ready banner (every banner keeps that size).
    void create();
    // Starts showing banner image `imageId`. Nothing before `create`.
    void show(int32_t imageId);
    // One update tick: slide in, then hold, then hide and report or follow on.
    void step();
    void addToDrawList(DrawList& list);
    // Deletes the banner (the screen is left).
    void destroy();

private:
    GUISystem& gui;
};

}  // namespace Kelvane
