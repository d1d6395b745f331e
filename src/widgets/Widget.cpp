#include "widgets/Widget.h"

#include <cstdint>
#include <string>

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "widgets/WidgetManager.h"

namespace Zarvo {

namespace {

// Palette indexes beyond this are refused rather than growing the array without bound.
constexpr int kMaxPaletteEntries = 1 << 16;

}  // namespace

Widget::~Widget() {
    if (parent != nullptr) parent->RemoveChild(this);
}

const Color& Widget::DefaultColor() {
    static const Color defaultColor;
    return defaultColor;
}

void Widget::UpdateSelf() {
    ++updateCount;
}

void Widget::OnOrderChanged() {}

void Widget::Show(bool show) {
    if (visible == show) return;
    visible = show;
    if (visible) {
        Invalidate();
    } else {
        InvalidateWithBackground();
    }
    if (manager != nullptr) manager->RecheckMouse();
}

void Widget::SetPalette(std::span<const std::array<int, 4>> entries) {
    colors.clear();
    for (const auto& e : entries) colors.emplace_back(e[0], e[1], e[2], e[3]);
    Invalidate();
}

void Widget::SetPalette(std::span<const std::array<int, 3>> entries) {
    colors.clear();
    for (const auto& e : entries) colors.emplace_back(e[0], e[1], e[2], 255);
    Invalidate();
}

void Widget::SetPaletteEntry(int index, const Color& color) {
    if (index < 0 || index >= kMaxPaletteEntries) return;
    if (static_cast<size_t>(index) >= colors.size()) colors.resize(index + 1, DefaultColor());
    colors[index] = color;
    Invalidate();
}

Color Widget::PaletteEntry(int index, const Color& fallback) const {
    if (index < 0 || static_cast<size_t>(index) >= colors.size()) return fallback;
    return colors[index];
}

const Color& Widget::PaletteEntry(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= colors.size()) return DefaultColor();
    return colors[index];
}

void Widget::SetDisabledFlag(bool isDisabled) {
    if (disabled == isDisabled) return;
    disabled = isDisabled;
    if (disabled && manager != nullptr) manager->ForgetWidget(this);
    Invalidate();
    if (!disabled && manager != nullptr) {
        const WidgetPoint origin = parent != nullptr ? parent->AbsolutePosition() : WidgetPoint{};
        if (ContainsPoint(manager->lastMouseX - origin.x, manager->lastMouseY - origin.y)) {
            manager->TrackPointer(manager->lastMouseX, manager->lastMouseY);
        }
    }
}

void Widget::ShowHandCursor(bool on) {
    if (manager != nullptr) manager->SelectCursor(on ? kCursorHand : kCursorArrow);
}

void Widget::SetBounds(const Rect& rect) {
    SetBounds(rect.x, rect.y, rect.width, rect.height);
}

void Widget::SetBounds(int newX, int newY, int newWidth, int newHeight) {
    if (x == newX && y == newY && width == newWidth && height == newHeight) return;
    InvalidateWithBackground();
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    // The old place is already marked; the new place must still reach what lies above it,
    // which an already dirty widget would not do.
    dirty = false;
    Invalidate();
    if (manager != nullptr) manager->RecheckMouse();
}

void Widget::MoveTo(int newX, int newY) {
    SetBounds(newX, newY, width, height);
}

bool Widget::TakesFocusOnClick() {
    return wantsFocus;
}

void Widget::DrawOverlayLayer(Graphics* g, int) {
    DrawOverlayLayer(g);
}

void Widget::DrawOverlayLayer(Graphics*) {}

void Widget::OnGotFocus() {
    hasFocus = true;
}

void Widget::OnLostFocus() {
    hasFocus = false;
}

void Widget::OnKeyChar(char) {}

void Widget::OnKeyDown(int key) {
    if (key != WidgetManager::kKeyTab || manager == nullptr) return;
    Widget* target = manager->IsKeyDown(WidgetManager::kKeyShift) ? tabPrev : tabNext;
    if (target != nullptr) manager->GiveFocus(target);
}

void Widget::OnKeyUp(int) {}

void Widget::OnMouseEnter() {}

void Widget::OnMouseLeave() {}

void Widget::OnMouseMove(int, int) {}

void Widget::OnMouseButtonDown(int, int, int, int) {}

void Widget::OnMouseDown(int mouseX, int mouseY, int clickCount) {
    if (clickCount == 3) {
        OnMouseButtonDown(mouseX, mouseY, 2, 1);
    } else if (clickCount < 0) {
        OnMouseButtonDown(mouseX, mouseY, 1, -clickCount);
    } else {
        OnMouseButtonDown(mouseX, mouseY, 0, clickCount);
    }
}

void Widget::OnMouseButtonUp(int, int, int, int) {}

void Widget::OnMouseUp(int mouseX, int mouseY, int clickCount) {
    OnMouseUp(mouseX, mouseY);
    if (clickCount == 3) {
        OnMouseButtonUp(mouseX, mouseY, 2, 1);
    } else if (clickCount < 0) {
        OnMouseButtonUp(mouseX, mouseY, 1, -clickCount);
    } else {
        OnMouseButtonUp(mouseX, mouseY, 0, clickCount);
    }
}

void Widget::OnMouseUp(int, int) {}

void Widget::OnMouseDrag(int, int) {}

void Widget::OnMouseWheel(int) {}

bool Widget::HitsPoint(int, int) {
    return true;
}

Rect Widget::WriteCenteredLine(Graphics* g, int baseline, const std::string& line) {
    Font* font = g->GetFont();
    if (font == nullptr) return Rect();
    const int lineWidth = font->StringWidth(line);
    const int lineX = (width - lineWidth) / 2;
    g->DrawString(line, lineX, baseline);
    return Rect(lineX, baseline - font->GetAscent(), lineWidth, font->GetHeight());
}

Rect Widget::WriteCenteredLine(Graphics* g, int baseline, const std::string& line,
                               const Color& textColor, const Color& shadowColor, int shadowX,
                               int shadowY) {
    Font* font = g->GetFont();
    if (font == nullptr) return Rect();
    const int lineWidth = font->StringWidth(line);
    const int lineX = (width - lineWidth) / 2;
    g->SetColor(shadowColor);
    g->DrawString(line, lineX + shadowX, baseline + shadowY);
    g->SetColor(textColor);
    g->DrawString(line, lineX, baseline);
    const Rect text(lineX, baseline - font->GetAscent(), lineWidth, font->GetHeight());
    const Rect shadow(text.x + shadowX, text.y + shadowY, text.width, text.height);
    const int left = std::min(text.x, shadow.x);
    const int top = std::min(text.y, shadow.y);
    return Rect(left, top, std::max(text.x + text.width, shadow.x + shadow.width) - left,
                std::max(text.y + text.height, shadow.y + shadow.height) - top);
}

int Widget::WriteString(Graphics* g, const std::string& text, int textX, int textY, int textWidth,
                        int justification, bool draw, int offset, int length) {
    const bool wasColored = g->GetWriteColoredString();
    g->SetWriteColoredString(true);
    const int result =
        g->WriteString(text, textX, textY, textWidth, justification, draw, offset, length);
    g->SetWriteColoredString(wasColored);
    return result;
}

int Widget::WriteWordWrapped(Graphics* g, const Rect& area, const std::string& text,
                             int lineSpacing, int justification) {
    const bool wasColored = g->GetWriteColoredString();
    g->SetWriteColoredString(true);
    const int result = g->WriteWordWrapped(area, text, lineSpacing, justification);
    g->SetWriteColoredString(wasColored);
    return result;
}

int Widget::GetWordWrappedHeight(Graphics* g, int areaWidth, const std::string& text,
                                 int lineSpacing) {
    return g->GetWordWrappedHeight(areaWidth, text, lineSpacing);
}

int Widget::CountDigits(int n) {
    int count = 1;
    for (int64_t power = 10; power <= n; power *= 10) ++count;
    return count;
}

void Widget::DrawNumberFromStrip(Graphics* g, int n, int numberX, int numberY, Image* strip,
                                 int spacing) {
    if (g == nullptr || strip == nullptr) return;
    const int digitWidth = strip->GetWidth() / 10;
    if (digitWidth <= 0) return;
    const int64_t value = n < 0 ? -int64_t(n) : int64_t(n);
    const std::string digits = std::to_string(value);
    int digitX = numberX;
    for (char c : digits) {
        const int digit = c - '0';
        Graphics digitGraphics(*g);
        digitGraphics.ClipRect(digitX, numberY, digitWidth, strip->GetHeight());
        digitGraphics.DrawImage(strip, digitX - digit * digitWidth, numberY);
        digitX += digitWidth + spacing;
    }
}

bool Widget::ContainsPoint(int pointX, int pointY) const {
    return pointX >= x && pointX < x + width && pointY >= y && pointY < y + height;
}

Rect Widget::MouseRect() const {
    return Rect(x + mouseInsets.left, y + mouseInsets.top,
                width - mouseInsets.left - mouseInsets.right,
                height - mouseInsets.top - mouseInsets.bottom);
}

void Widget::LayoutRelative(int layoutFlags, const WidgetContainer* relative, int left, int top,
                            int layoutWidth, int layoutHeight) {
    if (relative == nullptr) return;
    Rect r = relative->Bounds();
    if (relative == parent) {
        r.x = 0;
        r.y = 0;
    }
    int nx = x;
    int ny = y;
    int nw = width;
    int nh = height;
    // Applied in increasing bit order; each bit overwrites one coordinate.
    if (layoutFlags & kLayoutSameWidth) nw = r.width + layoutWidth;
    if (layoutFlags & kLayoutSameHeight) nh = r.height + layoutHeight;
    if (layoutFlags & kLayoutSetLeft) nx = left;
    if (layoutFlags & kLayoutSetTop) ny = top;
    if (layoutFlags & kLayoutSetWidth) nw = layoutWidth;
    if (layoutFlags & kLayoutSetHeight) nh = layoutHeight;
    if (layoutFlags & kLayoutAbove) ny = r.y + top - nh;
    if (layoutFlags & kLayoutBelow) ny = r.y + r.height + top;
    if (layoutFlags & kLayoutRight) nx = r.x + r.width + left;
    if (layoutFlags & kLayoutLeft) nx = r.x + left - nw;
    if (layoutFlags & kLayoutSameLeft) nx = r.x + left;
    if (layoutFlags & kLayoutSameRight) nx = r.x + r.width + left - nw;
    if (layoutFlags & kLayoutSameTop) ny = r.y + top;
    if (layoutFlags & kLayoutSameBottom) ny = r.y + r.height + top - nh;
    if (layoutFlags & kLayoutGrowToRight) nw = r.x + r.width + layoutWidth - nx;
    if (layoutFlags & kLayoutGrowToLeft) nw = r.x + layoutWidth - nx;
    if (layoutFlags & kLayoutGrowToTop) nh = r.y + layoutHeight - ny;
    if (layoutFlags & kLayoutGrowToBottom) nh = r.y + r.height + layoutHeight - ny;
    if (layoutFlags & kLayoutHorzCenter) nx = r.x + left + (r.width - nw) / 2;
    if (layoutFlags & kLayoutVertCenter) ny = r.y + top + (r.height - nh) / 2;
    SetBounds(nx, ny, nw, nh);
}

}  // namespace Zarvo
