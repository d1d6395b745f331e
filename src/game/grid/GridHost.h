// What the piece grid needs from its surroundings: the screen's event channel, the framework's
// random generator and the cel layout of the images. The match screen supplies the first two;
// tests supply a recorder, a seeded generator and a fixed cel table, so the grid runs without a
// window or data files.
#pragma once

#include <cstdint>

namespace Kelvane {

class GridHost {
public:
    virtual ~GridHost() = default;
    // Delivers a screen event to the current screen.
    virtual void sendEvent(int id, void* param) = 0;
    // The next value of the framework's random generator (31 bits).
    virtual uint32_t randomValue() = 0;
    // The number of cel columns of the image bound to this resource id; 1 while none is bound.
    virtual int celColumns(int imageId);
};

}  // namespace Kelvane
