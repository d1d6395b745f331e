#include "FontBaker.h"

#include <pango/pangocairo.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "ImageFiles.h"

namespace datagen {

namespace {

struct FontSpec {
    const char* id;
    const char* stem;
    const char* family;
    int pointSize;
    int px;
    const char* tags;
};

// Point sizes are the Windows ones at 96 dots per inch: pixels = points x 4 / 3.
const FontSpec kFonts[] = {
    {"FONT_DEFAULT", "DEFAULT", "DejaVu Sans", 10, 13, ""},
    {"FONT_ROCKWELLEXTRABOLD8", "ROCKWELLEXTRABOLD8", "Roboto Slab", 8, 11, ""},
    {"FONT_ROCKWELLEXTRABOLD9", "ROCKWELLEXTRABOLD9", "Roboto Slab", 9, 12, ""},
    {"FONT_ROCKWELLEXTRABOLD10", "ROCKWELLEXTRABOLD10", "Roboto Slab", 10, 13, "shadow"},
    {"FONT_ROCKWELLEXTRABOLD11", "ROCKWELLEXTRABOLD11", "Roboto Slab", 11, 15, ""},
    {"FONT_ROCKWELLEXTRABOLD12", "ROCKWELLEXTRABOLD12", "Roboto Slab", 12, 16, ""},
    {"FONT_ROCKWELLEXTRABOLD14", "ROCKWELLEXTRABOLD14", "Roboto Slab", 14, 19, ""},
    {"FONT_ROCKWELLEXTRABOLD16", "ROCKWELLEXTRABOLD16", "Roboto Slab", 16, 21, ""},
    {"FONT_ROCKWELLEXTRABOLD18", "ROCKWELLEXTRABOLD18", "Roboto Slab", 18, 24, ""},
    {"FONT_ROCKWELLEXTRABOLD20", "ROCKWELLEXTRABOLD20", "Roboto Slab", 20, 27, ""},
};

const int kPad = 2;           // transparent margin around each glyph cell
const int kStripWidth = 512;  // glyph cells wrap into rows of at most this width

class Shaper {
public:
    Shaper(const char* family, int px) {
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4);
        cr_ = cairo_create(surface_);
        layout_ = pango_cairo_create_layout(cr_);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        pango_cairo_context_set_font_options(pango_layout_get_context(layout_), options);
        cairo_font_options_destroy(options);
        pango_layout_context_changed(layout_);
        PangoFontDescription* desc = pango_font_description_new();
        pango_font_description_set_family(desc, family);
        pango_font_description_set_weight(desc, PANGO_WEIGHT_BOLD);
        pango_font_description_set_absolute_size(desc, px * PANGO_SCALE);
        pango_layout_set_font_description(layout_, desc);
        pango_font_description_free(desc);
    }
    ~Shaper() {
        g_object_unref(layout_);
        cairo_destroy(cr_);
        cairo_surface_destroy(surface_);
    }
    PangoLayout* layout(const std::string& s) {
        pango_layout_set_text(layout_, s.c_str(), -1);
        return layout_;
    }
    double advance(const std::string& s) {
        PangoRectangle logical;
        pango_layout_get_extents(layout(s), nullptr, &logical);
        return logical.width / double(PANGO_SCALE);
    }

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
    PangoLayout* layout_;
};

// A character as an immediate value of the descriptor language.
std::string quoteChar(char c) {
    if (c == '\'') return "\"'\"";
    return std::string("'") + c + "'";
}

std::string quotePair(char a, char b) {
    const std::string s{a, b};
    if (s.find('\'') != std::string::npos) return "\"" + s + "\"";
    return "'" + s + "'";
}

// The characters every font carries: printable ASCII without the backslash, which no text uses.
std::string charset() {
    std::string s;
    for (int c = 32; c < 127; ++c)
        if (c != '\\') s += static_cast<char>(c);
    return s;
}

// Writes a long list statement with line breaks every few entries.
void list(std::ostringstream& out, const std::vector<std::string>& items, int perLine) {
    out << "(";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out << ((i % perLine) ? " " : "\n    ");
        out << items[i];
    }
    out << ")";
}

}  // namespace

const BakedFont& FontBaker::font(const std::string& id) const {
    for (const auto& f : fonts_)
        if (f->id == id) return *f;
    throw std::runtime_error("no such font: " + id);
}

bool FontBaker::build(ResourceCatalog& cat, const std::string& root) {
    std::filesystem::create_directories(root + "/fonts");
    bool ok = true;
    const std::string chars = charset();
    for (const FontSpec& spec : kFonts) {
        auto font = std::make_unique<BakedFont>();
        font->id = spec.id;
        font->stem = spec.stem;
        font->pointSize = spec.pointSize;
        Shaper shaper(spec.family, spec.px);
        PangoRectangle ink, logical;
        pango_layout_get_pixel_extents(shaper.layout("Hg"), &ink, &logical);
        font->ascent = static_cast<int>(
            std::lround(pango_layout_get_baseline(shaper.layout("Hg")) / double(PANGO_SCALE)));
        font->height = logical.height;
        const int cellH = font->height + 2 * kPad;

        // Lay the cells out in rows.
        std::vector<double> advance(256, 0.0);
        int x = 0, y = 0;
        for (char ch : chars) {
            const auto uc = static_cast<unsigned char>(ch);
            const std::string s(1, ch);
            advance[uc] = shaper.advance(s);
            BakedFont::Glyph& g = font->glyphs[uc];
            g.width = static_cast<int>(std::lround(advance[uc]));
            if (ch == ' ') continue;
            pango_layout_get_pixel_extents(shaper.layout(s), &ink, &logical);
            const int w = ink.width + 2 * kPad;
            if (x + w > kStripWidth) {
                x = 0;
                y += cellH;
            }
            g.x = x;
            g.y = y;
            g.w = w;
            g.h = cellH;
            g.offsetX = ink.x - kPad;
            g.offsetY = -kPad;
            x += w;
        }
        font->strip = std::make_unique<Canvas>(kStripWidth, y + cellH);
        Canvas& strip = *font->strip;
        for (char ch : chars) {
            if (ch == ' ') continue;
            const BakedFont::Glyph& g = font->glyphs[static_cast<unsigned char>(ch)];
            PangoLayout* layout = shaper.layout(std::string(1, ch));
            const double baseline = pango_layout_get_baseline(layout) / double(PANGO_SCALE);
            cairo_save(strip.cr());
            cairo_rectangle(strip.cr(), g.x, g.y, g.w, g.h);
            cairo_clip(strip.cr());
            cairo_move_to(strip.cr(), g.x - g.offsetX, g.y + kPad + font->ascent - baseline);
            strip.setColor(palette::white);
            pango_cairo_show_layout(strip.cr(), layout);
            cairo_restore(strip.cr());
        }

        // Kerning: the difference between a pair set together and its two advances.
        std::vector<std::string> pairNames, pairValues;
        const std::string kernable =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,-:'\"";
        for (char a : kernable)
            for (char b : kernable) {
                const double together = shaper.advance(std::string{a, b});
                const double k = together - advance[static_cast<unsigned char>(a)] -
                                 advance[static_cast<unsigned char>(b)];
                const int ki = static_cast<int>(std::lround(k));
                // A pair of both quote marks cannot be written as one quoted token.
                if ((a == '\'' || a == '"') && (b == '\'' || b == '"') && a != b) continue;
                if (ki == 0 || ki < -20 || ki > 20) continue;
                font->kerning[{static_cast<unsigned char>(a), static_cast<unsigned char>(b)}] = ki;
                pairNames.push_back(quotePair(a, b));
                pairValues.push_back(std::to_string(ki));
            }

        // The descriptor.
        std::ostringstream d;
        const int shadowOffset = spec.px >= 20 ? 2 : 1;
        d << "# Kelvane image font " << spec.id << ": " << spec.family << " Bold, " << spec.px
          << " pixels (" << spec.pointSize << " points).\n"
          << "# The face layer is always drawn; the shadow layer only for fonts tagged SHADOW and "
             "the\n"
          << "# outline layer only for fonts tagged OUTLINE (tags come from the resource "
             "manifest).\n\n"
          << "Define FaceLayer 'Face';\n"
          << "Define ShadowLayer 'Shadow';\n"
          << "Define OutlineLayer 'Outline';\n"
          << "Define GlyphImage '" << spec.stem << ".png';\n"
          << "Define Ascent " << font->ascent << ";\n"
          << "Define LineHeight " << font->height << ";\n"
          << "Define ShadowColor (0, 0, 0, 150);\n"
          << "Define OutlineColor (10, 21, 48, 255);\n\n"
          << "SetDefaultPointSize " << spec.pointSize << ";\n\n"
          << "CreateLayer FaceLayer;\n"
          << "LayerSetImage FaceLayer GlyphImage;\n"
          << "LayerSetAscent FaceLayer Ascent;\n"
          << "LayerSetHeight FaceLayer LineHeight;\n"
          << "LayerSetLineSpacingOffset FaceLayer 0;\n"
          << "LayerSetBaseOrder FaceLayer 0;\n";
        std::vector<std::string> mapChars, rects, widthChars, widths, offsets;
        for (char ch : chars) {
            const BakedFont::Glyph& g = font->glyphs[static_cast<unsigned char>(ch)];
            widthChars.push_back(quoteChar(ch));
            widths.push_back(std::to_string(g.width));
            if (ch == ' ') continue;
            mapChars.push_back(quoteChar(ch));
            rects.push_back("(" + std::to_string(g.x) + " " + std::to_string(g.y) + " " +
                            std::to_string(g.w) + " " + std::to_string(g.h) + ")");
            offsets.push_back("(" + std::to_string(g.offsetX) + " " + std::to_string(g.offsetY) +
                              ")");
        }
        d << "\nLayerSetImageMap FaceLayer\n  ";
        list(d, mapChars, 16);
        d << "\n  ";
        list(d, rects, 6);
        d << ";\n\nLayerSetCharWidths FaceLayer\n  ";
        list(d, widthChars, 16);
        d << "\n  ";
        list(d, widths, 16);
        d << ";\n\nLayerSetCharOffsets FaceLayer\n  ";
        list(d, mapChars, 16);
        d << "\n  ";
        list(d, offsets, 10);
        d << ";\n";
        if (!pairNames.empty()) {
            d << "\nLayerSetKerningPairs FaceLayer\n  ";
            list(d, pairNames, 12);
            d << "\n  ";
            list(d, pairValues, 12);
            d << ";\n";
        }
        d << "\n# A soft shadow under the face, copied from it.\n"
          << "CreateLayerFrom ShadowLayer FaceLayer;\n"
          << "LayerRequireTags ShadowLayer ('SHADOW');\n"
          << "LayerSetColorMult ShadowLayer ShadowColor;\n"
          << "LayerSetOffset ShadowLayer (" << shadowOffset << ", " << shadowOffset << ");\n"
          << "LayerSetBaseOrder ShadowLayer -1;\n"
          << "\n# A dark outline for light text on busy backgrounds (unused unless tagged).\n"
          << "CreateLayerFrom OutlineLayer FaceLayer;\n"
          << "LayerRequireTags OutlineLayer ('OUTLINE');\n"
          << "LayerExcludeTags OutlineLayer ('SHADOW');\n"
          << "LayerSetImage OutlineLayer '" << spec.stem << "_outline.png';\n"
          << "LayerSetColorMult OutlineLayer OutlineColor;\n"
          << "LayerSetBaseOrder OutlineLayer -2;\n";

        // The outline image: the glyph strip grown by one pixel, in the same cells.
        Canvas outline(strip.width(), strip.height());
        for (int oy = -1; oy <= 1; ++oy)
            for (int ox = -1; ox <= 1; ++ox) outline.draw(strip, ox, oy);

        const std::string base = root + "/fonts/" + spec.stem;
        ok &= ImageFiles::writePng(base + ".png", strip.width(), strip.height(), strip.pixels());
        ok &= ImageFiles::writePng(base + "_outline.png", outline.width(), outline.height(),
                                   outline.pixels());
        std::ofstream f(base + ".txt", std::ios::binary);
        f << d.str();
        ok &= static_cast<bool>(f);
        cat.addFont({spec.id, std::string(spec.stem) + ".txt", spec.tags});
        fonts_.push_back(std::move(font));
    }
    return ok;
}

}  // namespace datagen
