#include "graphics/AnimInfo.h"

#include <algorithm>
#include <climits>
#include <cstddef>

namespace Zarvo {

void AnimInfo::Compute(int cels, int beginFrameDelay, int endFrameDelay) {
    numCels = cels <= 0 ? 1 : cels;
    if (frameDelay <= 0) frameDelay = 1;

    if (animType == AnimPingPong && numCels > 1) {
        frameMap.clear();
        for (int i = 0; i < numCels; ++i) frameMap.push_back(i);
        for (int i = numCels - 2; i >= 1; --i) frameMap.push_back(i);
    }
    if (!frameMap.empty()) numCels = int(frameMap.size());

    if (beginFrameDelay > 0) {
        if (perFrameDelay.empty()) perFrameDelay.resize(1, 0);
        perFrameDelay[0] = beginFrameDelay;
    }
    if (endFrameDelay > 0) {
        if (perFrameDelay.size() < size_t(numCels)) perFrameDelay.resize(size_t(numCels), 0);
        perFrameDelay[size_t(numCels) - 1] = endFrameDelay;
    }

    if (!perFrameDelay.empty()) {
        perFrameDelay.resize(size_t(numCels), 0);
        for (int& delay : perFrameDelay) {
            if (delay < 1) delay = frameDelay;
        }
        long long total = 0;
        for (int delay : perFrameDelay) total = std::min<long long>(total + delay, INT_MAX);
        totalAnimTime = static_cast<int>(total);
    } else {
        totalAnimTime = static_cast<int>(
            std::min<long long>(static_cast<long long>(numCels) * frameDelay, INT_MAX));
    }
}

int AnimInfo::GetCelForFrame(int frame) const {
    if (frameMap.empty()) return frame;
    if (frame < 0 || size_t(frame) >= frameMap.size()) return 0;
    return frameMap[size_t(frame)];
}

}  // namespace Zarvo
