#pragma once
#include <cstddef>
#include <utility>

#include "frame/DemoFile.h"

namespace Zarvo {

// Hands out the events of a recording at the updates they were recorded at.
class DemoPlayer {
public:
    explicit DemoPlayer(DemoRecording recording) : recording_(std::move(recording)) {}

    const DemoHeader& Header() const { return recording_.header; }
    // Whether an event is due at `totalUpdates` (recorded at or before it) and not yet taken.
    bool HasDue(int totalUpdates) const {
        return next_ < recording_.events.size() && recording_.events[next_].update <= totalUpdates;
    }
    // Takes the next due event; false when none is due.
    bool TakeDue(int totalUpdates, DemoEvent& event) {
        if (!HasDue(totalUpdates)) return false;
        event = recording_.events[next_++];
        return true;
    }
    // The recording ends at `totalUpdates`: no further update may run.
    bool AtEnd(int totalUpdates) const { return totalUpdates >= recording_.header.endUpdate; }

private:
    DemoRecording recording_;
    size_t next_ = 0;
};

}  // namespace Zarvo
