// Where the match components send their screen events. The match screen hands its components
// a sink that forwards to the screen switcher, so the events reach the current screen; tests
// hand them a recorder.
#pragma once

#include <cstdint>

namespace Kelvane {

class EventSink {
public:
    virtual ~EventSink() = default;
    // Delivers event `id` with `param` to the current screen.
    virtual void sendEvent(int32_t id, void* param) = 0;
};

}  // namespace Kelvane
