#pragma once

#include <vector>

namespace Zarvo {

// How the cels of an image are played as an animation.
class AnimInfo {
public:
    enum AnimType { AnimNone = 0, AnimOnce = 1, AnimPingPong = 2, AnimLoop = 3 };

    int animType = AnimNone;
    int frameDelay = 1;              // default delay of each frame, milliseconds
    int numCels = 1;                 // frames in the animation
    std::vector<int> perFrameDelay;  // empty: every frame uses frameDelay
    std::vector<int> frameMap;       // cel index per frame; empty: 0, 1, 2, ...
    int totalAnimTime = 0;           // sum of all frame delays, held at INT_MAX

    // Normalises the description for `cels` cels: builds the ping-pong frame map, applies the
    // delays of the first and last frame (when > 0) and computes the total time; a total beyond
    // the int range (absurd delays in a manifest) is held at INT_MAX.
    void Compute(int cels, int beginFrameDelay = 0, int endFrameDelay = 0);

    // The cel shown as frame `frame` (through the frame map when there is one).
    int GetCelForFrame(int frame) const;
};

}  // namespace Zarvo
