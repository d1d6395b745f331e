#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace Zarvo {

// A system font face for text rendering, chosen by family name through fontconfig and rasterised
// by FreeType with anti-aliasing.
//
// Implemented: nearest installed face for a family name ("Arial Unicode MS" and "Tahoma" are
// served by DejaVu Sans), bold and italic (synthesised when the face has no such style),
// underline, ascent and height, single-line width, 8-bit coverage rendering. Characters are
// 8-bit codes read as Latin-1. Not implemented: kerning, complex scripts, bidirectional text.
class FreeTypeFace {
public:
    // Opens the nearest face at a character (em) height in pixels. Null when no face at all can
    // be opened (no fonts installed).
    static std::unique_ptr<FreeTypeFace> Open(const std::string& family, int pixelHeight, bool bold,
                                              bool italic, bool underline);
    ~FreeTypeFace();
    FreeTypeFace(const FreeTypeFace&) = delete;
    FreeTypeFace& operator=(const FreeTypeFace&) = delete;

    int GetAscent() const { return ascent; }
    // Ascent plus descent.
    int GetHeight() const { return height; }
    // The sum of the characters' advances.
    int StringWidth(std::string_view text);
    // Adds the coverage of the text (0..255 per pixel, the larger value kept where glyphs meet)
    // to a buffer of width x height bytes, with the pen at (x, baseline).
    void Render(std::string_view text, int x, int baseline, uint8_t* coverage, int bufferWidth,
                int bufferHeight);

    // What fontconfig matched, e.g. "DejaVu Sans".
    const std::string& GetFamily() const { return family; }

private:
    struct Impl;
    explicit FreeTypeFace(std::unique_ptr<Impl> impl);

    std::unique_ptr<Impl> impl;
    int ascent = 0;
    int height = 0;
    std::string family;
};

}  // namespace Zarvo
