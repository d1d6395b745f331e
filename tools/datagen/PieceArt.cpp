#include "PieceArt.h"

#include <cmath>

#include "Style.h"

namespace datagen {

using namespace palette;

namespace {

// A playing card tilted by `angle` (radians) with a soft shadow.
void card(Canvas& c, double x, double y, const Rgba& top, const Rgba& bottom, double angle) {
    cairo_t* cr = c.cr();
    auto shape = [&](Canvas& s) {
        cairo_save(s.cr());
        cairo_translate(s.cr(), x + 20, y + 20);
        cairo_rotate(s.cr(), angle);
        s.roundRect(-11, -15.5, 22, 31, 3);
        cairo_restore(s.cr());
    };
    c.dropShadow([&](Canvas& s) { shape(s), s.fill(black); }, 1.2, 2, 2.5, Rgba{0, 0, 0, 0.55});
    cairo_save(cr);
    cairo_translate(cr, x + 20, y + 20);
    cairo_rotate(cr, angle);
    c.roundRect(-11, -15.5, 22, 31, 3);
    c.fillVertical(top, bottom, -15.5, 15.5, true);
    c.stroke(bottom.darker(0.45), 1.2);
    // A shine across the upper half and an inner line.
    c.polygon({{-10, -14.5}, {10, -14.5}, {10, -6}, {-10, 3}});
    c.fill(Rgba{1, 1, 1, 0.22});
    c.roundRect(-8, -12.5, 16, 25, 2);
    c.stroke(Rgba{1, 1, 1, 0.35}, 0.8);
    cairo_restore(cr);
}

}  // namespace

void PieceArt::redCard(Canvas& c, double x, double y) {
    card(c, x, y, Rgba::hex(0xff5a55), Rgba::hex(0xb3141d), 0.30);
}

void PieceArt::yellowCard(Canvas& c, double x, double y) {
    card(c, x, y, Rgba::hex(0xfff27a), Rgba::hex(0xe9b500), -0.30);
}

void PieceArt::injury(Canvas& c, double x, double y) {
    // A white medical kit disc with a green cross.
    const double cx = x + 20, cy = y + 20;
    c.dropShadow([&](Canvas& s) { s.circle(cx, cy, 16), s.fill(black); }, 1, 2, 2.5,
                 Rgba{0, 0, 0, 0.5});
    c.circle(cx, cy, 16);
    c.fillRadial(white, Rgba::hex(0xd7e0dc), cx - 5, cy - 6, 22, true);
    c.stroke(Rgba::hex(0x1a6b34), 1.6);
    auto cross = [&](Canvas& s, double g) {
        s.roundRect(cx - 4.5 - g, cy - 12 - g, 9 + 2 * g, 24 + 2 * g, 1.5);
        s.roundRect(cx - 12 - g, cy - 4.5 - g, 24 + 2 * g, 9 + 2 * g, 1.5);
    };
    cross(c, 0);
    cairo_set_fill_rule(c.cr(), CAIRO_FILL_RULE_WINDING);
    c.fillVertical(Rgba::hex(0x4fd46e), Rgba::hex(0x138a35), cy - 12, cy + 12);
    cross(c, 0);
    c.stroke(Rgba::hex(0x0d5a24), 0.8);
    c.circle(cx - 6, cy - 7, 5);
    c.fillRadial(Rgba{1, 1, 1, 0.6}, Rgba{1, 1, 1, 0}, cx - 6, cy - 7, 5);
}

void PieceArt::offsideFlag(Canvas& c, double x, double y) {
    cairo_t* cr = c.cr();
    // Pole.
    auto flagShape = [&](Canvas& s) {
        cairo_move_to(s.cr(), x + 12, y + 7);
        cairo_curve_to(s.cr(), x + 20, y + 4, x + 26, y + 10, x + 34, y + 7);
        cairo_line_to(s.cr(), x + 34, y + 23);
        cairo_curve_to(s.cr(), x + 26, y + 26, x + 20, y + 20, x + 12, y + 23);
        cairo_close_path(s.cr());
    };
    c.dropShadow(
        [&](Canvas& s) {
            s.roundRect(x + 9, y + 4, 3.2, 33, 1.5);
            s.fill(black);
            flagShape(s);
            s.fill(black);
        },
        1.2, 2, 2.5, Rgba{0, 0, 0, 0.5});
    c.roundRect(x + 9, y + 4, 3.2, 33, 1.5);
    cairo_pattern_t* p = cairo_pattern_create_linear(x + 9, 0, x + 12.2, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.55, 0.55, 0.6);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.95, 0.95, 0.98);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.45, 0.45, 0.5);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    c.circle(x + 10.6, y + 4.5, 2.4);
    c.fill(gold);
    // Chequered red and yellow flag.
    cairo_save(cr);
    flagShape(c);
    cairo_clip(cr);
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 5; ++j) {
            cairo_rectangle(cr, x + 12 + i * 4, y + 2 + j * 5 + (i % 2) * 0.5 * 0, 4, 5);
            c.fill(((i + j) % 2) ? Rgba::hex(0xf7d51d) : Rgba::hex(0xd8262e));
        }
    flagShape(c);
    c.fillVertical(Rgba{1, 1, 1, 0.25}, Rgba{0, 0, 0, 0.15}, y + 5, y + 25);
    cairo_restore(cr);
    flagShape(c);
    c.stroke(Rgba::hex(0x5a1010), 0.8);
}

void PieceArt::cornerFlag(Canvas& c, double x, double y) {
    c.dropShadow([&](Canvas& s) { s.roundRect(x + 12, y + 4, 3, 33, 1.5), s.fill(black); }, 1, 2, 2,
                 Rgba{0, 0, 0, 0.5});
    c.roundRect(x + 12, y + 4, 3, 33, 1.5);
    c.fill(Rgba::hex(0xf0f0f0));
    c.polygon({{x + 15, y + 5}, {x + 34, y + 12}, {x + 15, y + 20}});
    c.fillVertical(Rgba::hex(0xff8a3d), Rgba::hex(0xd04a10), y + 5, y + 20, true);
    c.stroke(Rgba::hex(0x6a2508), 0.8);
    // Chalk arc of the corner.
    cairo_new_sub_path(c.cr());
    cairo_arc(c.cr(), x + 13.5, y + 37, 10, M_PI, 2 * M_PI);
    c.stroke(Rgba{1, 1, 1, 0.8}, 1.5);
}

void PieceArt::whiteBall(Canvas& c, double x, double y) {
    c.dropShadow([&](Canvas& s) { s.circle(x + 20, y + 20, 16.5), s.fill(black); }, 1, 2, 2.5,
                 Rgba{0, 0, 0, 0.55});
    Style::ball(c, x + 20, y + 20, 16.5, 0.15);
}

void PieceArt::money(Canvas& c, double x, double y) {
    for (int k = 3; k >= 0; --k) {
        const double cy = y + 29 - k * 5;
        c.dropShadow(
            [&](Canvas& s) {
                cairo_save(s.cr()), cairo_translate(s.cr(), x + 20, cy),
                    cairo_scale(s.cr(), 1, 0.45), s.circle(0, 0, 14), cairo_restore(s.cr()),
                    s.fill(black);
            },
            0, 1, 1.5, Rgba{0, 0, 0, 0.35});
        cairo_save(c.cr());
        cairo_translate(c.cr(), x + 20, cy);
        cairo_scale(c.cr(), 1, 0.45);
        c.circle(0, 0, 14);
        cairo_restore(c.cr());
        c.fillVertical(goldLight, goldDark, cy - 7, cy + 7, true);
        c.stroke(goldDark.darker(0.3), 0.8);
    }
    TextStyle t = Style::label(11, goldDark.darker(0.35));
    t.align = Align::Center;
    c.text(x + 20, y + 18, "$", t);
}

void PieceArt::extraTime(Canvas& c, double x, double y) {
    const double cx = x + 20, cy = y + 22;
    c.dropShadow([&](Canvas& s) { s.circle(cx, cy, 14), s.fill(black); }, 1, 2, 2.5,
                 Rgba{0, 0, 0, 0.5});
    c.roundRect(cx - 3, cy - 19, 6, 5, 1);
    c.fill(goldDark);
    c.circle(cx, cy, 14);
    c.fillVertical(goldLight, goldDark, cy - 14, cy + 14, true);
    c.stroke(goldDark.darker(0.4), 1);
    c.circle(cx, cy, 10.5);
    c.fill(cream);
    cairo_move_to(c.cr(), cx, cy);
    cairo_line_to(c.cr(), cx, cy - 8);
    c.stroke(ink, 1.6);
    cairo_move_to(c.cr(), cx, cy);
    cairo_line_to(c.cr(), cx + 6, cy + 2);
    c.stroke(red, 1.4);
    TextStyle t = Style::label(11, green);
    t.outline = 1.2;
    t.outlineColor = white;
    c.text(cx + 7, y + 12, "+", t);
}

void PieceArt::build(ResourceCatalog& cat) {
    auto piece = [&](const char* id, const char* file, void (*draw)(Canvas&, double, double)) {
        ImageEntry& e = cat.add(id, "images/pieces", file, 40, 40);
        draw(*e.canvas, 0, 0);
    };
    piece("IMAGE_WHITE_BALL", "ball", whiteBall);
    piece("IMAGE_RED_CARD", "red_card", redCard);
    piece("IMAGE_YELLOW_CARD", "yellow_card", yellowCard);
    piece("IMAGE_INJURY", "injury", injury);
    piece("IMAGE_OFFSIDE_FLAG", "offside_flag", offsideFlag);
    piece("IMAGE_CORNER_FLAG", "corner_flag", cornerFlag);
    piece("IMAGE_MONEY", "money", money);
    piece("IMAGE_EXTRA_TIME", "extra_time", extraTime);

    // An emptied cell: a faint socket, then a chalk puff that fades where pieces vanished.
    {
        ImageEntry& e = cat.add("IMAGE_EMPTY_SQUARE", "images/pieces", "empty_square", 160, 40);
        e.cols = 4;
        e.attributes = {{"anim", "once"}, {"framedelay", "60"}};
        Canvas& c = *e.canvas;
        c.roundRect(4, 4, 32, 32, 6);
        c.stroke(Rgba{1, 1, 1, 0.16}, 1.2);
        for (int k = 1; k < 4; ++k) {
            const double cx = 40 * k + 20, cy = 20, spread = 6 + k * 4, a = 0.75 - k * 0.18;
            for (int i = 0; i < 8; ++i) {
                const double ang = i * M_PI / 4 + k * 0.3;
                c.circle(cx + spread * std::cos(ang), cy + spread * std::sin(ang), 5.5 - k);
                c.fillRadial(Rgba{1, 1, 1, a}, Rgba{1, 1, 1, 0}, cx + spread * std::cos(ang),
                             cy + spread * std::sin(ang), 5.5 - k);
            }
            c.circle(cx, cy, 9 - k * 2);
            c.fillRadial(Rgba{1, 1, 0.85, a}, Rgba{1, 1, 0.85, 0}, cx, cy, 9 - k * 2);
        }
    }

    // Selection marker: gold corner brackets, pixel-aligned so the one-bit transparency of GIF
    // keeps them crisp.
    {
        ImageEntry& e =
            cat.add("IMAGE_SELECTED", "images/pieces", "selected", 40, 40, ImageStore::Gif);
        Canvas& c = *e.canvas;
        cairo_set_antialias(c.cr(), CAIRO_ANTIALIAS_NONE);
        auto bracket = [&](double x, double y, int sx, int sy, const Rgba& col, double inset) {
            const double len = 12;
            cairo_rectangle(c.cr(), sx > 0 ? x + inset : x - len - inset + 1,
                            sy > 0 ? y + inset : y - 3 - inset + 1, len, 3);
            c.fill(col);
            cairo_rectangle(c.cr(), sx > 0 ? x + inset : x - 3 - inset + 1,
                            sy > 0 ? y + inset : y - len - inset + 1, 3, len);
            c.fill(col);
        };
        for (int pass = 0; pass < 2; ++pass) {
            const Rgba col = pass == 0 ? navyDeep : goldLight;
            const double inset = pass == 0 ? 0 : 1;
            bracket(0, 0, 1, 1, col, inset);
            bracket(39, 0, -1, 1, col, inset);
            bracket(0, 39, 1, -1, col, inset);
            bracket(39, 39, -1, -1, col, inset);
        }
        cairo_rectangle(c.cr(), 1, 1, 38, 38);
        c.stroke(gold.withAlpha(1), 1);
    }

    // Hint: a pulsing ring in four cels (the fifth step is blank, so it blinks).
    {
        ImageEntry& e = cat.add("IMAGE_HINT_ANIM", "images/pieces", "hint", 160, 40);
        e.cols = 4;
        e.attributes = {{"anim", "loop"}, {"framedelay", "200"}};
        Canvas& c = *e.canvas;
        for (int k = 0; k < 4; ++k) {
            const double cx = 40 * k + 20, r = 15 + k * 1.3, a = 1.0 - k * 0.18;
            c.glow([&](Canvas& s) { s.circle(cx, 20, r), s.stroke(white, 3); }, 4,
                   Rgba{1, 0.9, 0.4, 0.9 * a});
            c.circle(cx, 20, r);
            c.stroke(goldLight.withAlpha(a), 2.2);
            for (int i = 0; i < 4; ++i) {
                const double ang = i * M_PI / 2 + M_PI / 4;
                c.circle(cx + (r + 1) * std::cos(ang), 20 + (r + 1) * std::sin(ang), 1.8);
                c.fill(white.withAlpha(a));
            }
        }
    }

    // Mouse-over glow: the shape is shared by all cels (an alpha grid), the colour cycles.
    {
        ImageEntry& e = cat.add("IMAGE_MOUSE_OVER_OBJECT_ANIM", "images/pieces", "mouse_over", 160,
                                40, ImageStore::JpegAlphaGrid);
        e.cols = 4;
        e.attributes = {{"anim", "pingpong"}, {"framedelay", "80"}};
        Canvas& c = *e.canvas;
        // Colour fill per cel, drawn opaque; the alpha comes from the first cel's shape.
        for (int k = 0; k < 4; ++k) {
            cairo_rectangle(c.cr(), 40 * k, 0, 40, 40);
            c.fill(goldLight.mix(tealLight, k / 3.0));
        }
        Canvas shape(40, 40);
        shape.glow([&](Canvas& s) { s.roundRect(3, 3, 34, 34, 7), s.stroke(white, 2.5); }, 3,
                   white);
        shape.roundRect(3, 3, 34, 34, 7);
        shape.stroke(white, 2);
        std::vector<uint32_t> px = c.pixels();
        const std::vector<uint32_t> sp = shape.pixels();
        for (int yy = 0; yy < 40; ++yy)
            for (int xx = 0; xx < 160; ++xx) {
                const uint32_t a = sp[yy * 40 + xx % 40] >> 24;
                px[yy * 160 + xx] = (a << 24) | (px[yy * 160 + xx] & 0xFFFFFF);
            }
        c.setPixels(px);
    }

    // Animated pieces: the injury kit pulses (two rows of four cels), the yellow card flips.
    {
        ImageEntry& e = cat.add("IMAGE_INJURY_ANIM", "images/pieces", "injury_anim", 160, 80);
        e.rows = 2;
        e.cols = 4;
        e.attributes = {{"anim", "loop"}, {"framedelay", "70"}, {"framemap", "0,1,2,3,4,5,6,7"}};
        Canvas& c = *e.canvas;
        for (int k = 0; k < 8; ++k) {
            const double x = (k % 4) * 40, y = (k / 4) * 40;
            const double s = 1.0 + 0.08 * std::sin(k * M_PI / 4);
            cairo_save(c.cr());
            cairo_translate(c.cr(), x + 20, y + 20);
            cairo_scale(c.cr(), s * 0.92, s * 0.92);
            cairo_translate(c.cr(), -20, -20);
            injury(c, 0, 0);
            cairo_restore(c.cr());
        }
    }
    {
        ImageEntry& e =
            cat.add("IMAGE_YELLOW_CARD_ANIM", "images/pieces", "yellow_card_anim", 240, 40);
        e.cols = 6;
        e.attributes = {{"anim", "pingpong"},
                        {"framedelay", "60"},
                        {"begindelay", "200"},
                        {"perframedelay", "120,60,60,60,60,120"}};
        Canvas& c = *e.canvas;
        for (int k = 0; k < 6; ++k) {
            cairo_save(c.cr());
            cairo_translate(c.cr(), k * 40 + 20, 20);
            cairo_scale(c.cr(), std::max(0.12, std::cos(k * M_PI / 6)), 0.95);
            cairo_translate(c.cr(), -20, -20);
            yellowCard(c, 0, 0);
            cairo_restore(c.cr());
        }
    }
}

}  // namespace datagen
