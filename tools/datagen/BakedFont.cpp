#include "BakedFont.h"

namespace datagen {

int BakedFont::stringWidth(const std::string& s) const {
    int w = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        int kern = 0;
        if (i > 0) {
            auto it = kerning.find({static_cast<unsigned char>(s[i - 1]), c});
            if (it != kerning.end()) kern = it->second;
        }
        w += glyphs[c].width + kern;
    }
    return w;
}

void BakedFont::draw(Canvas& c, int x, int y, const std::string& s, const Rgba& color) const {
    // Tint the white glyphs: draw the colour through the strip's alpha.
    int pen = x;
    for (size_t i = 0; i < s.size(); ++i) {
        const auto ch = static_cast<unsigned char>(s[i]);
        const Glyph& g = glyphs[ch];
        if (g.w > 0 && g.h > 0) {
            const int dx = pen + g.offsetX, dy = y - ascent + g.offsetY;
            cairo_save(c.cr());
            cairo_rectangle(c.cr(), dx, dy, g.w, g.h);
            cairo_clip(c.cr());
            c.setColor(color);
            cairo_mask_surface(c.cr(), strip->surface(), dx - g.x, dy - g.y);
            cairo_restore(c.cr());
        }
        int kern = 0;
        if (i + 1 < s.size()) {
            auto it = kerning.find({ch, static_cast<unsigned char>(s[i + 1])});
            if (it != kerning.end()) kern = it->second;
        }
        pen += g.width + kern;
    }
}

}  // namespace datagen
