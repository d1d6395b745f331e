#pragma once

#include <cstdint>

#include "graphics/MemoryImage.h"

namespace Zarvo {

// The back buffer of the display back-end as a drawing target: a memory image whose pixels
// live in a 0xAARRGGBB buffer owned by the back-end (pointer, size and row pitch). The image
// never frees or reallocates that buffer; operations that would (palette form, purging,
// resizing) leave it alone.
class ScreenImage : public MemoryImage {
public:
    ScreenImage();
    explicit ScreenImage(MemoryImageHost* host);
    // Draws into `pixels` (see SetBuffer).
    ScreenImage(uint32_t* pixels, int w, int h, int pitchBytes, MemoryImageHost* host = nullptr);
    ScreenImage(const ScreenImage&) = delete;
    ScreenImage& operator=(const ScreenImage&) = delete;
    ~ScreenImage() override;

    // Points the image at a new buffer; `pitchBytes` is the distance between rows in bytes
    // (a multiple of 4, at least width x 4). A null buffer or bad pitch makes the image empty.
    void SetBuffer(uint32_t* pixels, int w, int h, int pitchBytes);
    uint32_t* GetBuffer() const { return externalBits; }

    void Create(int w, int h) override;
    void SetBits(const uint32_t* pixels, int w, int h, bool commit = true) override;
    void Clear() override;
    void PurgeBits() override;
    void DeleteSWBuffers() override;
    bool Palletize() override;
};

}  // namespace Zarvo
