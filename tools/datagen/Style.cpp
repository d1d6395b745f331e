#include "Style.h"

#include <cmath>

namespace datagen {

using namespace palette;

TextStyle Style::label(double px, const Rgba& color) {
    TextStyle t;
    t.px = px;
    t.color = color;
    return t;
}

void Style::panel(Canvas& c, double x, double y, double w, double h, double radius, bool shadow) {
    if (shadow) {
        c.dropShadow(
            [&](Canvas& s) { s.roundRect(x + 1, y + 1, w - 2, h - 2, radius), s.fill(black); }, 0,
            3, 6, Rgba{0, 0, 0, 0.55});
    }
    c.roundRect(x, y, w, h, radius);
    c.fillVertical(navyLight, navyDeep, y, y + h);
    c.roundRect(x + 3, y + 3, w - 6, h - 6, std::max(0.0, radius - 2));
    c.stroke(Rgba{1, 1, 1, 0.08}, 1);
    goldRim(c, x + 1, y + 1, w - 2, h - 2, radius - 0.5, 2);
}

void Style::card(Canvas& c, double x, double y, double w, double h, double radius) {
    c.roundRect(x, y, w, h, radius);
    c.fillVertical(cream, creamDark, y, y + h);
    c.roundRect(x + 0.5, y + 0.5, w - 1, h - 1, radius);
    c.stroke(goldDark.withAlpha(0.8), 1);
}

void Style::goldRim(Canvas& c, double x, double y, double w, double h, double radius,
                    double width) {
    c.roundRect(x, y, w, h, radius);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(p, 0, goldLight.r, goldLight.g, goldLight.b);
    cairo_pattern_add_color_stop_rgb(p, 0.5, gold.r, gold.g, gold.b);
    cairo_pattern_add_color_stop_rgb(p, 1, goldDark.r, goldDark.g, goldDark.b);
    cairo_set_source(c.cr(), p);
    cairo_set_line_width(c.cr(), width);
    cairo_stroke(c.cr());
    cairo_pattern_destroy(p);
}

void Style::gloss(Canvas& c, double x, double y, double w, double h, double radius,
                  double strength) {
    cairo_save(c.cr());
    c.roundRect(x, y, w, h, radius);
    cairo_clip(c.cr());
    c.roundRect(x - w * 0.1, y - h * 0.55, w * 1.2, h * 1.0, h * 0.5);
    c.fillVertical(Rgba{1, 1, 1, strength}, Rgba{1, 1, 1, strength * 0.15}, y, y + h * 0.45);
    cairo_restore(c.cr());
}

void Style::button(Canvas& c, const std::string& text, ButtonLook look) {
    const double w = c.width(), h = c.height(), r = h * 0.42;
    Rgba top = tealLight, bottom = tealDark, labelColor = cream;
    if (look == ButtonLook::Pressed) {
        top = tealDark;
        bottom = teal;
        labelColor = goldLight;
    } else if (look == ButtonLook::Disabled) {
        top = Rgba::hex(0x8a9196);
        bottom = Rgba::hex(0x555c61);
        labelColor = Rgba::hex(0xd5d8da);
    } else if (look == ButtonLook::Green) {
        top = Rgba::hex(0x4cc46a);
        bottom = Rgba::hex(0x1b7a35);
    } else if (look == ButtonLook::Red) {
        top = Rgba::hex(0xe0575c);
        bottom = Rgba::hex(0x8e1c22);
    }
    c.dropShadow([&](Canvas& s) { s.roundRect(2, 2, w - 4, h - 4, r), s.fill(black); }, 0, 1.5, 2.5,
                 Rgba{0, 0, 0, 0.6});
    c.roundRect(1.5, 1.5, w - 3, h - 3.5, r);
    c.fillVertical(top, bottom, 1.5, h - 2);
    if (look != ButtonLook::Pressed)
        gloss(c, 3, 3, w - 6, h - 6, r - 1, 0.45);
    else {
        c.roundRect(2.5, 2.5, w - 5, h - 5.5, r);
        c.stroke(Rgba{0, 0, 0, 0.35}, 2);
    }
    goldRim(c, 1.5, 1.5, w - 3, h - 3.5, r, look == ButtonLook::Disabled ? 1.0 : 1.6);
    TextStyle t = label(std::round(h * 0.5), labelColor);
    t.outline = look == ButtonLook::Disabled ? 0 : 1.1;
    t.outlineColor = look == ButtonLook::Disabled ? Rgba{0, 0, 0, 0} : navyDeep.withAlpha(0.85);
    const double dy = look == ButtonLook::Pressed ? 0.5 : -0.5;
    c.textInBox(0, dy, w, h - 1, text, t);
}

void Style::plate(Canvas& c, const std::string& text, double px, bool dark) {
    const double w = c.width(), h = c.height();
    const double notch = h * 0.35;
    auto shape = [&](Canvas& s) {
        s.polygon({{1, 1},
                   {w - 1, 1},
                   {w - 1 - notch, h / 2},
                   {w - 1, h - 1},
                   {1, h - 1},
                   {1 + notch, h / 2}});
    };
    shape(c);
    if (dark)
        c.fillVertical(navyLight, navy, 0, h, true);
    else
        c.fillVertical(goldLight, gold, 0, h, true);
    c.stroke(dark ? gold : goldDark, 1.2);
    TextStyle t = label(px, dark ? goldLight : navyDeep);
    t.outline = dark ? 1 : 0;
    c.textInBox(0, 0, w, h, text, t);
}

void Style::pitch(Canvas& c, double x, double y, double w, double h, double stripe) {
    cairo_save(c.cr());
    cairo_rectangle(c.cr(), x, y, w, h);
    cairo_clip(c.cr());
    cairo_rectangle(c.cr(), x, y, w, h);
    c.fill(palette::pitch);
    for (int i = 0; x + i * stripe < x + w; i += 2) {
        cairo_rectangle(c.cr(), x + i * stripe, y, stripe, h);
        c.fill(Rgba{1, 1, 1, 0.06});
    }
    // Light falls off towards the edges.
    cairo_rectangle(c.cr(), x, y, w, h);
    c.fillRadial(Rgba{1, 1, 0.8, 0.10}, Rgba{0, 0, 0, 0.30}, x + w / 2, y + h * 0.45,
                 std::max(w, h) * 0.75);
    cairo_restore(c.cr());
}

void Style::stadium(Canvas& c, double pitchTop, uint32_t seed) {
    const double w = c.width(), h = c.height();
    // Evening sky.
    cairo_rectangle(c.cr(), 0, 0, w, pitchTop);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, pitchTop);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.03, 0.05, 0.14);
    cairo_pattern_add_color_stop_rgb(sky, 0.6, 0.10, 0.16, 0.34);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.30, 0.25, 0.38);
    cairo_set_source(c.cr(), sky);
    cairo_fill(c.cr());
    cairo_pattern_destroy(sky);
    // A few stars.
    for (int i = 0; i < 60; ++i) {
        const double sx = Canvas::noise(i, 1, seed) * w,
                     sy = Canvas::noise(i, 2, seed) * pitchTop * 0.5;
        c.circle(sx, sy, 0.5 + Canvas::noise(i, 3, seed) * 0.7);
        c.fill(Rgba{1, 1, 1, 0.25 + 0.5 * Canvas::noise(i, 4, seed)});
    }
    // Stands: tiers of seats with a crowd of specks.
    const double standTop = pitchTop - h * 0.16;
    c.polygon({{0, standTop + 20},
               {w * 0.5, standTop},
               {w, standTop + 20},
               {w, pitchTop},
               {0, pitchTop}});
    c.fillVertical(Rgba::hex(0x1a2546), Rgba::hex(0x0d1428), standTop, pitchTop);
    for (double y = standTop + 6; y < pitchTop - 2; y += 4) {
        for (double x = 0; x < w; x += 3) {
            const double n = Canvas::noise(static_cast<int>(x), static_cast<int>(y), seed + 7);
            if (n < 0.55) continue;
            const Rgba colors[] = {Rgba::hex(0x9aa7c7), Rgba::hex(0xc94b4b), Rgba::hex(0xe0c060),
                                   Rgba::hex(0x5f8fd0), Rgba::hex(0xd8d8d8)};
            cairo_rectangle(c.cr(), x, y, 2, 2);
            c.fill(colors[static_cast<int>(n * 97) % 5].withAlpha(0.35));
        }
    }
    // Roof line and floodlights.
    cairo_rectangle(c.cr(), 0, standTop - 3, w, 3);
    c.fill(Rgba::hex(0x2b3658));
    for (double fx : {w * 0.12, w * 0.88}) {
        const double fy = standTop - h * 0.09;
        c.glow([&](Canvas& s) { s.roundRect(fx - 22, fy - 8, 44, 16, 4), s.fill(white); }, 30,
               Rgba{1, 0.95, 0.8, 0.8});
        c.roundRect(fx - 22, fy - 8, 44, 16, 4);
        c.fill(Rgba::hex(0xfff6dc));
        for (int k = 0; k < 4; ++k) {
            c.circle(fx - 15 + k * 10, fy, 3);
            c.fill(white);
        }
        cairo_rectangle(c.cr(), fx - 2, fy + 8, 4, standTop - fy);
        c.fill(Rgba::hex(0x3a4566));
    }
    // Light haze over the pitch edge.
    cairo_rectangle(c.cr(), 0, pitchTop - 30, w, 60);
    c.fillVertical(Rgba{1, 1, 0.9, 0.0}, Rgba{1, 1, 0.9, 0.08}, pitchTop - 30, pitchTop + 30);
    // The pitch.
    Style::pitch(c, 0, pitchTop, w, h - pitchTop, w / 16);
}

void Style::titleLettering(Canvas& c, double cx, double baseline, double px) {
    TextStyle t = label(px, goldLight);
    t.align = Align::Center;
    t.letterSpacing = px * 0.02;
    c.dropShadow(
        [&](Canvas& s) {
            TextStyle u = t;
            u.color = black;
            u.outline = px * 0.06;
            u.outlineColor = black;
            s.text(cx, baseline, "Kelvane", u);
        },
        0, px * 0.06, px * 0.08, Rgba{0, 0, 0, 0.7});
    t.outline = px * 0.05;
    t.outlineColor = navyDeep;
    c.text(cx, baseline, "Kelvane", t);
    // A gold gradient face over the lettering.
    cairo_save(c.cr());
    TextStyle face = t;
    face.outline = 0;
    Canvas mask(c.width(), c.height());
    face.color = white;
    mask.text(cx, baseline, "Kelvane", face);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, baseline - px * 0.75, 0, baseline);
    cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.95, 0.70);
    cairo_pattern_add_color_stop_rgb(p, 0.5, gold.r, gold.g, gold.b);
    cairo_pattern_add_color_stop_rgb(p, 1, goldDark.r, goldDark.g, goldDark.b);
    cairo_set_source(c.cr(), p);
    cairo_mask_surface(c.cr(), mask.surface(), 0, 0);
    cairo_pattern_destroy(p);
    cairo_restore(c.cr());
}

void Style::ball(Canvas& c, double cx, double cy, double r, double rotation) {
    cairo_t* cr = c.cr();
    c.circle(cx, cy, r);
    c.fillRadial(white, Rgba::hex(0xc9ced6), cx - r * 0.35, cy - r * 0.4, r * 1.5);
    cairo_save(cr);
    c.circle(cx, cy, r);
    cairo_clip(cr);
    // Black pentagons: one in the middle and five around it, foreshortened towards the rim.
    auto pentagon = [&](double px, double py, double pr, double rot, double radial, double dir) {
        cairo_save(cr);
        cairo_translate(cr, px, py);
        cairo_rotate(cr, dir);
        cairo_scale(cr, radial, 1.0);
        cairo_rotate(cr, -dir);
        std::vector<std::pair<double, double>> pts;
        for (int k = 0; k < 5; ++k) {
            const double a = rot + k * 2 * M_PI / 5 - M_PI / 2;
            pts.push_back({pr * std::cos(a), pr * std::sin(a)});
        }
        c.polygon(pts);
        cairo_restore(cr);
        c.fill(Rgba::hex(0x15171c));
    };
    const double seam = std::max(0.7, r * 0.045);
    for (int k = 0; k < 5; ++k) {
        // Seams run out from the middle pentagon's corners between the hexagons around it; the
        // outer pentagons lie beyond those hexagons, in the directions of the middle edges.
        const double a = rotation + k * 2 * M_PI / 5 - M_PI / 2;
        cairo_move_to(cr, cx + r * 0.3 * std::cos(a), cy + r * 0.3 * std::sin(a));
        cairo_line_to(cr, cx + r * 1.05 * std::cos(a), cy + r * 1.05 * std::sin(a));
        c.stroke(Rgba::hex(0x8a909b), seam);
        const double b = a + M_PI / 5;
        pentagon(cx + r * 0.9 * std::cos(b), cy + r * 0.9 * std::sin(b), r * 0.3,
                 rotation + M_PI / 5, 0.6, b);
    }
    pentagon(cx, cy, r * 0.32, rotation, 1.0, 0.0);
    // Shading and a highlight.
    c.circle(cx, cy, r);
    c.fillRadial(Rgba{1, 1, 1, 0}, Rgba{0, 0, 0.1, 0.28}, cx - r * 0.3, cy - r * 0.35, r * 1.45);
    c.circle(cx - r * 0.38, cy - r * 0.42, r * 0.28);
    c.fillRadial(Rgba{1, 1, 1, 0.75}, Rgba{1, 1, 1, 0}, cx - r * 0.38, cy - r * 0.42, r * 0.28);
    cairo_restore(cr);
    c.circle(cx, cy, r - 0.4);
    c.stroke(Rgba::hex(0x2a2d33), std::max(0.8, r * 0.05));
}

void Style::trophy(Canvas& c, double cx, double bottom, double height) {
    const double s = height / 100.0;
    auto goldFill = [&](double y0, double y1) {
        cairo_pattern_t* p = cairo_pattern_create_linear(cx - 30 * s, 0, cx + 30 * s, 0);
        cairo_pattern_add_color_stop_rgb(p, 0, goldDark.r, goldDark.g, goldDark.b);
        cairo_pattern_add_color_stop_rgb(p, 0.35, goldLight.r, goldLight.g, goldLight.b);
        cairo_pattern_add_color_stop_rgb(p, 0.7, gold.r, gold.g, gold.b);
        cairo_pattern_add_color_stop_rgb(p, 1, goldDark.r, goldDark.g, goldDark.b);
        cairo_set_source(c.cr(), p);
        cairo_fill(c.cr());
        cairo_pattern_destroy(p);
        (void)y0;
        (void)y1;
    };
    c.dropShadow(
        [&](Canvas& m) {
            m.roundRect(cx - 24 * s, bottom - 14 * s, 48 * s, 14 * s, 2 * s);
            m.fill(black);
            m.circle(cx, bottom - 70 * s, 28 * s);
            m.fill(black);
        },
        2 * s, 3 * s, 5 * s, Rgba{0, 0, 0, 0.5});
    // Base.
    c.roundRect(cx - 24 * s, bottom - 14 * s, 48 * s, 14 * s, 2 * s);
    c.fill(Rgba::hex(0x3b2a1a));
    cairo_rectangle(c.cr(), cx - 20 * s, bottom - 10 * s, 40 * s, 3 * s);
    c.fill(gold);
    // Stem.
    c.polygon({{cx - 6 * s, bottom - 40 * s},
               {cx + 6 * s, bottom - 40 * s},
               {cx + 12 * s, bottom - 14 * s},
               {cx - 12 * s, bottom - 14 * s}});
    goldFill(0, 0);
    // Handles.
    for (int side : {-1, 1}) {
        cairo_new_sub_path(c.cr());
        cairo_arc(c.cr(), cx + side * 28 * s, bottom - 74 * s, 11 * s, 0, 2 * M_PI);
        c.stroke(gold, 5 * s);
    }
    // Cup.
    cairo_move_to(c.cr(), cx - 30 * s, bottom - 96 * s);
    cairo_line_to(c.cr(), cx + 30 * s, bottom - 96 * s);
    cairo_curve_to(c.cr(), cx + 30 * s, bottom - 60 * s, cx + 14 * s, bottom - 42 * s, cx,
                   bottom - 40 * s);
    cairo_curve_to(c.cr(), cx - 14 * s, bottom - 42 * s, cx - 30 * s, bottom - 60 * s, cx - 30 * s,
                   bottom - 96 * s);
    cairo_close_path(c.cr());
    goldFill(0, 0);
    c.roundRect(cx - 31 * s, bottom - 99 * s, 62 * s, 5 * s, 2 * s);
    c.fill(goldLight);
    // Star emblem.
    std::vector<std::pair<double, double>> star;
    for (int k = 0; k < 10; ++k) {
        const double a = -M_PI / 2 + k * M_PI / 5, rr = (k % 2 ? 4.5 : 10) * s;
        star.push_back({cx + rr * std::cos(a), bottom - 72 * s + rr * std::sin(a)});
    }
    c.polygon(star);
    c.fill(Rgba{1, 1, 1, 0.85});
}

}  // namespace datagen
