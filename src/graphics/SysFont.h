#pragma once

#include <memory>
#include <string>

#include "graphics/Font.h"

namespace Zarvo {

class FreeTypeFace;

// A font backed by an installed system face, chosen by name (the nearest installed face when
// the name is not installed), point size and style. Text is rendered with anti-aliasing into a
// temporary image whose alpha is the glyph coverage, then drawn like any image, so the context's
// colorize flag and draw mode apply to it.
class SysFont : public Font {
public:
    // The face's character height is point size x 96 / 72 pixels, rounded.
    SysFont(const std::string& face, int pointSize, bool bold = false, bool italic = false,
            bool underline = false);
    // The same face, size and style; shadow and simulated bold are off in the copy.
    SysFont(const SysFont& other);
    SysFont& operator=(const SysFont&) = delete;
    ~SysFont() override;

    // Width of the text on one line ('&' is an ordinary character).
    int StringWidth(const std::string& text) override;
    // y is the baseline. With the shadow on, the text is first drawn in black one pixel to the
    // right and down.
    void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                    const Rect& clipRect) override;
    std::unique_ptr<Font> Duplicate() const override;

    // The installed family that serves this font, e.g. "DejaVu Sans"; empty if none could be
    // opened (the font then measures and draws nothing).
    std::string GetFamily() const;

    bool drawShadow = false;
    // Draws every string twice, one pixel apart, for faces that lack a bold style.
    bool simulateBold = false;

private:
    void Open();

    std::unique_ptr<FreeTypeFace> platformFont;
    std::string faceName;
    int pointSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

}  // namespace Zarvo
