#include "MockupComposer.h"

#include <cstdio>
#include <functional>

#include "ImageFiles.h"
#include "WorldMap.h"

namespace datagen {

namespace {
const Rgba kBlack = palette::black;
const Rgba kWhite = palette::white;
}  // namespace

void MockupComposer::image(Canvas& c, const std::string& id, double x, double y) const {
    c.draw(cat_.canvas(id), x, y);
}

void MockupComposer::stretched(Canvas& c, const std::string& id, double x, double y, double w,
                               double h) const {
    c.drawScaled(cat_.canvas(id), x, y, w, h);
}

void MockupComposer::cel(Canvas& c, const std::string& id, double x, double y, int index) const {
    const ImageEntry& e = cat_.get(id);
    const int cw = e.canvas->width() / e.cols, ch = e.canvas->height() / e.rows;
    if (index < 0 || index >= e.cols * e.rows) return;
    c.drawPart(*e.canvas, (index % e.cols) * cw, (index / e.cols) * ch, cw, ch, x, y);
}

void MockupComposer::text(Canvas& c, int font, int x, int y, const std::string& s,
                          const Rgba& color) const {
    const BakedFont& f = fonts_.font(font);
    // FONT_ROCKWELLEXTRABOLD10 is tagged "shadow" in the manifest: its shadow layer is drawn first.
    if (font == 3) f.draw(c, x + 1, y + 1, s, Rgba{0, 0, 0, 150 / 255.0 * color.a});
    f.draw(c, x, y, s, color);
}

int MockupComposer::textWidth(int font, const std::string& s) const {
    return fonts_.font(font).stringWidth(s);
}

void MockupComposer::matchScreen(Canvas& c, bool banner) const {
    image(c, "IMAGE_MAIN_SCREEN_BACKGROUND", 0, 0);
    image(c, "IMAGE_PAUSE_BUTTON", 160, 420);
    image(c, "IMAGE_MENU_BUTTON", 55, 420);
    // Goal system objects, in their creation order.
    image(c, "IMAGE_OPPOSING_TEAM_BACKGROUND", 24, 90);
    const int barH = 130, barY = 391 - barH;
    stretched(c, "IMAGE_OPPOSING_TEAM_FILLER", 24, barY, 100, barH);
    image(c, "IMAGE_OPPOSING_TEAM_OVERLAY", 24, 90);
    image(c, "IMAGE_OPPOSING_TEAM_ARROW", 24,
          barY - cat_.canvas("IMAGE_OPPOSING_TEAM_ARROW").height());
    const int overlayW = cat_.canvas("IMAGE_SCORE_OVERLAY").width();
    const int overlayH = cat_.canvas("IMAGE_SCORE_OVERLAY").height();
    const int fh = fonts_.font(7).height;
    const int baseline = 20 + (overlayH - fh) / 2 + fh;
    const std::string teamA = "Argentina", teamB = "Germany", scoreA = "2", scoreB = "1";
    text(c, 7, overlayW + 312, baseline, teamB, kBlack);
    image(c, "IMAGE_SCORE_BACKGROUND", 292, 20);
    text(c, 7, 292 + (overlayW - textWidth(7, scoreB)) / 2, baseline - 3, scoreB, kBlack);
    image(c, "IMAGE_SCORE_OVERLAY", 292, 20);
    text(c, 7, 202 - textWidth(7, teamA), baseline, teamA, kBlack);
    image(c, "IMAGE_SCORE_BACKGROUND", 222, 20);
    text(c, 7, 222 + (overlayW - textWidth(7, scoreA)) / 2, baseline - 3, scoreA, kBlack);
    image(c, "IMAGE_SCORE_OVERLAY", 222, 20);
    image(c, "IMAGE_HUMAN_TEAM_INDICATOR", 202, 14);
    const char* icons[] = {"IMAGE_YELLOW_CARD", "IMAGE_RED_CARD", "IMAGE_INJURY",
                           "IMAGE_OFFSIDE_FLAG"};
    const int fills[] = {40, 100, 0, 75};
    const char* counts[] = {"2", "1", "0", "3"};
    for (int i = 0; i < 4; ++i) {
        const int y0 = 90 + 70 * i;
        image(c, "IMAGE_POWERUP_BACKGROUND", 490, y0);
        image(c, icons[i], 500, y0 + 10);
        stretched(c, "IMAGE_POWERUP_FILLER", 490, y0, 60, (1 - fills[i] * 0.01) * 60);
        image(c, "IMAGE_POWERUP_OVERLAY", 490, y0);
        text(c, 7, 580, y0 + 40 - 1, counts[i], kBlack);
    }
    image(c, "IMAGE_POINTS_BACKGROUND", 400, 10);
    text(c, 3, 460, 25 - 1, "1250", kWhite);
    image(c, "IMAGE_BOARD_BACKGROUND", 180, 90);
    // The pieces: a deterministic deal with no line of three.
    const char* kinds[] = {"IMAGE_WHITE_BALL", "IMAGE_RED_CARD", "IMAGE_INJURY",
                           "IMAGE_YELLOW_CARD", "IMAGE_OFFSIDE_FLAG"};
    int grid[7][7];
    uint32_t seed = 7;
    for (int col = 0; col < 7; ++col)
        for (int row = 0; row < 7; ++row) {
            for (;;) {
                seed = seed * 1103515245u + 12345u;
                const int k = static_cast<int>((seed >> 16) % 5);
                const bool h = col >= 2 && grid[col - 1][row] == k && grid[col - 2][row] == k;
                const bool v = row >= 2 && grid[col][row - 1] == k && grid[col][row - 2] == k;
                if (!h && !v) {
                    grid[col][row] = k;
                    break;
                }
            }
        }
    for (int col = 0; col < 7; ++col)
        for (int row = 0; row < 7; ++row)
            cel(c, kinds[grid[col][row]], 190 + 40 * col, 340 - 40 * row, 0);
    image(c, "IMAGE_SELECTED", 190 + 40 * 3, 340 - 40 * 2);
    cel(c, "IMAGE_HINT_ANIM", 190 + 40 * 5, 340 - 40 * 5, 1);
    cel(c, "IMAGE_HINT_ANIM", 190 + 40 * 5, 340 - 40 * 4, 1);
    // The clock in bar mode.
    image(c, "IMAGE_TIME_MAIN_BACKGROUND", 280, 388);
    const Canvas& frame = cat_.canvas("IMAGE_TIME_MAIN_BACKGROUND");
    const Canvas& face = cat_.canvas("IMAGE_TIME_BAR_BACKGROUND");
    const Canvas& bar = cat_.canvas("IMAGE_TIME_BAR");
    const double faceX = 280 + 60,
                 faceY = 388 + static_cast<int>(frame.height() - face.height()) * 0.5;
    image(c, "IMAGE_TIME_BAR_BACKGROUND", faceX, faceY);
    const double handX = faceX + static_cast<int>(face.width() - bar.width()) * 0.5;
    const double handY = faceY + static_cast<int>(face.height() - bar.height()) * 0.5;
    stretched(c, "IMAGE_TIME_BAR", static_cast<int>(handX), static_cast<int>(handY),
              static_cast<int>(54.0 / 90 * bar.width()), bar.height());
    if (banner) image(c, "IMAGE_GOAL_MESSAGE", 130, 49);
}

void MockupComposer::startScreen(Canvas& c) const {
    image(c, "IMAGE_START_SCREEN_BACKGROUND", 0, 0);
    image(c, "IMAGE_START_BUTTON", 180, 60);
    image(c, "IMAGE_MENU_BUTTON", 280, 60);
    image(c, "IMAGE_QUIT_BUTTON", 380, 60);
}

void MockupComposer::gameTypeScreen(Canvas& c) const {
    image(c, "IMAGE_GAME_TYPE_SCREEN_BACKGROUND", 0, 0);
    image(c, "IMAGE_FRIENDLY_MATCH", 160, 165);
    image(c, "IMAGE_WORLD_TOUR", 330, 165);
    image(c, "IMAGE_BACK_BUTTON", 50, 420);
}

void MockupComposer::teamPickingScreen(Canvas& c) const {
    image(c, "IMAGE_TEAM_PICKING_SCREEN_BACKGROUND", 0, 0);
    image(c, "IMAGE_NEXT_BUTTON", 500, 420);
    image(c, "IMAGE_BACK_BUTTON", 50, 420);
    const char* names[] = {"Brazil",  "Italy",   "Argentina", "France",
                           "Germany", "England", "Spain",     "U.S.A."};
    const int points[] = {3200, 2800, 2400, 2000, 1600, 1200, 800, 400};
    int y = 140;
    for (int i = 0; i < 8; ++i) {
        image(c, i == 1 ? "IMAGE_TEAM_PICKED_BACKGROUND" : "IMAGE_TEAM_PICK_BACKGROUND", 100,
              y - 25);
        char label[80];
        std::snprintf(label, sizeof label, "%s ( starting points -   %d)", names[i], points[i]);
        text(c, 5, 160, y - 1, label, kBlack);
        y += 35;
    }
    image(c, "IMAGE_CHOSEN_TEAM_TEXT", 200, 400);
    image(c, "IMAGE_ITALY_NAME", 300, 400);
}

void MockupComposer::worldTourScreen(Canvas& c) const {
    image(c, "IMAGE_WORLD_TOUR_SCREEN_BACKGROUND", 0, 0);
    image(c, "IMAGE_NEXT_BUTTON", 500, 420);
    image(c, "IMAGE_MENU_BUTTON", 50, 20);
    image(c, "IMAGE_SHOP_BUTTON", 500, 20);
    image(c, "IMAGE_PROFILE_BUTTON", 400, 20);
    text(c, 5, 50, 450 - 1, "Next Match: v Peru", kBlack);
    for (int i = 0; i < 46; ++i)
        image(c, i < 4 ? "IMAGE_COMPLETED_NODE" : "IMAGE_NODE", WorldMap::kMapPoints[i][0],
              WorldMap::kMapPoints[i][1]);
}

bool MockupComposer::writeAll(const std::string& dir) const {
    bool ok = true;
    auto save = [&](const std::string& name, const std::function<void(Canvas&)>& draw) {
        Canvas c(640, 480);
        cairo_rectangle(c.cr(), 0, 0, 640, 480);
        c.fill(kBlack);
        draw(c);
        ok &= ImageFiles::writePng(dir + "/" + name + ".png", 640, 480, c.pixels());
    };
    const Rgba black = kBlack;
    auto cover = [&](Canvas& c) { image(c, "IMAGE_TINTED_SCREEN_COVER", 0, 0); };

    save("screen_orlend", [&](Canvas& c) { image(c, "IMAGE_ORLEND_SCREEN_BACKGROUND", 0, 0); });
    save("screen_kelvane", [&](Canvas& c) { image(c, "IMAGE_KELVANE_SCREEN_BACKGROUND", 0, 0); });
    save("screen_start", [&](Canvas& c) { startScreen(c); });
    save("screen_game_type", [&](Canvas& c) { gameTypeScreen(c); });
    save("screen_team_picking", [&](Canvas& c) { teamPickingScreen(c); });
    save("screen_world_tour", [&](Canvas& c) { worldTourScreen(c); });
    save("screen_match", [&](Canvas& c) { matchScreen(c, false); });
    save("screen_match_goal", [&](Canvas& c) { matchScreen(c, true); });

    save("dialog_menu", [&](Canvas& c) {
        startScreen(c);
        cover(c);
        image(c, "IMAGE_MENU_DIALOG_BACKGROUND", 500, 50);
        const char* ids[] = {"IMAGE_OPTIONS_BUTTON", "IMAGE_RULES_BUTTON", "IMAGE_CREDITS_BUTTON",
                             "IMAGE_QUIT_BUTTON", "IMAGE_EXIT_BUTTON"};
        for (int i = 0; i < 5; ++i) image(c, ids[i], 510, 65 + 60 * i);
    });
    save("dialog_options", [&](Canvas& c) {
        startScreen(c);
        cover(c);
        image(c, "IMAGE_OPTIONS_DIALOG_BACKGROUND", 220, 140);
        // The checked half of the check box image, then the label at its right and bottom edges.

        c.drawPart(cat_.canvas("IMAGE_OPTIONS_DIALOG_CHECKBOX"), 24, 0, 24, 24, 243, 200);
        text(c, 0, 243 + 24, 200 + 24, "Full Screen", black);
        image(c, "IMAGE_EXIT_BUTTON", 220 + 200 - 23 - 80, 140 + 200 - 20 - 30);
    });
    const char* pages[] = {"IMAGE_PAGE_ONE_OF_RULES",   "IMAGE_PAGE_TWO_OF_RULES",
                           "IMAGE_PAGE_THREE_OF_RULES", "IMAGE_PAGE_FOUR_OF_RULES",
                           "IMAGE_PAGE_FIVE_OF_RULES",  "IMAGE_PAGE_SIX_OF_RULES",
                           "IMAGE_PAGE_SEVEN_OF_RULES"};
    for (int page = 0; page < 7; ++page) {
        save("dialog_rules_page" + std::to_string(page + 1), [&](Canvas& c) {
            matchScreen(c, false);
            cover(c);
            image(c, "IMAGE_RULES_DIALOG_BACKGROUND", 50, 50);
            image(c, pages[page], 70, 90);
            // Back is hidden on the first page, next on the last; exit sits under next.
            if (page > 0) image(c, "IMAGE_BACK_BUTTON", 73, 350);
            if (page < 6) image(c, "IMAGE_NEXT_BUTTON", 473, 350);
            image(c, "IMAGE_EXIT_BUTTON", 473, 380);
        });
    }
    auto yesNo = [&](const std::string& name, const std::string& bg,
                     const std::function<void(Canvas&)>& under) {
        save(name, [&](Canvas& c) {
            under(c);
            cover(c);
            image(c, bg, 110, 170);
            image(c, "IMAGE_YES_BUTTON", 115, 170 + 143 - 5 - 30);
            image(c, "IMAGE_NO_BUTTON", 110 + 423 - 5 - 80, 170 + 143 - 5 - 30);
        });
    };
    yesNo("dialog_quit", "IMAGE_QUIT_DIALOG_BACKGROUND", [&](Canvas& c) { startScreen(c); });
    yesNo("dialog_save", "IMAGE_SAVE_GAME_DIALOG_BACKGROUND",
          [&](Canvas& c) { worldTourScreen(c); });
    yesNo("dialog_load", "IMAGE_LOAD_GAME_DIALOG_BACKGROUND",
          [&](Canvas& c) { gameTypeScreen(c); });
    save("dialog_credits", [&](Canvas& c) {
        startScreen(c);
        cover(c);
        image(c, "IMAGE_CREDITS_DIALOG_BACKGROUND", 170, 90);
        image(c, "IMAGE_EXIT_BUTTON", 170 + 300 - 15 - 80, 90 + 300 - 15 - 30);
    });
    save("dialog_tour_completed", [&](Canvas& c) {
        worldTourScreen(c);
        cover(c);
        image(c, "IMAGE_WORLD_TOUR_COMPLETED_DIALOG_BACKGROUND", 170, 90);
        image(c, "IMAGE_EXIT_BUTTON", 170 + 300 - 15 - 80, 90 + 300 - 15 - 30);
    });
    save("dialog_profile", [&](Canvas& c) {
        worldTourScreen(c);
        cover(c);
        const int x = 50, y = 50;
        image(c, "IMAGE_PROFILE_DIALOG_BACKGROUND", x, y);
        text(c, 9, x + 50, y + 70, "Team:  Italy", black);
        text(c, 0, x + 50, y + 120, "Total Points:  2950", black);
        text(c, 0, x + 50, y + 150, "PowerUps:", black);
        const char* icons[] = {"IMAGE_YELLOW_CARD", "IMAGE_RED_CARD", "IMAGE_INJURY",
                               "IMAGE_OFFSIDE_FLAG"};
        const char* counts[] = {" x 2", " x 1", " x 0", " x 3"};
        for (int i = 0; i < 4; ++i) {
            image(c, icons[i], x + 50 + 100 * i, y + 170);
            text(c, 0, x + 50 + 100 * i + 40, y + 170 + 20, counts[i], black);
        }
        image(c, "IMAGE_EXIT_BUTTON", x + 500 - 15 - 80 - 10, y + 330 - 15 - 30 - 10);
    });
    save("dialog_post_match", [&](Canvas& c) {
        matchScreen(c, false);
        cover(c);
        const int x = 50, y = 50;
        image(c, "IMAGE_POST_MATCH_DIALOG_BACKGROUND", x, y);
        text(c, 7, x + 40, y + 60, "Argentina (2 - 1) Germany", black);
        const char* labels[] = {"Total Points:", "Match Points:", "PowerUp Points:"};
        const char* values[] = {"2486", "120", "14"};
        for (int i = 0; i < 3; ++i) {
            text(c, 0, x + 40, y + 100 + 40 * i, labels[i], black);
            text(c, 0, x + 240, y + 100 + 40 * i, values[i], black);
        }
        text(c, 0, x + 40, y + 220, "PowerUps:", black);
        const char* icons[] = {"IMAGE_YELLOW_CARD", "IMAGE_RED_CARD", "IMAGE_INJURY",
                               "IMAGE_OFFSIDE_FLAG"};
        const int tiles[4][2] = {{40, 240}, {170, 240}, {40, 310}, {170, 310}};
        const int bars[] = {36, 60, 12, 60};
        const char* counts[] = {"2", "1", "0", "3"};
        for (int i = 0; i < 4; ++i) {
            const int tx = x + tiles[i][0], ty = y + tiles[i][1];
            image(c, "IMAGE_POWERUP_BACKGROUND", tx, ty);
            image(c, icons[i], tx + 10, ty + 10);
            stretched(c, "IMAGE_POWERUP_FILLER", tx, ty, 60, bars[i]);
            image(c, "IMAGE_POWERUP_OVERLAY", tx, ty);
            text(c, 0, tx + 60, static_cast<int>(ty + 0.6 * 60), counts[i], black);
        }
        image(c, "IMAGE_NEXT_BUTTON", x + 540 - 15 - 80 - 10, y + 405 - 15 - 30 - 10);
    });
    save("dialog_shop", [&](Canvas& c) {
        worldTourScreen(c);
        cover(c);
        const int x = 50, y = 50, l = 5, t = 5, h = 60;
        image(c, "IMAGE_SHOP_DIALOG_BACKGROUND", x, y);
        text(c, 7, x + l + 20, y + t + 80, "Total Points:  120", black);
        const char* icons[] = {"IMAGE_OFFSIDE_FLAG", "IMAGE_RED_CARD", "IMAGE_YELLOW_CARD",
                               "IMAGE_INJURY"};
        const char* prices[] = {"200pts", "150pts", "100pts", "50pts"};
        const int price[] = {200, 150, 100, 50};
        const int d = (h - 30) / 2;
        for (int i = 0; i < 4; ++i) {
            image(c, icons[i], x + l + 60, y + t + 100 + 50 * i);
            text(c, 0, x + l + 120, static_cast<int>(y + t + 90 + 50 * i + 0.6 * h), prices[i],
                 black);
            image(c, price[i] > 120 ? "IMAGE_BUY_BUTTON_DISABLED" : "IMAGE_BUY_BUTTON", x + l + 240,
                  y + d + t + 90 + 50 * i);
        }
        image(c, "IMAGE_EXIT_BUTTON", x + 400 - 5 - 80 - 20, y + 390 - 5 - 30 - 20);
    });
    return ok;
}

}  // namespace datagen
