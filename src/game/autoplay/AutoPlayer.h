// A player that plays the game through its user interface, by mouse events alone: through the
// splash screens and menus, a friendly match or a number of world tour matches (finding good
// swaps, using power-ups when the opponent's bar is high), the post-match tally, the shop, and
// finally out of the game (on the tour by the menu's quit question with the tour saved). It
// doubles as a demo mode and as the driver of the end-to-end tests. It prints a line for every
// screen it reaches and for every match result.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace Zarvo {
class ButtonWidget;
class Dialog;
}  // namespace Zarvo

namespace Kelvane {

class GameApp;
class MainScreen;

class AutoPlayer {
public:
    enum class Mode { Friendly, Tour };
    // Updates between two actions: long enough for a player's eye, short enough for a test.
    static constexpr int kActionGap = 25;
    // Updates a new screen or dialog is looked at before anything is done on it.
    static constexpr int kArrivalPause = 50;

    // `say` receives each line of output (without its line break).
    AutoPlayer(GameApp& app, Mode mode, int tourMatches,
               std::function<void(const std::string&)> say);

    // Parses the value of the autoplay option: "" is a friendly match, "tour" one tour match,
    // "tour:N" N of them. False for anything else.
    static bool parseOption(const std::string& value, Mode& mode, int& tourMatches);

    // One update tick: looks at the game and acts at most once every kActionGap updates.
    void update();

    int matchesPlayed() const { return matchesSeen; }

    // The swap the player would make on a 7 x 7 board of kinds (column-major, row 0 at the
    // bottom): the two cells, or false when no swap makes a line. Lines of balls weigh most.
    struct Swap {
        int column1, row1, column2, row2;
    };
    static bool bestSwap(const std::array<int, 49>& kinds, Swap& best);

private:
    // Acts on the current screen or the dialog on top; answers whether it did something.
    bool act();
    bool actOnDialog();
    bool actInMatch(MainScreen& match);
    void watchScreen();
    void reportMatchResult();
    // "stage N, P points": the tour's current stage, counted from 1, and the player's points.
    std::string tourPosition() const;
    // Clicks through the window procedure at the game-area point (x, y), wherever the window
    // shows it.
    void click(int x, int y);
    void clickCentre(float x, float y, float width, float height);
    // Clicks the visible, enabled button `id` of `dialog`; false when it has none.
    bool clickDialogButton(Zarvo::Dialog* dialog, int id);
    bool clickObject(int32_t id);
    void say(const std::string& line) { out(line); }

    GameApp& app;
    Mode mode;
    int tourMatches;
    std::function<void(const std::string&)> out;
    int cooldown = 0;
    static constexpr int kMenuSights = 3;
    int sightsSeen = 0;        // dialogs of the menu looked at
    bool profileSeen = false;  // the profile was looked at once on the map
    int lastScreen = -1;
    const Zarvo::Dialog* lastTopDialog = nullptr;  // compared only, never followed
    int matchesSeen = 0;
    bool tallyReported = false;
    bool loadAnswered = false;  // the load question was answered yes
    bool saveAnswered = false;  // the save question was answered yes (and the game went on)
    bool resumeReported = false;
    bool shopVisited = false;         // on this visit of the map
    bool shopBought = false;          // one purchase a visit
    bool leaving = false;             // the run's work is done: on the way out
    bool selectionPending = false;    // the first piece of a swap has been clicked
    int swapColumn = 0, swapRow = 0;  // the second piece of that swap
};

}  // namespace Kelvane
