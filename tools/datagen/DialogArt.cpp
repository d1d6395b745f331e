#include "DialogArt.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "PieceArt.h"
#include "Style.h"

namespace datagen {

using namespace palette;

namespace {

TextStyle body(double px, const Rgba& color = ink) {
    TextStyle t;
    t.family = "DejaVu Sans";
    t.bold = false;
    t.px = px;
    t.color = color;
    return t;
}

// The common dialog: a navy frame with a title band and a cream page for dark text.
void frame(Canvas& c, const std::string& title, double headerH) {
    const double w = c.width(), h = c.height();
    c.dropShadow([&](Canvas& s) { s.roundRect(4, 4, w - 8, h - 8, 16), s.fill(black); }, 0, 2, 3,
                 Rgba{0, 0, 0, 0.6});
    c.roundRect(2, 2, w - 4, h - 6, 16);
    c.fillVertical(navyLight, navyDeep, 0, h);
    c.roundRect(9, headerH, w - 18, h - headerH - 13, 9);
    c.fillVertical(cream, creamDark, headerH, h - 10, true);
    c.stroke(goldDark, 1.2);
    Style::goldRim(c, 3, 3, w - 6, h - 8, 15, 2.5);
    if (!title.empty()) {
        TextStyle t = Style::label(std::min(24.0, headerH * 0.56), goldLight);
        t.outline = 1.2;
        c.textInBox(0, 2, w, headerH - 2, title, t);
        // Small gold stars at the ends of the title band.
        for (double sx : {26.0, w - 26}) {
            std::vector<std::pair<double, double>> star;
            for (int k = 0; k < 10; ++k) {
                const double a = -M_PI / 2 + k * M_PI / 5, r = k % 2 ? 2.6 : 6.5;
                star.push_back({sx + r * std::cos(a), headerH / 2 + 1 + r * std::sin(a)});
            }
            c.polygon(star);
            c.fill(gold);
        }
    }
}

void menuDialog(Canvas& c) {
    // 100 x 300: five buttons from (10, 15), 60 pixels apart.
    const double w = c.width(), h = c.height();
    Style::panel(c, 2, 2, w - 4, h - 4, 14, false);
    for (int i = 0; i < 5; ++i) {
        c.roundRect(7, 12 + i * 60, 86, 36, 12);
        c.fill(Rgba{0, 0, 0, 0.25});
    }
    for (int i = 0; i < 4; ++i) {
        cairo_move_to(c.cr(), 30, 68 + i * 60);
        cairo_line_to(c.cr(), 70, 68 + i * 60);
        c.stroke(gold.withAlpha(0.5), 1);
    }
}

void question(Canvas& c, const std::string& title, const std::string& text) {
    // The yes and no buttons stand in the bottom corners (5 pixels in), on the navy band below
    // the cream page.
    const double w = c.width(), h = c.height();
    c.dropShadow([&](Canvas& s) { s.roundRect(4, 4, w - 8, h - 8, 16), s.fill(black); }, 0, 2, 3,
                 Rgba{0, 0, 0, 0.6});
    c.roundRect(2, 2, w - 4, h - 6, 16);
    c.fillVertical(navyLight, navyDeep, 0, h);
    c.roundRect(9, 36, w - 18, h - 36 - 44, 9);
    c.fillVertical(cream, creamDark, 36, h - 44, true);
    c.stroke(goldDark, 1.2);
    Style::goldRim(c, 3, 3, w - 6, h - 8, 15, 2.5);
    TextStyle head = Style::label(20, goldLight);
    head.outline = 1.2;
    c.textInBox(0, 2, w, 34, title, head);
    TextStyle t = body(14);
    t.align = Align::Center;
    c.paragraph(30, 36 + (h - 80 - 17) / 2.0, w - 60, text, t);
}

void creditsDialog(Canvas& c) {
    frame(c, "Credits", 44);
    const double cx = c.width() / 2;
    struct Line {
        const char* text;
        double px;
        bool heading;
    };
    const Line lines[] = {{"Kelvane", 22, true},
                          {"an Orlend game", 12, false},
                          {"Design and code", 12, true},
                          {"The Orlend team", 12, false},
                          {"Art, type and sound", 12, true},
                          {"Drawn and synthesised by", 11, false},
                          {"our own data generator", 11, false},
                          {"Typefaces", 12, true},
                          {"Roboto Slab, DejaVu Sans", 11, false}};
    double y = 78;
    for (const Line& l : lines) {
        TextStyle t = l.heading ? Style::label(l.px, navy) : body(l.px);
        t.align = Align::Center;
        if (l.px > 20) t.color = goldDark;
        c.text(cx, y, l.text, t);
        y += l.heading ? (l.px > 20 ? 20 : 17) : 20;
        if (!l.heading && l.px == 12) y += 4;
    }
}

void tourCompletedDialog(Canvas& c) {
    frame(c, "Champions!", 44);
    const double cx = c.width() / 2;
    c.glow([&](Canvas& s) { s.circle(cx, 110, 46), s.fill(white); }, 20, Rgba{1, 0.9, 0.5, 0.8});
    Style::trophy(c, cx, 160, 100);
    TextStyle t = body(13);
    t.align = Align::Center;
    c.paragraph(24, 176, c.width() - 48,
                "You beat all 46 teams of the World Tour. The world is yours!", t);
}

void scoresDialog(Canvas& c) {
    frame(c, "Best Scores", 44);
    for (int i = 0; i < 8; ++i) {
        const double y = 62 + i * 26;
        c.roundRect(22, y, c.width() - 44, 22, 6);
        c.fill(i % 2 ? Rgba{1, 1, 1, 0.35} : Rgba{0.6, 0.5, 0.3, 0.12});
        TextStyle t = Style::label(12, navy);
        c.text(30, y + 16, std::to_string(i + 1) + ".", t);
    }
}

void basicDialog(Canvas& c) {
    frame(c, "", 22);
}

void optionsDialog(Canvas& c) {
    frame(c, "Options", 44);
    // The full-screen check box sits at (23, 60).
    c.roundRect(17, 54, 166, 38, 9);
    c.fill(Rgba{1, 1, 1, 0.45});
}

void rulesDialog(Canvas& c) {
    frame(c, "How to Play", 36);
    // The page (500 x 250 at (20, 40)) sits on a lighter sheet.
    c.roundRect(16, 40, 508, 254, 8);
    c.fill(Rgba{1, 1, 1, 0.35});
}

void profileDialog(Canvas& c) {
    frame(c, "Profile", 44);
    // Power-up icons stand at y 170 from x 50, 100 pixels apart.
    for (int i = 0; i < 4; ++i) {
        c.roundRect(44 + i * 100, 164, 86, 52, 10);
        c.fill(Rgba{0.6, 0.5, 0.3, 0.14});
    }
    cairo_move_to(c.cr(), 40, 90);
    cairo_line_to(c.cr(), 380, 90);
    c.stroke(goldDark.withAlpha(0.5), 1);
    Style::trophy(c, 440, 150, 84);
}

void postMatchDialog(Canvas& c) {
    frame(c, "Full Time", 38);
    // Rows for the tally lines at y 100, 140, 180 (baselines), values from x 240.
    for (int i = 0; i < 3; ++i) {
        c.roundRect(30, 80 + i * 40, 290, 28, 8);
        c.fill(Rgba{0.6, 0.5, 0.3, 0.14});
    }
    cairo_move_to(c.cr(), 30, 70);
    cairo_line_to(c.cr(), c.width() - 30, 70);
    c.stroke(goldDark.withAlpha(0.5), 1);
    // A ball resting on a strip of pitch on the right.
    cairo_save(c.cr());
    c.roundRect(340, 90, 170, 230, 12);
    cairo_clip(c.cr());
    Style::pitch(c, 340, 90, 170, 230, 20);
    cairo_restore(c.cr());
    c.roundRect(340, 90, 170, 230, 12);
    c.stroke(gold, 2);
    cairo_new_sub_path(c.cr());
    cairo_arc(c.cr(), 425, 205, 40, 0, 2 * M_PI);
    c.stroke(Rgba{1, 1, 1, 0.6}, 2);
    c.dropShadow([&](Canvas& s) { s.circle(425, 205, 26), s.fill(black); }, 3, 5, 6,
                 Rgba{0, 0, 0, 0.5});
    Style::ball(c, 425, 205, 26, 0.2);
}

void shopDialog(Canvas& c) {
    frame(c, "Shop", 44);
    // Rows: icons at (65, 105 + 50k), prices at x 125, buy buttons at x 245.

    for (int k = 0; k < 4; ++k) {
        const double y = 101 + 50 * k;
        c.roundRect(56, y, 282, 48, 10);
        c.fill(Rgba{0.6, 0.5, 0.3, 0.14});
    }
}

struct RulesPage {
    std::string title;
    std::vector<std::pair<bool, std::string>> blocks;  // (is item, text) in reading order
};

std::vector<RulesPage> loadRules(const std::string& path) {
    std::vector<RulesPage> pages;
    std::ifstream in(path);
    std::string line, para;
    auto flush = [&]() {
        if (!para.empty() && !pages.empty()) pages.back().blocks.push_back({false, para});
        para.clear();
    };
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '#') continue;
        if (line.rfind("page ", 0) == 0) {
            flush();
            pages.push_back({line.substr(5), {}});
        } else if (line.empty()) {
            flush();
        } else if (line[0] == '*') {
            flush();
            if (!pages.empty()) pages.back().blocks.push_back({true, line.substr(2)});
        } else {
            para += (para.empty() ? "" : " ") + line;
        }
    }
    flush();
    return pages;
}

// Each page's picture, on the right-hand side (x 330..490).
void rulesPicture(Canvas& c, int page) {
    cairo_t* cr = c.cr();
    auto cell = [&](double x, double y) {
        c.roundRect(x + 1, y + 1, 38, 38, 5);
        c.fill(Rgba::hex(0x2f8139));
    };
    auto arrow = [&](double x0, double y0, double x1, double y1) {
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        c.stroke(goldDark, 3);
        const double a = std::atan2(y1 - y0, x1 - x0);
        c.polygon({{x1 + 6 * std::cos(a), y1 + 6 * std::sin(a)},
                   {x1 + 7 * std::cos(a + 2.3), y1 + 7 * std::sin(a + 2.3)},
                   {x1 + 7 * std::cos(a - 2.3), y1 + 7 * std::sin(a - 2.3)}});
        c.fill(goldDark);
    };
    const double x = 340;
    switch (page) {
        case 0: {
            // Before: ball, ball, red card / ball below it; the swap lifts the ball into line.
            c.roundRect(x - 6, 34, 136, 96, 10);
            c.fill(Rgba::hex(0x1c4a28));
            for (int i = 0; i < 3; ++i) cell(x + i * 40, 40), cell(x + i * 40, 80);
            PieceArt::whiteBall(c, x, 40);
            PieceArt::whiteBall(c, x + 40, 40);
            PieceArt::redCard(c, x + 80, 40);
            PieceArt::injury(c, x, 80);
            PieceArt::yellowCard(c, x + 40, 80);
            PieceArt::whiteBall(c, x + 80, 80);
            arrow(x + 112, 86, x + 112, 74);
            arrow(x + 88, 74, x + 88, 86);
            c.roundRect(x - 6, 150, 136, 56, 10);
            c.fill(Rgba::hex(0x1c4a28));
            for (int i = 0; i < 3; ++i) {
                cell(x + i * 40, 158);
                PieceArt::whiteBall(c, x + i * 40, 158);
            }
            c.roundRect(x - 2, 156, 128, 44, 8);
            c.stroke(goldLight, 2.5);
            break;
        }
        case 1: {
            for (int i = 0; i < 3; ++i) PieceArt::whiteBall(c, x + i * 40, 50);
            arrow(x + 60, 100, x + 60, 126);
            // A goal with its net.
            const double gx = x + 10, gy = 140, gw = 100, gh = 60;
            for (int i = 0; i <= 10; ++i) {
                cairo_move_to(cr, gx + i * gw / 10, gy);
                cairo_line_to(cr, gx + i * gw / 10, gy + gh);
            }
            for (int j = 1; j <= 6; ++j) {
                cairo_move_to(cr, gx, gy + j * gh / 6);
                cairo_line_to(cr, gx + gw, gy + j * gh / 6);
            }
            c.stroke(Rgba{0.3, 0.3, 0.35, 0.5}, 0.8);
            cairo_move_to(cr, gx, gy + gh);
            cairo_line_to(cr, gx, gy);
            cairo_line_to(cr, gx + gw, gy);
            cairo_line_to(cr, gx + gw, gy + gh);
            c.stroke(navy, 4);
            TextStyle t = Style::label(18, goldDark);
            t.align = Align::Center;
            c.text(x + 60, gy + 40, "GOAL!", t);
            break;
        }
        case 2: {
            // A small opponent tube with its bar and the time bar.
            c.roundRect(x + 30, 20, 60, 190, 10);
            c.fillVertical(navyLight, navyDeep, 20, 210);
            c.roundRect(x + 40, 50, 40, 150, 5);
            c.fill(Rgba::hex(0x081226));
            c.roundRect(x + 40, 110, 40, 90, 3);
            c.fillVertical(Rgba::hex(0xf5734f), Rgba::hex(0x8c0d14), 110, 200);
            cairo_rectangle(cr, x + 34, 106, 52, 4);
            c.fill(goldLight);
            arrow(x + 100, 150, x + 100, 70);
            cairo_move_to(cr, x + 42, 28);
            cairo_line_to(cr, x + 42, 42);
            cairo_move_to(cr, x + 42, 28);
            cairo_line_to(cr, x + 78, 28);
            cairo_line_to(cr, x + 78, 42);
            c.stroke(white, 2.5);
            c.roundRect(x, 222, 120, 14, 7);
            c.fill(Rgba::hex(0x0a1530));
            c.roundRect(x + 2, 224, 70, 10, 5);
            c.fillVertical(goldLight, Rgba::hex(0x4cc46a), 224, 234);
            break;
        }
        case 3: {
            // The four meters in various states of charge.
            void (*icons[4])(Canvas&, double, double) = {PieceArt::yellowCard, PieceArt::redCard,
                                                         PieceArt::injury, PieceArt::offsideFlag};
            const double fills[4] = {0.3, 1.0, 0.6, 0.0};
            for (int i = 0; i < 4; ++i) {
                const double px = x + (i % 2) * 68, py = 40 + (i / 2) * 80;
                c.roundRect(px, py, 60, 60, 10);
                c.fillRadial(tealLight, tealDark, px + 30, py + 25, 42);
                icons[i](c, px + 10, py + 10);
                cairo_save(cr);
                c.roundRect(px, py, 60, 60, 10);
                cairo_clip(cr);
                cairo_rectangle(cr, px, py, 60, (1 - fills[i]) * 60);
                c.fill(Rgba::hex(0x050b1a, 0.62));
                cairo_restore(cr);
                Style::goldRim(c, px + 1, py + 1, 58, 58, 10, 3);
            }
            break;
        }
        case 4: {
            // The scoreboard before and after an offside call.
            auto box = [&](double bx, double by, const char* digit) {
                c.roundRect(bx, by, 44, 34, 7);
                c.fillVertical(Rgba::hex(0xfffbef), Rgba::hex(0xe3d6b4), by, by + 34, true);
                Style::goldRim(c, bx, by, 44, 34, 7, 2);
                TextStyle d = Style::label(20, ink);
                c.textInBox(bx, by, 44, 34, digit, d);
            };
            box(x + 10, 50, "1");
            box(x + 66, 50, "2");
            arrow(x + 60, 96, x + 60, 126);
            box(x + 10, 140, "1");
            box(x + 66, 140, "1");
            PieceArt::offsideFlag(c, x + 86, 96);
            break;
        }
        case 5: {
            c.dropShadow([&](Canvas& s) { s.circle(x + 60, 110, 64), s.fill(black); }, 2, 3, 5,
                         Rgba{0, 0, 0, 0.4});
            c.circle(x + 60, 110, 64);
            c.fillRadial(Rgba::hex(0x5cc6e0), Rgba::hex(0x145a86), x + 40, 90, 80);
            cairo_save(cr);
            c.circle(x + 60, 110, 64);
            cairo_clip(cr);
            c.polygon({{x + 6, 70},
                       {x + 40, 56},
                       {x + 52, 80},
                       {x + 36, 104},
                       {x + 46, 130},
                       {x + 34, 170},
                       {x + 18, 140},
                       {x + 6, 110}});
            c.fill(Rgba::hex(0x9fc46a));
            c.polygon({{x + 70, 52},
                       {x + 118, 60},
                       {x + 124, 92},
                       {x + 100, 104},
                       {x + 108, 140},
                       {x + 84, 168},
                       {x + 76, 126},
                       {x + 66, 90}});
            c.fill(Rgba::hex(0xd9c690));
            cairo_restore(cr);
            std::vector<double> dash = {1, 5};
            cairo_set_dash(cr, dash.data(), 2, 0);
            cairo_move_to(cr, x + 30, 150);
            cairo_curve_to(cr, x + 10, 90, x + 60, 40, x + 100, 120);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            c.stroke(goldLight, 2.5);
            cairo_set_dash(cr, nullptr, 0, 0);
            for (auto [nx, ny] :
                 std::vector<std::pair<double, double>>{{x + 30, 150}, {x + 100, 120}}) {
                c.circle(nx, ny, 6);
                c.fillVertical(goldLight, goldDark, ny - 6, ny + 6, true);
                c.stroke(navyDeep, 1);
            }
            break;
        }
        case 6: {
            void (*icons[4])(Canvas&, double, double) = {PieceArt::offsideFlag, PieceArt::redCard,
                                                         PieceArt::yellowCard, PieceArt::injury};
            const char* prices[] = {"200", "150", "100", "50"};
            for (int i = 0; i < 4; ++i) {
                const double y = 24 + i * 50;
                c.roundRect(x, y, 130, 46, 9);
                c.fill(Rgba{0.6, 0.5, 0.3, 0.16});
                icons[i](c, x + 4, y + 3);
                TextStyle t = Style::label(15, navy);
                c.text(x + 56, y + 29, prices[i], t);
                TextStyle s = body(10, Rgba::hex(0x6b5a30));
                c.text(x + 92, y + 29, "pts", s);
            }
            break;
        }
        default:
            break;
    }
}

void rulesPage(Canvas& c, const RulesPage& p, int index) {
    TextStyle h = Style::label(19, navy);
    c.text(6, 24, p.title, h);
    TextStyle n = Style::label(10, goldDark);
    n.align = Align::Right;
    c.text(494, 245, std::to_string(index + 1) + " / 7", n);
    cairo_move_to(c.cr(), 6, 32);
    cairo_line_to(c.cr(), 310, 32);
    c.stroke(gold, 1.5);
    double y = 42;
    TextStyle t = body(12.5);
    for (const auto& [item, text] : p.blocks) {
        if (!item) {
            y += c.paragraph(6, y, 310, text, t) + 8;
            continue;
        }
        // An item: the power-up's piece, its name, and what it does.
        const size_t colon = text.find(':');
        const std::string name = text.substr(0, colon);
        void (*icon)(Canvas&, double, double) = PieceArt::yellowCard;
        if (name == "Red card") icon = PieceArt::redCard;
        if (name == "Injury") icon = PieceArt::injury;
        if (name == "Offside") icon = PieceArt::offsideFlag;
        icon(c, 2, y - 4);
        TextStyle n = Style::label(13.5, navy);
        c.text(48, y + 11, name, n);
        const double used = c.paragraph(48, y + 16, 268, text.substr(colon + 2), t);
        y += std::max(40.0, used + 20) + 6;
    }
    rulesPicture(c, index);
}

}  // namespace

bool DialogArt::build(ResourceCatalog& cat, const std::string& assetsDir) {
    const char* dir = "images/dialogs";
    menuDialog(*cat.add("IMAGE_MENU_DIALOG_BACKGROUND", dir, "menu", 100, 300).canvas);
    optionsDialog(*cat.add("IMAGE_OPTIONS_DIALOG_BACKGROUND", dir, "options", 200, 200).canvas);
    rulesDialog(*cat.add("IMAGE_RULES_DIALOG_BACKGROUND", dir, "rules", 540, 380).canvas);
    question(*cat.add("IMAGE_QUIT_DIALOG_BACKGROUND", dir, "quit", 423, 143).canvas, "Quit",
             "Do you really want to leave Kelvane?");
    question(*cat.add("IMAGE_SAVE_GAME_DIALOG_BACKGROUND", dir, "save", 423, 143).canvas,
             "Save Tour", "Save your world tour for next time?");
    question(*cat.add("IMAGE_LOAD_GAME_DIALOG_BACKGROUND", dir, "load", 423, 143).canvas,
             "Saved Tour", "Carry on with your saved world tour?");
    creditsDialog(*cat.add("IMAGE_CREDITS_DIALOG_BACKGROUND", dir, "credits", 300, 300).canvas);
    tourCompletedDialog(
        *cat.add("IMAGE_WORLD_TOUR_COMPLETED_DIALOG_BACKGROUND", dir, "tour_completed", 300, 300)
             .canvas);
    scoresDialog(*cat.add("IMAGE_SCORES_DIALOG_BACKGROUND", dir, "scores", 300, 300).canvas);
    basicDialog(*cat.add("IMAGE_BASIC_DIALOG_BACKGROUND", dir, "basic", 423, 143).canvas);
    profileDialog(*cat.add("IMAGE_PROFILE_DIALOG_BACKGROUND", dir, "profile", 500, 330).canvas);
    postMatchDialog(
        *cat.add("IMAGE_POST_MATCH_DIALOG_BACKGROUND", dir, "post_match", 540, 405).canvas);
    shopDialog(*cat.add("IMAGE_SHOP_DIALOG_BACKGROUND", dir, "shop", 400, 390).canvas);

    const std::vector<RulesPage> pages = loadRules(assetsDir + "/rules.txt");
    if (pages.size() != 7) return false;
    const char* stems[] = {"ONE", "TWO", "THREE", "FOUR", "FIVE", "SIX", "SEVEN"};
    for (int i = 0; i < 7; ++i) {
        const std::string name = std::string("PAGE_") + stems[i] + "_OF_RULES";
        ImageEntry& e = cat.add("IMAGE_" + name, "images/rules", name, 500, 250);
        e.idFromName = true;
        rulesPage(*e.canvas, pages[i], i);
    }
    return true;
}

}  // namespace datagen
