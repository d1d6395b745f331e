#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "graphics/Color.h"
#include "graphics/Rect.h"
#include "widgets/Insets.h"
#include "widgets/WidgetContainer.h"

namespace Zarvo {

class Image;

// A node of the widget tree that can be seen and used: visibility, enablement, focus, mouse
// state, colours and the event handlers that concrete controls override. Positions are in the
// parent's coordinates; event coordinates are in the widget's own.
class Widget : public WidgetContainer {
public:
    bool visible = true;
    // False makes the widget itself transparent to the mouse; its children still receive it.
    bool mouseVisible = true;
    bool disabled = false;
    bool hasFocus = false;
    bool isDown = false;             // a mouse button went down on it and is still held
    bool isOver = false;             // the mouse is over it
    bool hasTransparencies = false;  // not fully opaque even without alpha
    std::vector<Color> colors;
    Insets mouseInsets;
    bool doFinger = false;      // show the hand cursor while the mouse is over it
    bool wantsFocus = false;    // a mouse press gives it the keyboard focus
    Widget* tabPrev = nullptr;  // Shift+Tab moves the focus here
    Widget* tabNext = nullptr;  // Tab moves the focus here

    Widget() = default;
    // A widget still in a tree takes itself out first, so no parent keeps a pointer to it.
    ~Widget() override;

    // Counts the widget's own updates.
    void UpdateSelf() override;

    virtual void OnOrderChanged();
    virtual void Show(bool show);
    // Replaces the whole colour array from (red, green, blue, alpha) entries.
    virtual void SetPalette(std::span<const std::array<int, 4>> entries);
    // Replaces the whole colour array from (red, green, blue) entries, all opaque.
    virtual void SetPalette(std::span<const std::array<int, 3>> entries);
    // Grows the array as needed (new entries take the default colour); a negative index is
    // ignored.
    virtual void SetPaletteEntry(int index, const Color& color);
    virtual Color PaletteEntry(int index, const Color& fallback) const;
    // The shared default colour for an index outside the array.
    virtual const Color& PaletteEntry(int index) const;
    virtual void SetDisabledFlag(bool isDisabled);
    virtual void ShowHandCursor(bool on);
    virtual void SetBounds(const Rect& rect);
    virtual void SetBounds(int newX, int newY, int newWidth, int newHeight);
    virtual void MoveTo(int newX, int newY);
    virtual bool TakesFocusOnClick();
    virtual void DrawOverlayLayer(Graphics* g, int overlayPriority);
    virtual void DrawOverlayLayer(Graphics* g);
    virtual void OnGotFocus();
    virtual void OnLostFocus();
    virtual void OnKeyChar(char c);
    virtual void OnKeyDown(int key);
    virtual void OnKeyUp(int key);
    virtual void OnMouseEnter();
    virtual void OnMouseLeave();
    virtual void OnMouseMove(int mouseX, int mouseY);
    // button: 0 left, 1 right, 2 middle; clicks: 1 single, 2 double.
    virtual void OnMouseButtonDown(int mouseX, int mouseY, int button, int clicks);
    // clickCount: 1 left, 2 left double, -1 right, -2 right double, 3 middle.
    virtual void OnMouseDown(int mouseX, int mouseY, int clickCount);
    virtual void OnMouseButtonUp(int mouseX, int mouseY, int button, int clicks);
    virtual void OnMouseUp(int mouseX, int mouseY, int clickCount);
    virtual void OnMouseUp(int mouseX, int mouseY);
    virtual void OnMouseDrag(int mouseX, int mouseY);
    virtual void OnMouseWheel(int delta);
    // Whether a point of the mouse rectangle (own coordinates) really hits the widget; a miss
    // lets the click through to what lies below.
    virtual bool HitsPoint(int mouseX, int mouseY);
    // Draws `line` centred in the widget's width with its baseline at `baseline`; returns the
    // rectangle it covers.
    virtual Rect WriteCenteredLine(Graphics* g, int baseline, const std::string& line);
    // The same with a shadow drawn first at the given offset; returns the union of both.
    virtual Rect WriteCenteredLine(Graphics* g, int baseline, const std::string& line,
                                   const Color& textColor, const Color& shadowColor,
                                   int shadowX = 1, int shadowY = 2);
    // Text with colour codes; returns its width.
    virtual int WriteString(Graphics* g, const std::string& text, int textX, int textY,
                            int textWidth = -1, int justification = -1, bool draw = true,
                            int offset = 0, int length = -1);
    // Word-wrapped text with colour codes; returns the height used.
    virtual int WriteWordWrapped(Graphics* g, const Rect& area, const std::string& text,
                                 int lineSpacing = -1, int justification = -1);
    virtual int GetWordWrappedHeight(Graphics* g, int areaWidth, const std::string& text,
                                     int lineSpacing = -1);
    // 1 plus how many of 10, 100, 1000, ... are at most n (1 for anything below 10).
    virtual int CountDigits(int n);
    // Draws n with the digits of `strip` (0 to 9 side by side, each a tenth of its width),
    // each digit advancing by its width plus `spacing`. A negative n is drawn without sign.
    virtual void DrawNumberFromStrip(Graphics* g, int n, int numberX, int numberY, Image* strip,
                                     int spacing);
    // The point (parent's coordinates) lies in [x, x + width) x [y, y + height).
    virtual bool ContainsPoint(int pointX, int pointY) const;
    // The rectangle shrunk by the mouse insets.
    virtual Rect MouseRect() const;

    // Relative layout: each set bit of `layoutFlags` overwrites one coordinate of the new
    // rectangle, computed from the current one and `relative`'s (the parent's position counts
    // as (0, 0)); the result goes through SetBounds.
    enum LayoutFlags : int {
        kLayoutSameWidth = 0x1,
        kLayoutSameHeight = 0x2,
        kLayoutSetLeft = 0x10,
        kLayoutSetTop = 0x20,
        kLayoutSetWidth = 0x40,
        kLayoutSetHeight = 0x80,
        kLayoutAbove = 0x100,
        kLayoutBelow = 0x200,
        kLayoutRight = 0x400,
        kLayoutLeft = 0x800,
        kLayoutSameLeft = 0x1000,
        kLayoutSameRight = 0x2000,
        kLayoutSameTop = 0x4000,
        kLayoutSameBottom = 0x8000,
        kLayoutGrowToRight = 0x10000,
        kLayoutGrowToLeft = 0x20000,
        kLayoutGrowToTop = 0x40000,
        kLayoutGrowToBottom = 0x80000,
        kLayoutHorzCenter = 0x100000,
        kLayoutVertCenter = 0x200000,
    };
    void LayoutRelative(int layoutFlags, const WidgetContainer* relative, int left, int top,
                        int layoutWidth, int layoutHeight);

    static const Color& DefaultColor();
};

}  // namespace Zarvo
