#pragma once

#include <cstdint>
#include <string>

#include "graphics/AnimInfo.h"
#include "graphics/SharedImageRef.h"
#include "resources/BaseRes.h"

namespace Zarvo {

// An image of the manifest with its loading options.
class ImageRes : public BaseRes {
public:
    ImageRes() : BaseRes(ResType_Image) {}
    void DeleteResource() override { image.Release(); }

    SharedImageRef image;  // empty until loaded
    std::string alphaImage;
    std::string alphaGridImage;
    std::string variant;
    bool autoFindAlpha = true;
    bool palletize = true;
    bool a4r4g4b4 = false;
    bool a8r8g8b8 = false;
    bool minSubdivide = false;
    bool ddSurface = false;
    bool purgeBits = false;    // "nobits"
    bool purgeBits3D = false;  // "nobits3d"
    bool purgeBits2D = false;  // "nobits2d"
    uint32_t alphaColor = 0xFFFFFF;
    int rows = 1;
    int cols = 1;
    AnimInfo animInfo;
};

}  // namespace Zarvo
