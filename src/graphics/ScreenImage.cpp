#include "graphics/ScreenImage.h"

#include <algorithm>
#include <cstring>

namespace Zarvo {

ScreenImage::ScreenImage() : MemoryImage() {
    SetImageMode(false, false);
}

ScreenImage::ScreenImage(MemoryImageHost* imageHost) : MemoryImage(imageHost) {
    SetImageMode(false, false);
}

ScreenImage::ScreenImage(uint32_t* pixels, int w, int h, int pitchBytes, MemoryImageHost* imageHost)
    : MemoryImage(imageHost) {
    SetImageMode(false, false);
    SetBuffer(pixels, w, h, pitchBytes);
}

ScreenImage::~ScreenImage() = default;

void ScreenImage::SetBuffer(uint32_t* pixels, int w, int h, int pitchBytes) {
    const bool valid = pixels && w > 0 && h > 0 && pitchBytes % 4 == 0 && pitchBytes / 4 >= w;
    FreeBits();
    colorTable.reset();
    colorIndices.reset();
    externalBits = valid ? pixels : nullptr;
    width = valid ? w : 0;
    height = valid ? h : 0;
    pitch = valid ? pitchBytes / 4 : 0;
    BitsChanged();
}

void ScreenImage::Create(int w, int h) {
    // The size is the back-end's: a screen image is never resized by its users.
    (void)w, (void)h;
    BitsChanged();
}

void ScreenImage::SetBits(const uint32_t* pixels, int w, int h, bool commit) {
    if (!externalBits || !pixels || pixels == externalBits) return;
    WritePendingFill();  // the copy may cover only part of the buffer
    const int copyW = std::min(w, width);
    const int copyH = std::min(h, height);
    for (int y = 0; y < copyH; ++y) {
        std::memcpy(externalBits + size_t(y) * size_t(pitch), pixels + size_t(y) * size_t(w),
                    size_t(std::max(0, copyW)) * 4);
    }
    BitsChanged();
    if (commit) CommitBits();
}

void ScreenImage::Clear() {
    fillPending = false;
    if (externalBits) {
        for (int y = 0; y < height; ++y) {
            std::fill_n(externalBits + size_t(y) * size_t(pitch), width, 0u);
        }
    }
    BitsChanged();
}

void ScreenImage::PurgeBits() {}

void ScreenImage::DeleteSWBuffers() {
    nativeAlphaData.reset();
    rlAlphaData.reset();
    rlAdditiveData.reset();
}

bool ScreenImage::Palletize() {
    return false;
}

}  // namespace Zarvo
