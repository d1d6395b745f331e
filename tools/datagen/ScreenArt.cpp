#include "ScreenArt.h"

#include <cmath>

#include "PieceArt.h"
#include "Style.h"

namespace datagen {

using namespace palette;

namespace {

void chalkLines(Canvas& c, double top) {
    cairo_t* cr = c.cr();
    const double w = c.width(), h = c.height();
    cairo_rectangle(cr, 12, top + 8, w - 24, h - top - 20);
    cairo_move_to(cr, w / 2, top + 8);
    cairo_line_to(cr, w / 2, h - 12);
    cairo_new_sub_path(cr);
    cairo_arc(cr, w / 2, (top + h) / 2, 70, 0, 2 * M_PI);
    for (int side : {0, 1}) {
        const double x0 = side ? w - 12 : 12, dir = side ? -1 : 1;
        cairo_move_to(cr, x0, (top + h) / 2 - 110);
        cairo_line_to(cr, x0 + dir * 90, (top + h) / 2 - 110);
        cairo_line_to(cr, x0 + dir * 90, (top + h) / 2 + 110);
        cairo_line_to(cr, x0, (top + h) / 2 + 110);
    }
    c.stroke(Rgba{1, 1, 1, 0.55}, 2);
}

void vignette(Canvas& c, double strength) {
    cairo_rectangle(c.cr(), 0, 0, c.width(), c.height());
    c.fillRadial(Rgba{0, 0, 0, 0}, Rgba{0, 0, 0, strength}, c.width() / 2, c.height() / 2,
                 c.width() * 0.75);
}

void orlendSplash(Canvas& c) {
    const double w = c.width(), h = c.height();
    cairo_rectangle(c.cr(), 0, 0, w, h);
    c.fillRadial(Rgba::hex(0x1d3566), Rgba::hex(0x050a18), w / 2, h * 0.45, w * 0.7);
    // Emblem: a gold ring around a stylised O crossed by a swoosh.
    const double cx = w / 2, cy = 185;
    c.glow([&](Canvas& s) { s.circle(cx, cy, 70), s.fill(white); }, 40, Rgba{1, 0.85, 0.4, 0.35});
    c.circle(cx, cy, 70);
    c.fillVertical(goldLight, goldDark, cy - 70, cy + 70, true);
    c.stroke(navyDeep, 2);
    c.circle(cx, cy, 58);
    c.fillRadial(navyLight, navyDeep, cx - 15, cy - 20, 80);
    cairo_new_sub_path(c.cr());
    cairo_arc(c.cr(), cx, cy, 34, 0, 2 * M_PI);
    c.stroke(goldLight, 11);
    cairo_move_to(c.cr(), cx - 62, cy + 22);
    cairo_curve_to(c.cr(), cx - 20, cy - 10, cx + 20, cy - 30, cx + 64, cy - 26);
    c.stroke(tealLight, 6);
    TextStyle t = Style::label(64, goldLight);
    t.align = Align::Center;
    t.outline = 2;
    t.shadow = true;
    t.letterSpacing = 4;
    c.text(cx, 345, "Orlend", t);
    TextStyle s = Style::label(18, cream);
    s.align = Align::Center;
    s.bold = false;
    s.letterSpacing = 6;
    c.text(cx, 385, "G A M E S", s);
    TextStyle p = Style::label(14, Rgba::hex(0x9fb2d8));
    p.align = Align::Center;
    p.bold = false;
    c.text(cx, 440, "presents", p);
}

void kelvaneSplash(Canvas& c) {
    Style::stadium(c, 250, 11);
    chalkLines(c, 250);
    vignette(c, 0.55);
    const double cx = c.width() / 2;
    c.dropShadow([&](Canvas& s) { s.circle(cx, 330, 62), s.fill(black); }, 6, 10, 12,
                 Rgba{0, 0, 0, 0.6});
    Style::ball(c, cx, 330, 62, 0.3);
    Style::titleLettering(c, cx, 190, 110);
    TextStyle t = Style::label(20, cream);
    t.align = Align::Center;
    t.shadow = true;
    c.text(cx, 440, "The soccer puzzle under the floodlights", t);
}

void startScreen(Canvas& c, bool demo) {
    Style::stadium(c, 260, 21);
    chalkLines(c, 260);
    vignette(c, 0.5);
    // A strip for the three buttons at y 60.
    Style::panel(c, 160, 46, 320, 58, 16);
    Style::titleLettering(c, c.width() / 2, 230, 96);
    TextStyle t = Style::label(18, cream);
    t.align = Align::Center;
    t.shadow = true;
    c.text(c.width() / 2, 270, "Line up three. Score goals. Beat the world.", t);
    // Pieces scattered on the pitch in front of the title.
    const double px[] = {120, 210, 300, 390, 480};
    void (*draw[])(Canvas&, double, double) = {PieceArt::yellowCard, PieceArt::whiteBall,
                                               PieceArt::redCard, PieceArt::injury,
                                               PieceArt::offsideFlag};
    for (int i = 0; i < 5; ++i) {
        cairo_save(c.cr());
        cairo_translate(c.cr(), px[i] + 20, 360 + (i % 2) * 24 + 20);
        cairo_scale(c.cr(), 1.6, 1.6);
        cairo_translate(c.cr(), -20, -20);
        draw[i](c, 0, 0);
        cairo_restore(c.cr());
    }
    TextStyle f = Style::label(11, Rgba{1, 1, 1, 0.7});
    f.bold = false;
    f.align = Align::Center;
    c.text(c.width() / 2, 468, "Orlend Games", f);
    if (demo) {
        cairo_save(c.cr());
        cairo_translate(c.cr(), c.width() - 70, 70);
        cairo_rotate(c.cr(), M_PI / 4);
        cairo_rectangle(c.cr(), -110, -16, 220, 32);
        c.fillVertical(Rgba::hex(0xe0575c), Rgba::hex(0x8e1c22), -16, 16);
        TextStyle d = Style::label(18, white);
        d.align = Align::Center;
        d.letterSpacing = 3;
        c.text(0, 7, "DEMO", d);
        cairo_restore(c.cr());
    }
}

void heading(Canvas& c, double y, const std::string& text, double width) {
    const double x = (c.width() - width) / 2;
    Style::panel(c, x, y, width, 48, 20);
    TextStyle t = Style::label(26, goldLight);
    t.outline = 1.5;
    c.textInBox(x, y, width, 48, text, t);
}

void gameTypeScreen(Canvas& c) {
    Style::stadium(c, 200, 31);
    chalkLines(c, 200);
    vignette(c, 0.6);
    heading(c, 92, "Choose your game", 340);
    // Soft pads under the two tiles at (160, 165) and (330, 165).
    for (double x : {150.0, 320.0}) {
        c.roundRect(x, 155, 170, 170, 22);
        c.fill(Rgba{0, 0, 0, 0.25});
    }
    TextStyle t = Style::label(13, cream);
    t.align = Align::Center;
    t.shadow = true;
    t.bold = false;
    c.paragraph(160, 334, 150, "Two nations, one match", t);
    c.paragraph(330, 334, 150, "46 teams, one world", t);
}

void teamPickingScreen(Canvas& c) {
    Style::stadium(c, 180, 41);
    vignette(c, 0.65);
    heading(c, 40, "Pick your nation", 320);
    // The table the eight rows (x 100..540, y 115..393) stand on.
    c.roundRect(86, 104, 468, 300, 14);
    c.fill(Rgba::hex(0x0a1530, 0.72));
    Style::goldRim(c, 87, 105, 466, 298, 13, 1.5);
    // The strip the chosen team is shown on (y 400..430).
    c.roundRect(190, 396, 310, 38, 10);
    c.fill(Rgba::hex(0x0a1530, 0.75));
}

void mainScreen(Canvas& c) {
    Style::stadium(c, 70, 51);
    chalkLines(c, 70);
    vignette(c, 0.35);
    // Scoreboard band: team names are drawn in black at x <= 202 and from x 372 (y about 38..58).
    c.dropShadow([&](Canvas& s) { s.roundRect(36, 32, 568, 30, 15), s.fill(black); }, 0, 2, 4,
                 Rgba{0, 0, 0, 0.5});
    c.roundRect(36, 32, 568, 30, 15);
    c.fillVertical(cream, creamDark, 32, 62, true);
    c.stroke(goldDark, 1.5);
    // Power-up column at x 490..550 with the counts drawn in black at x 580.
    Style::panel(c, 482, 82, 152, 290, 14);
    for (int i = 0; i < 4; ++i) {
        const double y0 = 90 + 70 * i;
        c.roundRect(558, y0 + 15, 68, 32, 8);
        c.fillVertical(cream, creamDark, y0 + 15, y0 + 47, true);
        c.stroke(goldDark, 1);
        TextStyle x = Style::label(13, Rgba::hex(0x6b5a30));
        c.text(565, y0 + 38, "x", x);
    }
    // A low bench strip behind the menu and pause buttons.
    c.roundRect(40, 410, 214, 50, 14);
    c.fill(Rgba::hex(0x0a1530, 0.55));
}

void worldTourScreen(Canvas& c, const WorldMap& map, bool route) {
    map.draw(c, route);
    if (!route) {
        vignette(c, 0.4);
        Style::goldRim(c, 3, 3, c.width() - 6, c.height() - 6, 10, 3);
        return;
    }
    // Title between the menu button (50..130) and the profile button (400..480).
    Style::panel(c, 150, 14, 230, 42, 18);
    TextStyle t = Style::label(22, goldLight);
    t.outline = 1.2;
    c.textInBox(150, 14, 230, 42, "World Tour", t);
    // A cream strip for the next-match line drawn in black at (50, 450).
    c.dropShadow([&](Canvas& s) { s.roundRect(38, 428, 440, 34, 12), s.fill(black); }, 0, 2, 4,
                 Rgba{0, 0, 0, 0.5});
    c.roundRect(38, 428, 440, 34, 12);
    c.fillVertical(cream, creamDark, 428, 462, true);
    c.stroke(goldDark, 1.5);
    Style::goldRim(c, 2, 2, c.width() - 4, c.height() - 4, 10, 3);
}

void cover(Canvas& c) {
    // Navy tint; the alpha image makes it denser at the edges.
    cairo_rectangle(c.cr(), 0, 0, c.width(), c.height());
    c.fillRadial(Rgba::hex(0x0b1634, 0.50), Rgba::hex(0x050a18, 0.78), c.width() / 2,
                 c.height() / 2, c.width() * 0.7);
}

}  // namespace

void ScreenArt::build(ResourceCatalog& cat, const WorldMap& map) {
    const char* dir = "images/screens";
    orlendSplash(
        *cat.add("IMAGE_ORLEND_SCREEN_BACKGROUND", dir, "orlend", 640, 480, ImageStore::Jpeg)
             .canvas);
    kelvaneSplash(
        *cat.add("IMAGE_KELVANE_SCREEN_BACKGROUND", dir, "kelvane", 640, 480, ImageStore::Jpeg)
             .canvas);
    startScreen(
        *cat.add("IMAGE_START_SCREEN_BACKGROUND", dir, "start", 640, 480, ImageStore::Jpeg).canvas,
        false);
    startScreen(*cat.add("IMAGE_START_SCREEN_BACKGROUND_DEMO", dir, "start_demo", 640, 480,
                         ImageStore::Jpeg)
                     .canvas,
                true);
    gameTypeScreen(
        *cat.add("IMAGE_GAME_TYPE_SCREEN_BACKGROUND", dir, "game_type", 640, 480, ImageStore::Jpeg)
             .canvas);
    teamPickingScreen(*cat.add("IMAGE_TEAM_PICKING_SCREEN_BACKGROUND", dir, "team_picking", 640,
                               480, ImageStore::Jpeg)
                           .canvas);
    mainScreen(
        *cat.add("IMAGE_MAIN_SCREEN_BACKGROUND", dir, "match", 640, 480, ImageStore::Jpeg).canvas);
    worldTourScreen(
        *cat.add("IMAGE_MAP_SCREEN_BACKGROUND", dir, "map", 640, 480, ImageStore::Jpeg).canvas, map,
        false);
    worldTourScreen(*cat.add("IMAGE_WORLD_TOUR_SCREEN_BACKGROUND", dir, "world_tour", 640, 480,
                             ImageStore::Jpeg)
                         .canvas,
                    map, true);
    cover(*cat.add("IMAGE_TINTED_SCREEN_COVER", dir, "cover", 640, 480, ImageStore::JpegAlphaImage)
               .canvas);
}

}  // namespace datagen
