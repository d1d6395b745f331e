#include "ButtonArt.h"

#include <cmath>

#include "Style.h"

namespace datagen {

using namespace palette;

const char* const ButtonArt::kNationStems[8] = {"FRANCE", "BRAZIL",  "USA",   "ENGLAND",
                                                "SPAIN",  "GERMANY", "ITALY", "ARGENTINA"};
const char* const ButtonArt::kNationNames[8] = {"France", "Brazil",  "U.S.A.", "England",
                                                "Spain",  "Germany", "Italy",  "Argentina"};

namespace {

void tile(Canvas& c, const std::string& title, bool globe, bool demo) {
    const double w = c.width(), h = c.height();
    Style::panel(c, 3, 3, w - 6, h - 6, 18);
    // Picture area.
    cairo_save(c.cr());
    c.roundRect(12, 12, w - 24, h - 52, 12);
    cairo_clip_preserve(c.cr());
    if (globe) {
        c.fillRadial(Rgba::hex(0x2c86a0), Rgba::hex(0x0b2440), w / 2, 50, 80);
    } else {
        cairo_new_path(c.cr());
        Style::pitch(c, 12, 12, w - 24, h - 52, 14);
    }
    cairo_restore(c.cr());
    const double cx = w / 2, cy = 12 + (h - 52) / 2;
    if (globe) {
        c.dropShadow([&](Canvas& s) { s.circle(cx, cy, 36), s.fill(black); }, 2, 3, 5,
                     Rgba{0, 0, 0, 0.5});
        c.circle(cx, cy, 36);
        c.fillRadial(Rgba::hex(0x5cc6e0), Rgba::hex(0x145a86), cx - 12, cy - 14, 50);
        cairo_save(c.cr());
        c.circle(cx, cy, 36);
        cairo_clip(c.cr());
        // Stylised continents on the globe.
        c.polygon({{cx - 30, cy - 18},
                   {cx - 12, cy - 26},
                   {cx - 4, cy - 14},
                   {cx - 14, cy - 2},
                   {cx - 8, cy + 10},
                   {cx - 14, cy + 30},
                   {cx - 22, cy + 12},
                   {cx - 30, cy}});
        c.fill(Rgba::hex(0x9fc46a));
        c.polygon({{cx + 4, cy - 28},
                   {cx + 30, cy - 24},
                   {cx + 36, cy - 6},
                   {cx + 22, cy},
                   {cx + 26, cy + 20},
                   {cx + 12, cy + 30},
                   {cx + 6, cy + 8},
                   {cx + 2, cy - 10}});
        c.fill(Rgba::hex(0xd9c690));
        for (int k = -2; k <= 2; ++k) {
            cairo_save(c.cr());
            cairo_translate(c.cr(), cx, cy);
            cairo_scale(c.cr(), std::fabs(k) / 2.5 + 0.01, 1);
            c.circle(0, 0, 36);
            cairo_restore(c.cr());
            c.stroke(Rgba{1, 1, 1, 0.25}, 0.8);
        }
        cairo_restore(c.cr());
        c.circle(cx, cy, 36);
        c.stroke(navyDeep, 1.5);
        Style::gloss(c, cx - 30, cy - 34, 60, 60, 30, 0.35);
    } else {
        // Two shirts facing each other with a ball between them.
        auto shirt = [&](double sx, const Rgba& col) {
            std::vector<std::pair<double, double>> pts = {
                {sx - 10, cy - 22}, {sx - 4, cy - 18}, {sx + 4, cy - 18}, {sx + 10, cy - 22},
                {sx + 22, cy - 12}, {sx + 16, cy - 4}, {sx + 12, cy - 8}, {sx + 12, cy + 20},
                {sx - 12, cy + 20}, {sx - 12, cy - 8}, {sx - 16, cy - 4}, {sx - 22, cy - 12}};
            c.dropShadow([&](Canvas& s) { s.polygon(pts), s.fill(black); }, 1, 2, 3,
                         Rgba{0, 0, 0, 0.5});
            c.polygon(pts);
            c.fillVertical(col.lighter(0.25), col.darker(0.2), cy - 22, cy + 20, true);
            c.stroke(navyDeep, 1.2);
        };
        shirt(cx - 34, Rgba::hex(0x2a6fdb));
        shirt(cx + 34, Rgba::hex(0xd8262e));
        c.dropShadow([&](Canvas& s) { s.circle(cx, cy + 10, 14), s.fill(black); }, 1, 2, 3,
                     Rgba{0, 0, 0, 0.5});
        Style::ball(c, cx, cy + 10, 14, 0.4);
    }
    c.roundRect(12, 12, w - 24, h - 52, 12);
    c.stroke(gold, 1.5);
    TextStyle t = Style::label(16, goldLight);
    t.outline = 1.2;
    c.textInBox(0, h - 42, w, 32, title, t);
    if (demo) {
        c.roundRect(w - 58, 18, 42, 18, 9);
        c.fill(Rgba::hex(0xd8262e));
        TextStyle d = Style::label(10, white);
        c.textInBox(w - 58, 18, 42, 18, "DEMO", d);
    }
}

void teamRow(Canvas& c, bool picked) {
    const double w = c.width(), h = c.height();
    c.dropShadow([&](Canvas& s) { s.roundRect(2, 2, w - 4, h - 4, 10), s.fill(black); }, 0, 1.5,
                 2.5, Rgba{0, 0, 0, 0.5});
    c.roundRect(2, 2, w - 4, h - 4, 10);
    if (picked)
        c.fillVertical(Rgba::hex(0xfff0b8), Rgba::hex(0xf0c859), 2, h - 2, true);
    else
        c.fillVertical(cream, creamDark, 2, h - 2, true);
    c.stroke(picked ? goldDark : Rgba::hex(0x9c8a5c), picked ? 2 : 1);
    // Badge slot left of the label (the label starts 60 pixels in).
    c.roundRect(8, 4, 44, h - 8, 8);
    c.fillVertical(picked ? goldLight : navyLight, picked ? goldDark : navy, 4, h - 4);
    if (picked) {
        cairo_move_to(c.cr(), 20, h / 2);
        cairo_line_to(c.cr(), 27, h / 2 + 7);
        cairo_line_to(c.cr(), 40, h / 2 - 7);
        cairo_set_line_cap(c.cr(), CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(c.cr(), CAIRO_LINE_JOIN_ROUND);
        c.stroke(navyDeep, 3.5);
    } else {
        Style::ball(c, 30, h / 2, 9.5, 0.2);
    }
    Style::gloss(c, 3, 3, w - 6, h - 6, 9, 0.3);
}

void node(Canvas& c, bool completed) {
    const double s = c.width(), r = s / 2 - 2;
    c.dropShadow([&](Canvas& m) { m.circle(s / 2, s / 2, r), m.fill(black); }, 0.5, 1.5, 2,
                 Rgba{0, 0, 0, 0.6});
    c.circle(s / 2, s / 2, r);
    if (completed) {
        c.fillVertical(goldLight, goldDark, 0, s, true);
        c.stroke(navyDeep, 1.2);
        cairo_move_to(c.cr(), s * 0.28, s * 0.52);
        cairo_line_to(c.cr(), s * 0.44, s * 0.68);
        cairo_line_to(c.cr(), s * 0.74, s * 0.34);
        cairo_set_line_cap(c.cr(), CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(c.cr(), CAIRO_LINE_JOIN_ROUND);
        c.stroke(navyDeep, 2.2);
    } else {
        c.fillVertical(Rgba::hex(0xff6b5e), Rgba::hex(0xa3141d), 0, s, true);
        c.stroke(white, 1.6);
        c.circle(s / 2, s / 2, r * 0.35);
        c.fill(white);
    }
}

void bracket(Canvas& c, bool left) {
    const double w = c.width(), h = c.height();
    const double x0 = left ? 4 : w - 4, x1 = left ? w - 4 : 4, mid = w / 2;
    cairo_move_to(c.cr(), x0, 6);
    cairo_line_to(c.cr(), mid, 6);
    cairo_line_to(c.cr(), mid, h - 6);
    cairo_line_to(c.cr(), x0, h - 6);
    cairo_move_to(c.cr(), mid, h / 2);
    cairo_line_to(c.cr(), x1, h / 2);
    cairo_set_line_cap(c.cr(), CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(c.cr(), CAIRO_LINE_JOIN_ROUND);
    c.strokePreserve(navyDeep, 6);
    c.stroke(gold, 3);
}

}  // namespace

void ButtonArt::build(ResourceCatalog& cat) {
    struct Button {
        const char* id;
        const char* file;
        const char* label;
        Style::ButtonLook look;
    };
    using L = Style::ButtonLook;
    const Button buttons[] = {
        {"IMAGE_PLAY_BUTTON", "play", "Play", L::Normal},
        {"IMAGE_EXIT_BUTTON", "exit", "Exit", L::Normal},
        {"IMAGE_OPTIONS_BUTTON", "options", "Options", L::Normal},
        {"IMAGE_START_BUTTON", "start", "Start", L::Green},
        {"IMAGE_BACK_BUTTON", "back", "Back", L::Normal},
        {"IMAGE_NEXT_BUTTON", "next", "Next", L::Green},
        {"IMAGE_DONE_BUTTON", "done", "Done", L::Normal},
        {"IMAGE_RULES_BUTTON", "rules", "Rules", L::Normal},
        {"IMAGE_SCORES_BUTTON", "scores", "Scores", L::Normal},
        {"IMAGE_QUIT_BUTTON", "quit", "Quit", L::Red},
        {"IMAGE_MENU_BUTTON", "menu", "Menu", L::Normal},
        {"IMAGE_PAUSE_BUTTON", "pause", "Pause", L::Normal},
        {"IMAGE_MENU_BUTTON_CLICKED", "menu_down", "Menu", L::Pressed},
        {"IMAGE_PAUSE_BUTTON_CLICKED", "pause_down", "Resume", L::Pressed},
        {"IMAGE_SHOP_BUTTON", "shop", "Shop", L::Normal},
        {"IMAGE_BUY_BUTTON", "buy", "Buy", L::Green},
        {"IMAGE_BUY_BUTTON_DISABLED", "buy_disabled", "Buy", L::Disabled},
        {"IMAGE_PROFILE_BUTTON", "profile", "Profile", L::Normal},
        {"IMAGE_CREDITS_BUTTON", "credits", "Credits", L::Normal},
        {"IMAGE_YES_BUTTON", "yes", "Yes", L::Green},
        {"IMAGE_NO_BUTTON", "no", "No", L::Red},
        {"IMAGE_DIALOG_BUTTON_BACKGROUND", "blank", "", L::Normal},
    };
    for (const Button& b : buttons)
        Style::button(*cat.add(b.id, "images/buttons", b.file, 80, 30).canvas, b.label, b.look);

    tile(*cat.add("IMAGE_FRIENDLY_MATCH", "images/buttons", "friendly_match", 150, 150).canvas,
         "Friendly Match", false, false);
    tile(*cat.add("IMAGE_WORLD_TOUR", "images/buttons", "world_tour", 150, 150).canvas,
         "World Tour", true, false);
    tile(*cat.add("IMAGE_WORLD_TOUR_DEMO", "images/buttons", "world_tour_demo", 150, 150).canvas,
         "World Tour", true, true);

    teamRow(*cat.add("IMAGE_TEAM_PICK_BACKGROUND", "images/teams", "row", 440, 33).canvas, false);
    teamRow(*cat.add("IMAGE_TEAM_PICKED_BACKGROUND", "images/teams", "row_picked", 440, 33,
                     ImageStore::JpegPlusAlpha)
                 .canvas,
            true);
    {
        Canvas& c = *cat.add("IMAGE_CHOSEN_TEAM_TEXT", "images/teams", "your_team", 96, 30).canvas;
        TextStyle t = Style::label(15, goldLight);
        t.outline = 1;
        t.shadow = true;
        c.textInBox(0, 0, 96, 30, "Your team:", t);
    }
    Style::plate(*cat.add("IMAGE_CHOOSE_TEAM_TEXT", "images/teams", "choose_team", 190, 30).canvas,
                 "Choose a team", 15, false);
    // Name plates, named after their ids so the manifest's prefix gives the ids.
    for (int i = 0; i < 8; ++i) {
        ImageEntry& big =
            cat.add(std::string("IMAGE_") + kNationStems[i] + "_NAME", "images/nations",
                    std::string(kNationStems[i]) + "_NAME", 190, 30);
        big.idFromName = true;
        Style::plate(*big.canvas, kNationNames[i], 17, true);
    }
    for (int i = 0; i < 8; ++i) {
        ImageEntry& small =
            cat.add(std::string("IMAGE_") + kNationStems[i] + "_NAME_SMALL", "images/nations",
                    std::string(kNationStems[i]) + "_NAME_SMALL", 100, 20);
        small.idFromName = true;
        Style::plate(*small.canvas, kNationNames[i], 11.5, true);
    }

    node(*cat.add("IMAGE_NODE", "images/map", "node", 18, 18).canvas, false);
    node(*cat.add("IMAGE_COMPLETED_NODE", "images/map", "node_done", 18, 18).canvas, true);

    bracket(*cat.add("IMAGE_LEFT_CUP_MATCH_BRACKET", "images/cup", "bracket_left", 40, 80).canvas,
            true);
    bracket(*cat.add("IMAGE_RIGHT_CUP_MATCH_BRACKET", "images/cup", "bracket_right", 40, 80).canvas,
            false);
    bracket(*cat.add("IMAGE_LEFT_SEMI_FINAL_BRACKET", "images/cup", "semi_left", 40, 160).canvas,
            true);
    bracket(*cat.add("IMAGE_RIGHT_SEMI_FINAL_BRACKET", "images/cup", "semi_right", 40, 160).canvas,
            false);
    {
        Canvas& c =
            *cat.add("IMAGE_CUP_FINAL_V", "images/cup", "final_v", 40, 40, ImageStore::Gif).canvas;
        c.circle(20, 20, 18);
        c.fill(navy);
        c.circle(20, 20, 18);
        c.stroke(gold, 3);
        TextStyle t = Style::label(20, goldLight);
        c.textInBox(0, 0, 40, 40, "V", t);
    }
    {
        Canvas& c = *cat.add("IMAGE_TARVEN_CUP", "images/cup", "tarven_cup", 110, 150).canvas;
        Style::trophy(c, 55, 118, 108);
        c.roundRect(8, 122, 94, 24, 8);
        c.fillVertical(navyLight, navyDeep, 122, 146, true);
        c.stroke(gold, 1.5);
        TextStyle t = Style::label(12, goldLight);
        c.textInBox(8, 122, 94, 24, "Tarven Cup", t);
    }

    // Options dialog controls.
    {
        Canvas& c =
            *cat.add("IMAGE_OPTIONS_DIALOG_SLIDER_TRACK", "images/dialogs", "slider_track", 160, 12)
                 .canvas;
        c.roundRect(1, 2, 158, 8, 4);
        c.fillVertical(navyDeep, navyLight, 2, 10, true);
        c.stroke(gold, 1);
    }
    {
        Canvas& c =
            *cat.add("IMAGE_OPTIONS_DIALOG_SLIDER_THUMB", "images/dialogs", "slider_thumb", 16, 24)
                 .canvas;
        c.dropShadow([&](Canvas& s) { s.roundRect(2, 2, 12, 20, 5), s.fill(black); }, 0, 1, 1.5,
                     Rgba{0, 0, 0, 0.5});
        c.roundRect(2, 2, 12, 20, 5);
        c.fillVertical(goldLight, goldDark, 2, 22, true);
        c.stroke(navyDeep, 1);
    }
    {
        // Two cels side by side: unchecked, checked.
        Canvas& c =
            *cat.add("IMAGE_OPTIONS_DIALOG_CHECKBOX", "images/dialogs", "checkbox", 48, 24).canvas;
        for (int k = 0; k < 2; ++k) {
            const double x = k * 24;
            c.roundRect(x + 2, 2, 20, 20, 5);
            c.fillVertical(cream, creamDark, 2, 22, true);
            c.stroke(navy, 1.6);
            if (k == 1) {
                cairo_move_to(c.cr(), x + 6, 12);
                cairo_line_to(c.cr(), x + 10.5, 17);
                cairo_line_to(c.cr(), x + 19, 5.5);
                cairo_set_line_cap(c.cr(), CAIRO_LINE_CAP_ROUND);
                cairo_set_line_join(c.cr(), CAIRO_LINE_JOIN_ROUND);
                c.stroke(Rgba::hex(0x1b7a35), 3.2);
            }
        }
    }
}

}  // namespace datagen
