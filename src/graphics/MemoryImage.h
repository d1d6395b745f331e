#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "graphics/Image.h"
#include "platform/AlignedBuffer.h"
#include "platform/NativeDisplay.h"

namespace Zarvo {

class MemoryImageHost;

// An image held in main memory as 32-bit 0xAARRGGBB pixels (not premultiplied, rows top to
// bottom), with software versions of every drawing operation. The pixels exist as 32-bit
// pixels, as a palette (256-entry table plus one index byte per pixel) or only as the display
// form after a purge; `GetBits` always restores the 32-bit form. Derived buffers (display
// form, run-length tables) are built on first use and dropped by `BitsChanged`.
class MemoryImage : public Image {
public:
    static constexpr uint32_t kGuardWord = 0x4BEEFADE;  // written after the last pixel
    // Bits of hwFlags, from the resource manifest's texture hints.
    static constexpr int kHwFlagMinSubdivide = 1;
    static constexpr int kHwFlagA4R4G4B4 = 4;
    static constexpr int kHwFlagA8R8G8B8 = 8;

    AlignedWords bits;  // width x height + 1 words, guard word last
    int bitsChangedCount = 0;
    void* hwData = nullptr;                  // texture data of a hardware back-end (not owned here)
    int hwFlags = 0;                         // kHwFlag bits: texture hints for a hardware back-end
    std::unique_ptr<uint32_t[]> colorTable;  // palette form: 256 entries
    std::unique_ptr<uint8_t[]> colorIndices;  // palette form: width x height indices
    bool forcedMode = false;                  // the transparency flags were set by hand
    bool hasTrans = false;                    // some pixel has alpha 0
    bool hasAlpha = false;                    // some pixel has alpha strictly between 0 and 255
    bool isVolatile = false;
    bool purgeBits = false;
    bool wantPal = false;
    AlignedWords nativeAlphaData;               // premultiplied display-format copy
    std::unique_ptr<uint8_t[]> rlAlphaData;     // run lengths by alpha class
    std::unique_ptr<uint8_t[]> rlAdditiveData;  // run lengths by zero / non-zero colour
    AlignedWords paletteExpansion;              // palette form as 32-bit pixels, to draw from
    AlignedWords blendForm;                     // see GetBlendForm
    bool blendFormAsked = false;   // GetBlendForm was asked since the pixels last changed
    bool bitsChangedFlag = false;  // pixels changed since the flags were last computed
    MemoryImageHost* host = nullptr;

    // Registers with the default host (if one is set).
    MemoryImage();
    // Registers with `host` (may be null: the image then belongs to no application).
    explicit MemoryImage(MemoryImageHost* host);
    // Copies pixels, palette, derived buffers and flags (not the texture), and registers.
    MemoryImage(const MemoryImage& other);
    MemoryImage& operator=(const MemoryImage&) = delete;
    ~MemoryImage() override;

    MemoryImage* AsMemoryImage() override { return this; }

    // The host that images made with the default constructor register with.
    static void SetDefaultHost(MemoryImageHost* host);
    static MemoryImageHost* GetDefaultHost();

    // 512 entries, entry i = min(i, 255): saturating addition of two channels.
    static const uint8_t* GetSaturationTable();

    // Number of words in a buffer of width x height pixels plus the guard word. A size that
    // does not fit in 32 bits of bytes yields SIZE_MAX, which no allocation satisfies.
    static size_t GuardedPixelCount(int w, int h);

    // Pixels between the starts of two rows of the buffer `GetBits` returns.
    int GetPitch() const { return pitch; }

    // Drawing (rectangles arrive clipped; every operation ends with `BitsChanged`).
    void FillRect(const Rect& rect, const Color& color, int drawMode) override;
    void ClearRect(const Rect& rect) override;
    void DrawLine(double startX, double startY, double endX, double endY, const Color& color,
                  int drawMode) override;
    void DrawLineAA(double startX, double startY, double endX, double endY, const Color& color,
                    int drawMode) override;
    void Blt(Image* image, int x, int y, const Rect& srcRect, const Color& color,
             int drawMode) override;
    void BltF(Image* image, float x, float y, const Rect& srcRect, const Rect& clipRect,
              const Color& color, int drawMode) override;
    void BltRotated(Image* image, float x, float y, const Rect& srcRect, const Rect& clipRect,
                    const Color& color, int drawMode, double rot, float rotCenterX,
                    float rotCenterY) override;
    void StretchBlt(Image* image, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                    const Color& color, int drawMode, bool fastStretch) override;
    void BltMatrix(Image* image, float x, float y, const float* matrix, const Rect& clipRect,
                   const Color& color, int drawMode, const Rect& srcRect, bool blend) override;
    void BltTrianglesTex(Image* texture, const TriVertex* vertices, int numTriangles,
                         const Rect& clipRect, const Color& color, int drawMode, float tx, float ty,
                         bool blend) override;
    void BltMirror(Image* image, int x, int y, const Rect& srcRect, const Color& color,
                   int drawMode) override;
    void StretchBltMirror(Image* image, const Rect& destRect, const Rect& srcRect,
                          const Rect& clipRect, const Color& color, int drawMode,
                          bool fastStretch) override;

    // Premultiplied copy in the display's format (null: 32-bit), one word per pixel or per
    // palette entry. Null when the image has no pixels.
    virtual uint32_t* GetNativeAlphaData(const NativeDisplay* display);
    // One byte per pixel: how many pixels from here on (up to 255) in the row share its alpha
    // class (0, 255, between). Null when the image has no pixels.
    virtual uint8_t* GetRLAlphaData();
    // The same, classing pixels by whether their premultiplied colour is zero.
    virtual uint8_t* GetRLAdditiveData(const NativeDisplay* display);
    // The palette form as 32-bit pixels (row pitch = width), made on first use and kept until
    // the pixels change: drawing reads a palettized image through it instead of looking every
    // pixel up. Null for an image not in palette form, or when it cannot be allocated.
    const uint32_t* GetPaletteExpansion();
    // The pixels in blend form (see PixelKernels::MakeBlendForm): the blue-red plane, then the
    // green-weight plane, each width x height words with row pitch = width. Blits onto an opaque
    // destination draw from it when the kernels of this processor can. It is made when asked for
    // a second time with the same pixels (an image redrawn after every change would pay for it
    // and gain nothing) and kept until the pixels change. Null before that, when the image has
    // no pixels, when it is too large to be worth the memory, or when it cannot be allocated.
    const uint32_t* GetBlendForm();
    virtual void PurgeBits();
    virtual void DeleteSWBuffers();
    virtual void Delete3DBuffers();
    virtual void DeleteExtraBuffers();
    virtual void ReInit();
    virtual void BitsChanged();
    virtual void CommitBits();
    virtual void DeleteNativeData();
    virtual void Clear();
    // Copies w x h pixels; nothing when `pixels` is this image's own buffer.
    virtual void SetBits(const uint32_t* pixels, int w, int h, bool commit = true);
    // Frees the pixels and sets the size; the next `GetBits` makes w x h pixels of 0.
    virtual void Create(int w, int h);
    // The 32-bit pixels, made on demand. Null when the size cannot be allocated; the image
    // then draws and is drawn as empty.
    virtual uint32_t* GetBits();
    // Writes out a deferred whole-image fill (see FillRect). `GetBits` does this itself; whoever
    // reads the pixels some other way (the display presenting its buffer) calls this first.
    void WritePendingFill();
    virtual void SetImageMode(bool hasTransparency, bool hasAlphaChannel);
    virtual void SetVolatile(bool isVolatileImage);
    // Converts to palette form; fails (keeping the pixels) with more than 256 distinct pixels.
    virtual bool Palletize();

protected:
    int pitch = 0;                     // row pitch of the buffer GetBits returns, in pixels
    uint32_t* externalBits = nullptr;  // pixels owned by someone else (the screen), if set
    NativeDisplay nativeFormat;        // the format the display form was last built in
    // An opaque fill of the whole image not yet written: a frame usually starts with one and then
    // covers it with its background, which then composites over the colour without reading it.
    bool fillPending = false;
    uint32_t pendingFill = 0;

    // Allocates the pixel buffer for the current size (guard word set). False if too large.
    bool AllocateBits();
    void FreeBits();

private:
    void FillRectOpaque(uint32_t* dst, int dstPitch, const Rect& rect, uint32_t packed);
    void FillRectBlend(uint32_t* dst, int dstPitch, const Rect& rect, uint32_t packed);
    void BltNormal(MemoryImage* src, int x, int y, const Rect& srcRect, const Color& color);
    void BltAdditive(MemoryImage* src, int x, int y, const Rect& srcRect, const Color& color);
    void StretchBltFast(MemoryImage* src, const Rect& clipped, double srcX, double srcY,
                        double srcW, double srcH, const Rect& destRect);
    void StretchBltFiltered(MemoryImage* src, const Rect& clipped, double srcX, double srcY,
                            double srcW, double srcH);
    void BuildRunLengths(uint8_t* out, const uint32_t* data, int dataPitch, bool byColor) const;
};

}  // namespace Zarvo
