// A raw decoded image as the image readers return it: width x height pixels 0xAARRGGBB, rows
// from the top. Owned by the caller, who usually turns it into a MemoryImage at once.
#pragma once

#include <cstdint>
#include <memory>

namespace Zarvo {

struct DecodedImage {
    // The largest image the readers decode (4096 x 4096 pixels, 64 MiB). A file that claims
    // more is treated as damaged: a few bytes of hostile input never cost more memory.
    static constexpr int64_t kMaxPixels = int64_t(1) << 24;

    int width = 0;
    int height = 0;
    std::unique_ptr<uint32_t[]> bits;

    // An image of w x h pixels (contents not set); null when a side is not positive or the
    // pixel count exceeds kMaxPixels.
    static std::unique_ptr<DecodedImage> Create(int64_t w, int64_t h) {
        if (w <= 0 || h <= 0 || w > kMaxPixels || h > kMaxPixels || w * h > kMaxPixels) {
            return nullptr;
        }
        auto image = std::make_unique<DecodedImage>();
        image->width = static_cast<int>(w);
        image->height = static_cast<int>(h);
        image->bits.reset(new uint32_t[static_cast<size_t>(w * h)]);
        return image;
    }
};

}  // namespace Zarvo
