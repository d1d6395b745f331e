#pragma once
#include <array>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "Canvas.h"

namespace datagen {

// One image font as the generator baked it: the glyph strip and the metrics its descriptor
// declares. The mock-ups draw text with it exactly as the game's image font draws it.
struct BakedFont {
    struct Glyph {
        int x = 0, y = 0, w = 0, h = 0;  // rectangle in the strip
        int offsetX = 0, offsetY = 0;    // from the pen position and the ascent line
        int width = 0;                   // advance
    };
    std::string id;
    std::string stem;  // descriptor and image file name without extension
    int pointSize = 0;
    int ascent = 0;
    int height = 0;
    std::array<Glyph, 256> glyphs{};
    std::map<std::pair<unsigned char, unsigned char>, int> kerning;
    std::unique_ptr<Canvas> strip;

    // Advance of a string, pen moves of width + kerning with the following character.
    int stringWidth(const std::string& s) const;
    // Draws s with its baseline at y in the colour given.
    void draw(Canvas& c, int x, int y, const std::string& s, const Rgba& color) const;
};

}  // namespace datagen
