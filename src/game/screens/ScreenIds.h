// The numbers screens are switched by, the ids of screen events and the fixed object ids. Other
// code, the dialogs and the data rely on these numbers.
#pragma once

#include <cstdint>

namespace Kelvane {

// Screen numbers for GUISystem::switchTo. Other numbers name no screen.
enum ScreenId : int32_t {
    SCREEN_INTRO = 1,
    SCREEN_ORLEND = 2,   // maker splash
    SCREEN_KELVANE = 3,  // title splash
    SCREEN_START = 4,
    SCREEN_TEAM_PICKING = 5,
    SCREEN_MAIN = 6,  // the match
    SCREEN_GAME_TYPE = 9,
    SCREEN_WORLD_TOUR = 10,
};

// Event ids delivered to the current screen's onEvent, with who sends them.
enum ScreenEvent : int32_t {
    EVENT_PLAY_OR_PIECE = 1,  // click: intro play button; a piece of the grid (param: the piece)
    EVENT_INTRO_EXIT = 2,     // click: intro buttons
    EVENT_INTRO_OPTIONS = 3,
    EVENT_INTRO_FOURTH = 4,
    EVENT_MENU = 7,             // click: open the menu dialog
    EVENT_PAUSE = 8,            // click: pause or resume the match
    EVENT_NEXT = 15,            // click: continue
    EVENT_BACK = 16,            // click: go back
    EVENT_START = 17,           // click: go to the game type choice
    EVENT_DROP_LANDED = 22,     // piece grid: the opening drop has landed
    EVENT_FLOWN_OFF = 23,       // piece grid: the pieces have flown off, the match is over
    EVENT_TIME_UP = 24,         // match clock: time is up
    EVENT_DIALOG_RESUMED = 26,  // dialogs: a dialog that paused the match has closed
    EVENT_CLEAR_FINISHED = 27,  // piece grid: a clear has finished
    EVENT_GRID_IDLE = 29,       // piece grid: the grid is idle
    EVENT_SHOW_TIME_UP = 31,    // match screen: show the time-up message
    EVENT_GO_DONE = 36,         // message display: the go message has finished
    EVENT_TIME_UP_DONE = 37,    // message display: the time-up message has finished
    EVENT_POWERUP_FIRST = 40,   // click: power-up buttons 40 to 43
    EVENT_POWERUP_LAST = 43,
    EVENT_FRIENDLY_MATCH = 48,  // click: start a friendly match
    EVENT_TOUR_NODE = 50,       // click: tour node (param: the node); ignored by the screens
    EVENT_WORLD_TOUR = 51,      // click: start or resume the world tour
    EVENT_QUIT = 52,            // click: quit the application
    EVENT_SHOP = 53,            // click: open the shop
    EVENT_TALLY_DONE = 55,      // post-match dialog: the points tally was acknowledged
    EVENT_DIALOG_CLOSED = 57,   // dialogs: a dialog has closed, hide the cover
    EVENT_PROFILE = 58,         // click: open the profile dialog
    EVENT_LOAD_NO = 59,         // load dialog "no": start a new world tour
    EVENT_LOAD_YES = 60,        // load dialog "yes": resume the saved world tour
    EVENT_TEAM_ROW = 200,       // click: team row (param: the team)
};

// Object ids with a fixed meaning.
enum ObjectId : int32_t {
    OBJECT_COVER = 1001,       // cover and label objects; never handled
    OBJECT_BACKGROUND = 2001,  // every screen's background; clicking it skips a splash
};

}  // namespace Kelvane
