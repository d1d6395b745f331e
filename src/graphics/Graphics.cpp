#include "graphics/Graphics.h"

#include <climits>
#include <cmath>

#include "graphics/Font.h"
#include "graphics/Image.h"
#include "graphics/MemoryImage.h"

namespace Zarvo {

namespace {

// Truncation toward zero (-0.5 becomes 0), saturated to the int range.
int Trunc(double v) {
    if (!(v > double(INT_MIN))) return INT_MIN;
    if (v >= double(INT_MAX)) return INT_MAX;
    return int(v);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

// Whether the source rectangle lies inside the image (a rectangle sticking out is not trimmed:
// the whole draw is skipped).
bool SourceInside(const Image* image, const Rect& src) {
    return src.x >= 0 && src.y >= 0 && src.width > 0 && src.height > 0 &&
           int64_t(src.x) + src.width <= image->width &&
           int64_t(src.y) + src.height <= image->height;
}

}  // namespace

Graphics::Graphics(Image* destination) {
    destImage = destination ? destination : GetEmptyImage();
    clipRect = Rect(0, 0, destImage->width, destImage->height);
    // This platform has no hardware-accelerated screen: every destination is drawn in software.
    is3D = false;
}

Graphics::Graphics(const Graphics& other) : GraphicsState(other) {}

Graphics::~Graphics() = default;

Image* Graphics::GetEmptyImage() {
    static MemoryImage empty(nullptr);
    return &empty;
}

void Graphics::PushState() {
    stateStack.push_back(static_cast<const GraphicsState&>(*this));
}

void Graphics::PopState() {
    if (stateStack.empty()) return;
    static_cast<GraphicsState&>(*this) = stateStack.back();
    stateStack.pop_back();
}

std::unique_ptr<Graphics> Graphics::Create() const {
    return std::make_unique<Graphics>(*this);
}

void Graphics::SetScale(float sx, float sy, float originX, float originY) {
    scaleX = sx;
    scaleY = sy;
    scaleOrigX = originX;
    scaleOrigY = originY;
}

void Graphics::Translate(int dx, int dy) {
    transX += float(dx);
    transY += float(dy);
}

void Graphics::ClipRect(int x, int y, int w, int h) {
    const Rect r(Trunc(double(x) + double(transX)), Trunc(double(y) + double(transY)), w, h);
    clipRect = clipRect.Intersection(r);
}

void Graphics::FillRect(int x, int y, int w, int h) {
    if (color.alpha == 0) return;
    const Rect r(Trunc(double(x) + double(transX)), Trunc(double(y) + double(transY)), w, h);
    const Rect clipped = r.Intersection(clipRect);
    if (clipped.IsEmpty()) return;
    destImage->FillRect(clipped, color, drawMode);
}

void Graphics::DrawRect(int x, int y, int w, int h) {
    if (color.alpha == 0) return;
    const int px = Trunc(double(x) + double(transX));
    const int py = Trunc(double(y) + double(transY));
    const Rect outline(px, py, w + 1, h + 1);
    if (!outline.IsEmpty() && outline.Intersection(clipRect) == outline) {
        destImage->DrawRect(Rect(px, py, w, h), color, drawMode);
        return;
    }
    FillRect(x, y, w + 1, 1);
    FillRect(x, y + h, w + 1, 1);
    FillRect(x, y + 1, 1, h - 1);
    FillRect(x + w, y + 1, 1, h - 1);
}

void Graphics::ClearRect(int x, int y, int w, int h) {
    const Rect r(Trunc(double(x) + double(transX)), Trunc(double(y) + double(transY)), w, h);
    const Rect clipped = r.Intersection(clipRect);
    if (clipped.IsEmpty()) return;
    destImage->ClearRect(clipped);
}

bool Graphics::ClipLine(const Rect& clip, double& x1, double& y1, double& x2, double& y2) {
    const double cx = clip.x;
    const double cy = clip.y;
    const double right = double(clip.x) + clip.width;
    const double bottom = double(clip.y) + clip.height;

    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    if (x1 < cx) {
        if (x2 < cx) return false;
        y1 += (y2 - y1) / (x2 - x1) * (cx - x1);
        x1 = cx;
    }
    if (x2 >= right) {
        if (x1 >= right) return false;
        y2 += (y2 - y1) / (x2 - x1) * (right - 1 - x2);
        x2 = right - 1;
    }

    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    if (y1 < cy) {
        if (y2 < cy) return false;
        x1 += (x2 - x1) / (y2 - y1) * (cy - y1);
        y1 = cy;
    }
    if (y2 >= bottom) {
        if (y1 >= bottom) return false;
        x2 += (x2 - x1) / (y2 - y1) * (bottom - 1 - y2);
        y2 = bottom - 1;
    }
    return true;
}

void Graphics::DrawLine(int startX, int startY, int endX, int endY) {
    double x1 = double(startX) + double(transX);
    double y1 = double(startY) + double(transY);
    double x2 = double(endX) + double(transX);
    double y2 = double(endY) + double(transY);
    if (clipRect.IsEmpty()) return;
    if (!ClipLine(clipRect, x1, y1, x2, y2)) return;
    destImage->DrawLine(x1, y1, x2, y2, color, drawMode);
}

void Graphics::DrawImage(Image* image, int x, int y) {
    if (!image) return;
    DrawImage(image, x, y, Rect(0, 0, image->width, image->height));
}

void Graphics::DrawImage(Image* image, int x, int y, const Rect& srcRect) {
    if (!image || !SourceInside(image, srcRect)) return;
    if (scaleX != 1.0f || scaleY != 1.0f) {
        DrawImageScaled(image, x, y, srcRect);
        return;
    }
    const Rect dest(Trunc(double(x) + double(transX)), Trunc(double(y) + double(transY)),
                    srcRect.width, srcRect.height);
    const Rect clipped = dest.Intersection(clipRect);
    if (clipped.IsEmpty()) return;
    const Rect src(int(srcRect.x + (int64_t(clipped.x) - dest.x)),
                   int(srcRect.y + (int64_t(clipped.y) - dest.y)), clipped.width, clipped.height);
    destImage->Blt(image, clipped.x, clipped.y, src, ImageTint(), drawMode);
}

void Graphics::DrawImageScaled(Image* image, int x, int y, const Rect& srcRect) {
    const float destW = std::ceil(float(srcRect.width) * scaleX);
    const float destH = std::ceil(float(srcRect.height) * scaleY);
    const int px = Trunc(double(x) + double(transX));
    const int py = Trunc(double(y) + double(transY));
    const int destX = Trunc(std::floor((float(px) - scaleOrigX) * scaleX) + scaleOrigX);
    const int destY = Trunc(std::floor((float(py) - scaleOrigY) * scaleY) + scaleOrigY);
    const Rect dest(destX, destY, Trunc(destW), Trunc(destH));
    if (dest.IsEmpty()) return;
    destImage->StretchBlt(image, dest, srcRect, clipRect, ImageTint(), drawMode, fastStretch);
}

void Graphics::DrawImage(Image* image, int x, int y, int w, int h) {
    if (!image) return;
    DrawImage(image, Rect(x, y, w, h), Rect(0, 0, image->width, image->height));
}

void Graphics::DrawImage(Image* image, const Rect& destRect, const Rect& srcRect) {
    if (!image || !SourceInside(image, srcRect)) return;
    const Rect dest(Trunc(double(destRect.x) + double(transX)),
                    Trunc(double(destRect.y) + double(transY)), destRect.width, destRect.height);
    if (dest.IsEmpty()) return;
    destImage->StretchBlt(image, dest, srcRect, clipRect, ImageTint(), drawMode, fastStretch);
}

void Graphics::DrawImageCel(Image* image, int x, int y, int cel) {
    if (!image || image->columns <= 0) return;
    DrawImageCel(image, x, y, cel % image->columns, cel / image->columns);
}

void Graphics::DrawImageCel(Image* image, int x, int y, int column, int row) {
    if (!image || column < 0 || row < 0 || column >= image->columns || row >= image->rows) {
        return;
    }
    const int celW = image->width / image->columns;
    const int celH = image->height / image->rows;
    DrawImage(image, x, y, Rect(column * celW, row * celH, celW, celH));
}

void Graphics::DrawImageBox(const Rect& destRect, Image* image) {
    if (!image || image->width <= 0 || image->height <= 0) return;
    const int iw = image->width;
    const int ih = image->height;
    const int cw = iw / 3;
    const int ch = ih / 3;
    const int centerW = iw - 2 * cw;
    const int centerH = ih - 2 * ch;
    const int x = destRect.x;
    const int y = destRect.y;
    const int w = destRect.width;
    const int h = destRect.height;

    DrawImage(image, x, y, Rect(0, 0, cw, ch));
    DrawImage(image, x + w - cw, y, Rect(iw - cw, 0, cw, ch));
    DrawImage(image, x, y + h - ch, Rect(0, ih - ch, cw, ch));
    DrawImage(image, x + w - cw, y + h - ch, Rect(iw - cw, ih - ch, cw, ch));

    const int spanW = w - 2 * cw;
    const int spanH = h - 2 * ch;
    const int piecesX = spanW > 0 ? (spanW + centerW - 1) / centerW : 0;
    const int piecesY = spanH > 0 ? (spanH + centerH - 1) / centerH : 0;

    if (piecesX > 0) {
        Graphics edges(*this);
        edges.ClipRect(x + cw, y, spanW, h);
        for (int i = 0; i < piecesX; ++i) {
            const int px = x + cw + i * centerW;
            edges.DrawImage(image, px, y, Rect(cw, 0, centerW, ch));
            edges.DrawImage(image, px, y + h - ch, Rect(cw, ih - ch, centerW, ch));
        }
    }
    if (piecesY > 0) {
        Graphics edges(*this);
        edges.ClipRect(x, y + ch, w, spanH);
        for (int j = 0; j < piecesY; ++j) {
            const int py = y + ch + j * centerH;
            edges.DrawImage(image, x, py, Rect(0, ch, cw, centerH));
            edges.DrawImage(image, x + w - cw, py, Rect(iw - cw, ch, cw, centerH));
        }
    }
    if (piecesX > 0 && piecesY > 0) {
        Graphics centre(*this);
        centre.ClipRect(x + cw, y + ch, spanW, spanH);
        for (int j = 0; j < piecesY; ++j) {
            for (int i = 0; i < piecesX; ++i) {
                centre.DrawImage(image, x + cw + i * centerW, y + ch + j * centerH,
                                 Rect(cw, ch, centerW, centerH));
            }
        }
    }
}

void Graphics::DrawString(const std::string& text, int x, int y) {
    if (font) font->DrawString(this, x, y, text, color, clipRect);
}

int Graphics::WriteString(const std::string& text, int x, int y, int width, int justification,
                          bool draw, int offset, int length, int oldColor) {
    if (!font) return 0;
    const int size = int(text.size());
    offset = std::clamp(offset, 0, size);
    const int end = (length < 0 || int64_t(offset) + length > size) ? size : offset + length;
    if (oldColor == -1) oldColor = int(color.ToInt());

    if (draw && (justification == 0 || justification == 1)) {
        const int measured = WriteString(text, x, y, -1, -1, false, offset, length, oldColor);
        x += justification == 0 ? (width - measured) / 2 : width - measured;
    }

    std::string run;
    int widthSoFar = 0;
    auto flush = [&] {
        if (draw) DrawString(run, x + widthSoFar, y);
        widthSoFar += font->StringWidth(run);
        run.clear();
    };
    int i = offset;
    while (i < end) {
        const char c = text[size_t(i)];
        if (c != '^' || !writeColoredString) {
            run += c;
            ++i;
            continue;
        }
        if (i + 1 < end && text[size_t(i) + 1] == '^') {
            run += '^';
            i += 2;
            continue;
        }
        if (end - i < 8) break;  // a code cut short ends the text
        uint32_t rgb;
        if (text.compare(size_t(i) + 1, 6, "oldclr") == 0) {
            rgb = uint32_t(oldColor) & 0x00FFFFFF;
        } else {
            rgb = 0;
            for (int k = 1; k <= 6; ++k) rgb = (rgb << 4) | uint32_t(HexDigit(text[size_t(i + k)]));
        }
        flush();
        // Measuring leaves the context colour alone, so that justified text starts in the
        // colour of the call.
        if (draw) {
            color = Color(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF),
                          color.alpha);
        }
        i += 8;
    }
    flush();
    return widthSoFar;
}

int Graphics::WriteWordWrapped(const Rect& area, const std::string& text, int lineSpacing,
                               int justification) {
    return WriteWordWrappedImpl(area, text, lineSpacing, justification, true);
}

int Graphics::GetWordWrappedHeight(int width, const std::string& text, int lineSpacing) {
    Graphics measure(nullptr);
    measure.SetFont(font);
    measure.writeColoredString = writeColoredString;
    return measure.WriteWordWrappedImpl(Rect(0, 0, width, 0), text, lineSpacing, -1, false);
}

int Graphics::WriteWordWrappedImpl(const Rect& area, const std::string& text, int lineSpacing,
                                   int justification, bool draw) {
    if (!font) return 0;
    const Color origColor = color;
    int oldColor = int(origColor.ToInt());
    if (origColor.alpha == 255) oldColor &= 0x00FFFFFF;
    if (lineSpacing == -1) lineSpacing = font->GetLineSpacing();

    int baseline = font->GetAscent() - font->GetAscentPadding();
    const int len = int(text.size());

    auto writeLine = [&](int start, int count) {
        const double physical = double(area.y) + baseline + double(transY);
        if (draw && physical >= clipRect.y &&
            physical < double(clipRect.y) + clipRect.height + lineSpacing) {
            WriteString(text, area.x, area.y + baseline, area.width, justification, true, start,
                        count, oldColor);
        }
        baseline += lineSpacing;
    };

    int pos = 0;
    int lineStart = 0;
    int lineWidth = 0;
    int spacePos = -1;
    char prev = 0;
    while (pos < len) {
        char c = text[size_t(pos)];
        if (c == '^' && writeColoredString && pos + 1 < len) {
            if (text[size_t(pos) + 1] != '^') {
                pos += 8;  // a colour code adds no width
                continue;
            }
            ++pos;  // two carets count as one
        } else if (c == ' ') {
            spacePos = pos;
        } else if (c == '\n') {
            lineWidth = area.width + 1;  // forces the break
            spacePos = pos;
            ++pos;
        }
        lineWidth += font->CharWidthKern(c, prev);
        prev = c;

        if (lineWidth > area.width) {
            if (spacePos != -1) {
                writeLine(lineStart, spacePos - lineStart);
                pos = spacePos + 1;
                if (c != '\n') {
                    while (pos < len && text[size_t(pos)] == ' ') ++pos;
                }
            } else {
                if (pos < lineStart + 1) ++pos;  // at least one character per line
                writeLine(lineStart, pos - lineStart);
            }
            lineStart = pos;
            spacePos = -1;
            lineWidth = 0;
            prev = 0;
        } else {
            ++pos;
        }
    }
    if (lineStart < len) writeLine(lineStart, len - lineStart);

    color = origColor;
    return baseline + font->GetDescent() - lineSpacing;
}

}  // namespace Zarvo
