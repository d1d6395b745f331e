#pragma once

#include <list>
#include <memory>
#include <string>

#include "graphics/GraphicsState.h"

namespace Zarvo {

// The drawing context handed to everything that draws. Turns each call into integer rectangles
// in the destination image's coordinates (translation added, truncated toward zero), clips
// them and lets the image do the pixel work. Nothing is reported as an error: out-of-range
// cels, source rectangles sticking out of the image, empty clips and a missing font all
// simply draw nothing. The context owns neither its image nor its font.
class Graphics : public GraphicsState {
public:
    static constexpr int kDrawModeNormal = 0;
    static constexpr int kDrawModeAdditive = 1;

    // A null destination draws into a shared empty 0 x 0 image (for measuring text).
    explicit Graphics(Image* destination = nullptr);
    // Copies the current state of `other`; the copy starts with an empty state stack.
    Graphics(const Graphics& other);
    Graphics& operator=(const Graphics&) = delete;
    virtual ~Graphics();

    // The shared empty image that a context without destination draws into.
    static Image* GetEmptyImage();

    void PushState();
    // Restores the last pushed state; nothing on an empty stack.
    void PopState();
    // A heap copy of this context (current state, empty stack); the caller owns it.
    std::unique_ptr<Graphics> Create() const;

    void SetFont(Font* f) { font = f; }
    Font* GetFont() const { return font; }
    void SetColor(const Color& c) { color = c; }
    const Color& GetColor() const { return color; }
    void SetDrawMode(int mode) { drawMode = mode; }
    int GetDrawMode() const { return drawMode; }
    void SetColorizeImages(bool on) { colorizeImages = on; }
    bool GetColorizeImages() const { return colorizeImages; }
    void SetFastStretch(bool on) { fastStretch = on; }
    bool GetFastStretch() const { return fastStretch; }
    void SetLinearBlend(bool on) { linearBlend = on; }
    bool GetLinearBlend() const { return linearBlend; }
    void SetWriteColoredString(bool on) { writeColoredString = on; }
    bool GetWriteColoredString() const { return writeColoredString; }
    // Image drawing is scaled by (sx, sy) around (originX, originY) unless both are 1.
    void SetScale(float sx, float sy, float originX, float originY);
    Image* GetDestImage() const { return destImage; }
    const Rect& GetClipRect() const { return clipRect; }

    void Translate(int dx, int dy);
    // Shrinks the clip rectangle to its overlap with (x, y, w, h) after translation.
    void ClipRect(int x, int y, int w, int h);
    void ClipRect(const Rect& rect) { ClipRect(rect.x, rect.y, rect.width, rect.height); }

    void FillRect(int x, int y, int w, int h);
    void FillRect(const Rect& rect) { FillRect(rect.x, rect.y, rect.width, rect.height); }
    // Outlines a (w + 1) x (h + 1) rectangle.
    void DrawRect(int x, int y, int w, int h);
    void DrawRect(const Rect& rect) { DrawRect(rect.x, rect.y, rect.width, rect.height); }
    void ClearRect(int x, int y, int w, int h);
    void DrawLine(int startX, int startY, int endX, int endY);

    void DrawImage(Image* image, int x, int y);
    void DrawImage(Image* image, int x, int y, const Rect& srcRect);
    void DrawImage(Image* image, int x, int y, int w, int h);
    void DrawImage(Image* image, const Rect& destRect, const Rect& srcRect);
    void DrawImageCel(Image* image, int x, int y, int cel);
    void DrawImageCel(Image* image, int x, int y, int column, int row);
    // The image's nine-part frame (corners, tiled edges, tiled centre) fitted to `destRect`.
    void DrawImageBox(const Rect& destRect, Image* image);

    // Hands the text to the current font; y is the baseline. Nothing without a font.
    void DrawString(const std::string& text, int x, int y);
    // Text with ^RRGGBB^ colour codes ("^^" is one caret, "^oldclr^" the old colour); returns
    // the width in pixels. Justification 0 centres in `width`, 1 right-aligns, else left.
    int WriteString(const std::string& text, int x, int y, int width = -1, int justification = 0,
                    bool draw = true, int offset = 0, int length = -1, int oldColor = -1);
    // Word-wraps the text into `area`; returns the height used.
    int WriteWordWrapped(const Rect& area, const std::string& text, int lineSpacing = -1,
                         int justification = -1);
    int GetWordWrappedHeight(int width, const std::string& text, int lineSpacing = -1);

    // Clips a line (double-precision end points, in place) to `clip`; false when nothing of
    // it is visible.
    static bool ClipLine(const Rect& clip, double& x1, double& y1, double& x2, double& y2);

private:
    std::list<GraphicsState> stateStack;

    int WriteWordWrappedImpl(const Rect& area, const std::string& text, int lineSpacing,
                             int justification, bool draw);
    void DrawImageScaled(Image* image, int x, int y, const Rect& srcRect);
    Color ImageTint() const { return colorizeImages ? color : Color::White; }
};

}  // namespace Zarvo
