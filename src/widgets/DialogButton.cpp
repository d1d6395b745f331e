#include "widgets/DialogButton.h"

#include <array>

#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/SysFont.h"

namespace Zarvo {

namespace {

const std::array<std::array<int, 3>, 6> kDialogButtonColors = {{
    {255, 255, 255},
    {255, 255, 255},
    {0, 0, 0},
    {255, 255, 255},
    {132, 132, 132},
    {212, 212, 212},
}};

// The nine-part box of `source` (corners kept, edges and centre tiled) fitted to `dest`.
void DrawBoxPart(Graphics* g, const Rect& dest, Image* image, const Rect& source) {
    if (image == nullptr || source.width <= 0 || source.height <= 0) return;
    const int sx = source.x;
    const int sy = source.y;
    const int iw = source.width;
    const int ih = source.height;
    const int cw = iw / 3;
    const int ch = ih / 3;
    const int centerW = iw - 2 * cw;
    const int centerH = ih - 2 * ch;
    const int x = dest.x;
    const int y = dest.y;
    const int w = dest.width;
    const int h = dest.height;

    g->DrawImage(image, x, y, Rect(sx, sy, cw, ch));
    g->DrawImage(image, x + w - cw, y, Rect(sx + iw - cw, sy, cw, ch));
    g->DrawImage(image, x, y + h - ch, Rect(sx, sy + ih - ch, cw, ch));
    g->DrawImage(image, x + w - cw, y + h - ch, Rect(sx + iw - cw, sy + ih - ch, cw, ch));

    const int spanW = w - 2 * cw;
    const int spanH = h - 2 * ch;
    const int piecesX = spanW > 0 ? (spanW + centerW - 1) / centerW : 0;
    const int piecesY = spanH > 0 ? (spanH + centerH - 1) / centerH : 0;
    if (piecesX > 0) {
        Graphics edges(*g);
        edges.ClipRect(x + cw, y, spanW, h);
        for (int i = 0; i < piecesX; ++i) {
            const int px = x + cw + i * centerW;
            edges.DrawImage(image, px, y, Rect(sx + cw, sy, centerW, ch));
            edges.DrawImage(image, px, y + h - ch, Rect(sx + cw, sy + ih - ch, centerW, ch));
        }
    }
    if (piecesY > 0) {
        Graphics edges(*g);
        edges.ClipRect(x, y + ch, w, spanH);
        for (int j = 0; j < piecesY; ++j) {
            const int py = y + ch + j * centerH;
            edges.DrawImage(image, x, py, Rect(sx, sy + ch, cw, centerH));
            edges.DrawImage(image, x + w - cw, py, Rect(sx + iw - cw, sy + ch, cw, centerH));
        }
    }
    if (piecesX > 0 && piecesY > 0) {
        Graphics centre(*g);
        centre.ClipRect(x + cw, y + ch, spanW, spanH);
        for (int j = 0; j < piecesY; ++j) {
            for (int i = 0; i < piecesX; ++i) {
                centre.DrawImage(image, x + cw + i * centerW, y + ch + j * centerH,
                                 Rect(sx + cw, sy + ch, centerW, centerH));
            }
        }
    }
}

}  // namespace

DialogButton::DialogButton(Image* component, int buttonId, ButtonListener* buttonListener)
    : ButtonWidget(buttonId, buttonListener), componentImage(component) {
    doFinger = true;
    SetPalette(std::span<const std::array<int, 3>>(kDialogButtonColors));
}

void DialogButton::DrawSelf(Graphics* g) {
    if (componentImage == nullptr) {
        ButtonWidget::DrawSelf(g);
        return;
    }
    if (btnNoDraw) return;
    if (font == nullptr) font = std::make_unique<SysFont>("Arial Unicode MS", 12);

    const bool pressed = IsButtonDown();
    const int ox = pressed ? translateX : 0;
    const int oy = pressed ? translateY : 0;
    const Rect box(ox, oy, width, height);
    if (normalRect.width != 0) {
        if (disabled && disabledRect.width > 0) {
            DrawBoxPart(g, box, componentImage, disabledRect);
        } else if (pressed) {
            DrawBoxPart(g, box, componentImage, downRect.width != 0 ? downRect : normalRect);
        } else if (overAlpha > 0) {
            // Cross-fade from the normal look to the highlighted one.
            if (overAlpha < 1) DrawBoxPart(g, box, componentImage, normalRect);
            const bool oldColorize = g->GetColorizeImages();
            const Color oldColor = g->GetColor();
            g->SetColorizeImages(true);
            g->SetColor(Color(255, 255, 255, static_cast<int>(overAlpha * 255)));
            DrawBoxPart(g, box, componentImage, overRect.width != 0 ? overRect : normalRect);
            g->SetColor(oldColor);
            g->SetColorizeImages(oldColorize);
        } else if (isOver) {
            DrawBoxPart(g, box, componentImage, overRect.width != 0 ? overRect : normalRect);
        } else {
            DrawBoxPart(g, box, componentImage, normalRect);
        }
    } else {
        g->DrawImageBox(box, componentImage);
    }

    const int ascent = font->GetAscent();
    const int labelX = (width - font->StringWidth(label)) / 2 + textOffsetX + ox;
    const int labelY =
        textOffsetY + (ascent + height - ascent / 6 - font->GetAscentPadding() - 1) / 2 + oy;
    g->SetFont(font.get());
    g->SetColor(PaletteEntry(isOver ? COLOR_LABEL_HILITE : COLOR_LABEL));
    g->DrawString(label, labelX, labelY);
}

}  // namespace Zarvo
