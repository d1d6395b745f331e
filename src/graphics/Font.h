#pragma once

#include <memory>
#include <string>

#include "graphics/Color.h"
#include "graphics/Rect.h"

namespace Zarvo {

class Graphics;

// The abstract base of image fonts and system fonts. Characters are 8-bit codes 0..255; a
// `char` argument is read as an unsigned byte.
class Font {
public:
    int ascent = 0;
    int ascentPadding = 0;
    int height = 0;
    int lineSpacingOffset = 0;

    Font() = default;
    Font(const Font&) = default;
    Font& operator=(const Font&) = default;
    virtual ~Font() = default;

    virtual int GetAscent() { return ascent; }
    virtual int GetAscentPadding() { return ascentPadding; }
    virtual int GetDescent() { return height - ascent; }
    virtual int GetHeight() { return height; }
    virtual int GetLineSpacingOffset() { return lineSpacingOffset; }
    virtual int GetLineSpacing() { return height + lineSpacingOffset; }
    virtual int StringWidth(const std::string& text) {
        (void)text;
        return 0;
    }
    virtual int CharWidth(char c) { return StringWidth(std::string(1, c)); }
    // Width of `c` when it follows `previous` (0: no previous character).
    virtual int CharWidthKern(char c, char previous) {
        (void)previous;
        return CharWidth(c);
    }
    // Draws `text` with its baseline at y.
    virtual void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                            const Rect& clipRect) {
        (void)g, (void)x, (void)y, (void)text, (void)color, (void)clipRect;
    }
    // A new font of the same kind and face; the caller owns it.
    virtual std::unique_ptr<Font> Duplicate() const = 0;
};

}  // namespace Zarvo
