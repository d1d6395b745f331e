#include "HudArt.h"

#include <cmath>

#include "Style.h"

namespace datagen {

using namespace palette;

namespace {

void boardFrame(Canvas& c) {
    // 300 x 300 at (180, 90); the pieces sit on a 7 x 7 grid of 40-pixel cells from (10, 10).
    c.dropShadow([&](Canvas& s) { s.roundRect(4, 4, 292, 292, 12), s.fill(black); }, 0, 3, 5,
                 Rgba{0, 0, 0, 0.6});
    c.roundRect(2, 2, 296, 296, 12);
    c.fillVertical(Rgba::hex(0x0e2a1a, 0.92), Rgba::hex(0x071a10, 0.92), 0, 300);
    for (int r = 0; r < 7; ++r)
        for (int col = 0; col < 7; ++col) {
            const double x = 10 + col * 40, y = 10 + r * 40;
            c.roundRect(x + 1.5, y + 1.5, 37, 37, 5);
            const bool light = (r + col) % 2 == 0;
            c.fillVertical(light ? Rgba::hex(0x3d9a49, 0.85) : Rgba::hex(0x2f8139, 0.85),
                           light ? Rgba::hex(0x2f8139, 0.85) : Rgba::hex(0x25702f, 0.85), y,
                           y + 40);
            c.roundRect(x + 2, y + 2, 36, 36, 5);
            c.stroke(Rgba{1, 1, 1, 0.10}, 1);
        }
    Style::goldRim(c, 3, 3, 294, 294, 11, 3);
    c.roundRect(7.5, 7.5, 285, 285, 8);
    c.stroke(Rgba{0, 0, 0, 0.35}, 1);
}

void opponentBackground(Canvas& c) {
    // 100 x 310 at (24, 90): a header with the goal (90..125) above a glass tube (125..391).
    Style::panel(c, 2, 2, 96, 306, 14);
    // The tube's inside, dark with a faint scale.
    c.roundRect(12, 35, 76, 266, 6);
    c.fillVertical(Rgba::hex(0x081226), Rgba::hex(0x0f1c3a), 35, 301);
    for (int k = 1; k < 10; ++k) {
        const double y = 301 - k * 26.6;
        cairo_move_to(c.cr(), 14, y);
        cairo_line_to(c.cr(), k % 2 ? 24 : 30, y);
        c.stroke(Rgba{1, 1, 1, 0.18}, 1);
        cairo_move_to(c.cr(), 86, y);
        cairo_line_to(c.cr(), k % 2 ? 76 : 70, y);
        c.stroke(Rgba{1, 1, 1, 0.18}, 1);
    }
}

void opponentFiller(Canvas& c) {
    // Stretched over the rising part of the tube: hot at the top, deep red below.
    cairo_rectangle(c.cr(), 0, 0, c.width(), c.height());
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, c.width(), 0);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.55, 0.05, 0.08);
    cairo_pattern_add_color_stop_rgb(p, 0.35, 0.93, 0.28, 0.20);
    cairo_pattern_add_color_stop_rgb(p, 0.55, 0.98, 0.45, 0.30);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.55, 0.05, 0.08);
    cairo_set_source(c.cr(), p);
    cairo_fill(c.cr());
    cairo_pattern_destroy(p);
    cairo_rectangle(c.cr(), 0, 0, c.width(), c.height());
    c.fillVertical(Rgba{1, 0.8, 0.3, 0.35}, Rgba{0, 0, 0, 0.25}, 0, c.height());
}

void opponentOverlay(Canvas& c) {
    // The frame around the tube and the goal at the top; the tube window stays clear.
    const double w = 100, h = 310;
    cairo_save(c.cr());
    cairo_set_fill_rule(c.cr(), CAIRO_FILL_RULE_EVEN_ODD);
    c.roundRect(2, 2, w - 4, h - 4, 14);
    c.roundRect(12, 35, 76, 266, 6);
    c.fillVertical(navyLight, navyDeep, 0, h);
    cairo_restore(c.cr());
    Style::goldRim(c, 3, 3, w - 6, h - 6, 13, 2);
    c.roundRect(11, 34, 78, 268, 7);
    c.stroke(gold, 1.5);
    // Glass shine down the left of the tube.
    c.roundRect(16, 38, 8, 260, 4);
    c.fillVertical(Rgba{1, 1, 1, 0.22}, Rgba{1, 1, 1, 0.05}, 38, 298);
    // The goal: posts, crossbar and net.
    const double gx = 22, gy = 9, gw = 56, gh = 20;
    for (int i = 0; i <= 7; ++i) {
        cairo_move_to(c.cr(), gx + i * gw / 7, gy);
        cairo_line_to(c.cr(), gx + i * gw / 7, gy + gh);
    }
    for (int j = 1; j <= 3; ++j) {
        cairo_move_to(c.cr(), gx, gy + j * gh / 4);
        cairo_line_to(c.cr(), gx + gw, gy + j * gh / 4);
    }
    c.stroke(Rgba{1, 1, 1, 0.45}, 0.8);
    cairo_move_to(c.cr(), gx, gy + gh + 1);
    cairo_line_to(c.cr(), gx, gy);
    cairo_line_to(c.cr(), gx + gw, gy);
    cairo_line_to(c.cr(), gx + gw, gy + gh + 1);
    cairo_set_line_cap(c.cr(), CAIRO_LINE_CAP_ROUND);
    c.stroke(white, 2.5);
}

void opponentArrow(Canvas& c) {
    // 100 x 14: a bright level line with arrowheads pointing in from both sides.
    const double w = 100, h = 14, mid = h / 2;
    c.glow([&](Canvas& s) { cairo_rectangle(s.cr(), 12, mid - 1.5, 76, 3), s.fill(white); }, 4,
           Rgba{1, 0.85, 0.4, 0.9});
    cairo_rectangle(c.cr(), 12, mid - 1.2, 76, 2.4);
    c.fill(goldLight);
    for (int side : {-1, 1}) {
        const double tip = side < 0 ? 14 : w - 14, back = side < 0 ? 1 : w - 1;
        c.polygon({{back, mid - 6}, {tip, mid}, {back, mid + 6}});
        c.fillVertical(goldLight, goldDark, mid - 6, mid + 6, true);
        c.stroke(navyDeep, 1);
    }
}

void powerupBackground(Canvas& c) {
    c.roundRect(2, 2, 56, 56, 10);
    c.fillRadial(tealLight, tealDark, 30, 24, 42);
    c.roundRect(6, 6, 48, 48, 8);
    c.stroke(Rgba{1, 1, 1, 0.12}, 1);
}

void powerupFiller(Canvas& c) {
    // Stretched over the empty part of a meter: a dark veil.
    cairo_rectangle(c.cr(), 0, 0, 60, 60);
    c.fill(Rgba::hex(0x050b1a, 0.62));
}

void powerupOverlay(Canvas& c) {
    // A square frame with a rounded window: its corners hide the square edges of the meter's
    // veil, which is stretched to any height.
    cairo_save(c.cr());
    cairo_set_fill_rule(c.cr(), CAIRO_FILL_RULE_EVEN_ODD);
    c.roundRect(0, 0, 60, 60, 5);
    c.roundRect(3, 3, 54, 54, 9);
    c.fillVertical(navyLight, navyDeep, 0, 60);
    cairo_restore(c.cr());
    Style::goldRim(c, 2, 2, 56, 56, 10, 3);
    c.roundRect(4.5, 4.5, 51, 51, 8);
    c.stroke(navyDeep.withAlpha(0.8), 1);
    Style::gloss(c, 4, 4, 52, 52, 8, 0.25);
}

void scoreBackground(Canvas& c) {
    c.roundRect(1, 1, 58, 38, 8);
    c.fillVertical(Rgba::hex(0xfffbef), Rgba::hex(0xe3d6b4), 1, 39);
}

void scoreOverlay(Canvas& c) {
    Style::goldRim(c, 1.5, 1.5, 57, 37, 8, 2.5);
    c.roundRect(4, 4, 52, 32, 6);
    c.stroke(navy.withAlpha(0.55), 1);
    Style::gloss(c, 3, 3, 54, 34, 6, 0.35);
}

void pointsBackground(Canvas& c) {
    const double w = c.width(), h = c.height();
    c.dropShadow([&](Canvas& s) { s.roundRect(1, 1, w - 2, h - 2, h / 2), s.fill(black); }, 0, 1.5,
                 2.5, Rgba{0, 0, 0, 0.5});
    c.roundRect(1, 1, w - 2, h - 2, h / 2);
    c.fillVertical(navyLight, navyDeep, 0, h);
    Style::goldRim(c, 1, 1, w - 2, h - 2, h / 2 - 0.5, 1.5);
    c.roundRect(4, 4, 50, h - 8, (h - 8) / 2);
    c.fill(gold);
    TextStyle t = Style::label(10, navyDeep);
    c.textInBox(4, 4, 50, h - 8, "POINTS", t);
}

void humanIndicator(Canvas& c) {
    // 20 x 44: a gold pennant with a star marking the player's side.
    c.dropShadow(
        [&](Canvas& s) {
            s.polygon({{2, 0}, {18, 0}, {18, 40}, {10, 33}, {2, 40}}), s.fill(black);
        },
        1, 1.5, 2, Rgba{0, 0, 0, 0.5});
    c.polygon({{2, 0}, {18, 0}, {18, 40}, {10, 33}, {2, 40}});
    c.fillVertical(goldLight, goldDark, 0, 40, true);
    c.stroke(navyDeep, 1);
    std::vector<std::pair<double, double>> star;
    for (int k = 0; k < 10; ++k) {
        const double a = -M_PI / 2 + k * M_PI / 5, r = k % 2 ? 2.6 : 6;
        star.push_back({10 + r * std::cos(a), 15 + r * std::sin(a)});
    }
    c.polygon(star);
    c.fill(navyDeep);
    TextStyle t = Style::label(7, navyDeep);
    c.textInBox(0, 22, 20, 8, "YOU", t);
}

void timeFrame(Canvas& c, bool extra) {
    // 220 x 40 at (280, 388): a stopwatch and label on the left, the bar's slot from x 60.
    const double w = c.width(), h = c.height();
    c.dropShadow([&](Canvas& s) { s.roundRect(2, 2, w - 4, h - 4, 12), s.fill(black); }, 0, 2, 4,
                 Rgba{0, 0, 0, 0.55});
    c.roundRect(2, 2, w - 4, h - 4, 12);
    c.fillVertical(extra ? Rgba::hex(0x6b2a4a) : navyLight, extra ? Rgba::hex(0x35102a) : navyDeep,
                   0, h);
    Style::goldRim(c, 2, 2, w - 4, h - 4, 12, 2);
    // Stopwatch.
    const double cx = 18, cy = 21;
    c.roundRect(cx - 2.5, cy - 14, 5, 4, 1);
    c.fill(gold);
    c.circle(cx, cy, 10);
    c.fillVertical(goldLight, goldDark, cy - 10, cy + 10, true);
    c.stroke(navyDeep, 1);
    c.circle(cx, cy, 7);
    c.fill(cream);
    cairo_move_to(c.cr(), cx, cy);
    cairo_line_to(c.cr(), cx + 4, cy - 4);
    c.stroke(red, 1.4);
    TextStyle t = Style::label(extra ? 8.5 : 10.5, goldLight);
    c.textInBox(29, 0, 30, h, extra ? "EXTRA" : "TIME", t);
}

void timeBarBackground(Canvas& c) {
    const double w = c.width(), h = c.height();
    c.roundRect(0.5, 0.5, w - 1, h - 1, h / 2);
    c.fillVertical(Rgba::hex(0x050b18), Rgba::hex(0x18264a), 0, h, true);
    c.stroke(gold.withAlpha(0.9), 1);
}

void timeBar(Canvas& c) {
    // Stretched horizontally as time runs out; rounded ends survive the stretch well enough.
    const double w = c.width(), h = c.height();
    c.roundRect(0, 0, w, h, h / 2);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.95, 0.75, 0.20);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.30, 0.85, 0.45);
    cairo_set_source(c.cr(), p);
    cairo_fill(c.cr());
    cairo_pattern_destroy(p);
    c.roundRect(2, 1, w - 4, h / 2 - 1, h / 4);
    c.fill(Rgba{1, 1, 1, 0.35});
}

void clockBackground(Canvas& c) {
    c.circle(25, 25, 23);
    c.fillVertical(goldLight, goldDark, 2, 48, true);
    c.stroke(navyDeep, 1.2);
    c.circle(25, 25, 19);
    c.fillRadial(cream, creamDark, 20, 18, 26);
    for (int k = 0; k < 12; ++k) {
        const double a = k * M_PI / 6;
        cairo_move_to(c.cr(), 25 + 15 * std::cos(a), 25 + 15 * std::sin(a));
        cairo_line_to(c.cr(), 25 + 18 * std::cos(a), 25 + 18 * std::sin(a));
        c.stroke(navy, k % 3 ? 1 : 2);
    }
}

void banner(Canvas& c, const std::string& text, const Rgba& accent) {
    // 390 x 100, slid in to x 130 at y 49: a ribbon across the board.
    const double w = c.width(), h = c.height();
    auto ribbon = [&](Canvas& s) {
        s.polygon({{6, 22},
                   {w - 6, 22},
                   {w - 22, h / 2 + 11},
                   {w - 6, h - 14},
                   {6, h - 14},
                   {22, h / 2 + 11}});
    };
    c.dropShadow([&](Canvas& s) { ribbon(s), s.fill(black); }, 0, 4, 6, Rgba{0, 0, 0, 0.6});
    ribbon(c);
    c.fillVertical(navyLight, navyDeep, 22, h - 14, true);
    c.stroke(gold, 2.5);
    cairo_rectangle(c.cr(), 30, 27, w - 60, 3);
    c.fill(accent.withAlpha(0.9));
    cairo_rectangle(c.cr(), 30, h - 22, w - 60, 3);
    c.fill(accent.withAlpha(0.9));
    TextStyle t = Style::label(40, goldLight);
    t.outline = 2;
    t.outlineColor = navyDeep;
    t.shadow = true;
    t.letterSpacing = 2;
    c.textInBox(0, 22, w, h - 36, text, t);
    // Sparkles at the ribbon ends.
    for (double sx : {44.0, w - 44}) {
        std::vector<std::pair<double, double>> star;
        for (int k = 0; k < 8; ++k) {
            const double a = k * M_PI / 4, r = k % 2 ? 3 : 9;
            star.push_back({sx + r * std::cos(a), h / 2 + 4 + r * std::sin(a)});
        }
        c.polygon(star);
        c.fill(accent);
    }
}

}  // namespace

void HudArt::build(ResourceCatalog& cat) {
    boardFrame(*cat.add("IMAGE_BOARD_BACKGROUND", "images/match", "board", 300, 300).canvas);
    opponentBackground(
        *cat.add("IMAGE_OPPOSING_TEAM_BACKGROUND", "images/match", "opponent_tube", 100, 310)
             .canvas);
    opponentFiller(*cat.add("IMAGE_OPPOSING_TEAM_FILLER", "images/match", "opponent_bar", 100, 45,
                            ImageStore::Jpeg)
                        .canvas);
    opponentOverlay(*cat.add("IMAGE_OPPOSING_TEAM_OVERLAY", "images/match", "opponent_frame", 100,
                             310, ImageStore::JpegPlusAlpha)
                         .canvas);
    opponentArrow(*cat.add("IMAGE_OPPOSING_TEAM_ARROW", "images/match", "opponent_level", 100, 14,
                           ImageStore::Tga)
                       .canvas);
    powerupBackground(
        *cat.add("IMAGE_POWERUP_BACKGROUND", "images/match", "powerup", 60, 60).canvas);
    powerupFiller(*cat.add("IMAGE_POWERUP_FILLER", "images/match", "powerup_veil", 60, 60).canvas);
    powerupOverlay(
        *cat.add("IMAGE_POWERUP_OVERLAY", "images/match", "powerup_rim", 60, 60, ImageStore::Tga)
             .canvas);
    scoreBackground(*cat.add("IMAGE_SCORE_BACKGROUND", "images/match", "score", 60, 40).canvas);
    scoreOverlay(*cat.add("IMAGE_SCORE_OVERLAY", "images/match", "score_glass", 60, 40).canvas);
    pointsBackground(*cat.add("IMAGE_POINTS_BACKGROUND", "images/match", "points", 130, 22).canvas);
    humanIndicator(
        *cat.add("IMAGE_HUMAN_TEAM_INDICATOR", "images/match", "player_marker", 20, 44).canvas);
    timeFrame(*cat.add("IMAGE_TIME_MAIN_BACKGROUND", "images/match", "time_frame", 220, 40).canvas,
              false);
    timeFrame(
        *cat.add("IMAGE_EXTRA_TIME_MAIN_BACKGROUND", "images/match", "extra_time_frame", 220, 40)
             .canvas,
        true);
    timeBarBackground(
        *cat.add("IMAGE_TIME_BAR_BACKGROUND", "images/match", "time_slot", 150, 18).canvas);
    timeBar(*cat.add("IMAGE_TIME_BAR", "images/match", "time_bar", 146, 14).canvas);
    clockBackground(*cat.add("IMAGE_CLOCK_BACKGROUND", "images/match", "clock", 50, 50).canvas);

    struct Message {
        const char* id;
        const char* file;
        const char* text;
        Rgba accent;
    };
    const Message messages[] = {
        {"IMAGE_READY_MESSAGE", "ready", "READY?", tealLight},
        {"IMAGE_GO_MESSAGE", "go", "GO!", Rgba::hex(0x5be37d)},
        {"IMAGE_KICKOFF_MESSAGE", "kickoff", "KICK OFF", tealLight},
        {"IMAGE_TIME_UP_MESSAGE", "time_up", "TIME UP", Rgba::hex(0xff6b5e)},
        {"IMAGE_EXTRA_TIME_MESSAGE", "extra_time_banner", "EXTRA TIME", Rgba::hex(0xd98cff)},
        {"IMAGE_GOAL_MESSAGE", "goal", "GOAL!", goldLight},
    };
    for (const Message& m : messages)
        banner(*cat.add(m.id, "images/banners", m.file, 390, 100).canvas, m.text, m.accent);
}

}  // namespace datagen
