#pragma once

#include <memory>
#include <string>

#include "graphics/AnimInfo.h"
#include "graphics/Color.h"
#include "graphics/Rect.h"

namespace Zarvo {

class MemoryImage;

// The abstract drawing target and drawing source. The base versions of the drawing operations
// draw nothing; `MemoryImage` does the pixel work in software. Rectangles and points handed to
// these operations are already translated and clipped by the drawing context.
class Image {
public:
    // A horizontal span of one row, for `FillScanLines`.
    struct Span {
        int y = 0;
        int x = 0;
        int width = 0;
    };

    struct Point {
        int x = 0;
        int y = 0;
    };

    // A vertex of a textured triangle: position, texture coordinates and a packed colour.
    struct TriVertex {
        float x = 0, y = 0, u = 0, v = 0;
        uint32_t color = 0xFFFFFFFF;
    };

    bool drawn = false;    // set whenever the image is used as a blit source
    std::string filePath;  // where it was loaded from
    int width = 0;
    int height = 0;
    int rows = 1;  // the image is a grid of rows x columns equal cels
    int columns = 1;
    std::unique_ptr<AnimInfo> animInfo;  // present for animated images

    Image();
    Image(const Image& other);
    Image& operator=(const Image& other);
    virtual ~Image();

    // The image as a memory image, or null: what a blit needs to know of its source, without
    // a dynamic_cast on every one of a frame's hundred draws.
    virtual MemoryImage* AsMemoryImage() { return nullptr; }

    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int GetCelWidth() const { return columns > 0 ? width / columns : width; }
    int GetCelHeight() const { return rows > 0 ? height / rows : height; }
    // The source rectangle of cel `cel` (column = cel mod columns, row = cel / columns).
    Rect GetCelRect(int cel) const;
    Rect GetCelRect(int column, int row) const;

    virtual bool PolyFill3D(const Point* vertices, int count, const Rect* clip, const Color& color,
                            int drawMode, int tx, int ty, bool convex);
    virtual void FillRect(const Rect& rect, const Color& color, int drawMode);
    // Outlines (x, y, w + 1, h + 1) with four fills.
    virtual void DrawRect(const Rect& rect, const Color& color, int drawMode);
    virtual void ClearRect(const Rect& rect);
    virtual void DrawLine(double startX, double startY, double endX, double endY,
                          const Color& color, int drawMode);
    virtual void DrawLineAA(double startX, double startY, double endX, double endY,
                            const Color& color, int drawMode);
    // Fills each span (y, x, width) as the rectangle (x, y, width, 1).
    virtual void FillScanLines(const Span* spans, int count, const Color& color, int drawMode);
    virtual void FillScanLinesWithCoverage(const Span* spans, int count, const Color& color,
                                           int drawMode, const uint8_t* coverage, int coverX,
                                           int coverY, int coverWidth, int coverHeight);
    virtual void Blt(Image* image, int x, int y, const Rect& srcRect, const Color& color,
                     int drawMode);
    virtual void BltF(Image* image, float x, float y, const Rect& srcRect, const Rect& clipRect,
                      const Color& color, int drawMode);
    virtual void BltRotated(Image* image, float x, float y, const Rect& srcRect,
                            const Rect& clipRect, const Color& color, int drawMode, double rot,
                            float rotCenterX, float rotCenterY);
    virtual void StretchBlt(Image* image, const Rect& destRect, const Rect& srcRect,
                            const Rect& clipRect, const Color& color, int drawMode,
                            bool fastStretch);
    // `matrix` is a row-major 3 x 3 transform.
    virtual void BltMatrix(Image* image, float x, float y, const float* matrix,
                           const Rect& clipRect, const Color& color, int drawMode,
                           const Rect& srcRect, bool blend);
    // `vertices` holds three vertices per triangle.
    virtual void BltTrianglesTex(Image* texture, const TriVertex* vertices, int numTriangles,
                                 const Rect& clipRect, const Color& color, int drawMode, float tx,
                                 float ty, bool blend);
    virtual void BltMirror(Image* image, int x, int y, const Rect& srcRect, const Color& color,
                           int drawMode);
    virtual void StretchBltMirror(Image* image, const Rect& destRect, const Rect& srcRect,
                                  const Rect& clipRect, const Color& color, int drawMode,
                                  bool fastStretch);
};

}  // namespace Zarvo
