// The game's resource ids: every font and image the game draws has a fixed number. Fonts are
// 0..9 and images 10..132; RESOURCE_ID_COUNT (133) is one past the last and means "no image" in
// screen objects. Each id has one program-wide variable named after its manifest string id (the
// variable IMAGE_EXIT_BUTTON holds the image of Res::IMAGE_EXIT_BUTTON, 37), filled by the two
// binding steps after the resource groups "Init" and "Game" have been loaded. The resource
// manager owns the objects; the variables only borrow them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace Zarvo {
class Font;
class MemoryImage;
class ResourceManager;
}  // namespace Zarvo

// The one list of ids: X(name, number), in numeric order.
#define KELVANE_FONT_IDS(X)        \
    X(FONT_DEFAULT, 0)             \
    X(FONT_ROCKWELLEXTRABOLD8, 1)  \
    X(FONT_ROCKWELLEXTRABOLD9, 2)  \
    X(FONT_ROCKWELLEXTRABOLD10, 3) \
    X(FONT_ROCKWELLEXTRABOLD11, 4) \
    X(FONT_ROCKWELLEXTRABOLD12, 5) \
    X(FONT_ROCKWELLEXTRABOLD14, 6) \
    X(FONT_ROCKWELLEXTRABOLD16, 7) \
    X(FONT_ROCKWELLEXTRABOLD18, 8) \
    X(FONT_ROCKWELLEXTRABOLD20, 9)

#define KELVANE_IMAGE_IDS(X)                            \
    X(IMAGE_EMPTY_SQUARE, 10)                           \
    X(IMAGE_SELECTED, 11)                               \
    X(IMAGE_TIME_BAR, 12)                               \
    X(IMAGE_TIME_BAR_BACKGROUND, 13)                    \
    X(IMAGE_TIME_MAIN_BACKGROUND, 14)                   \
    X(IMAGE_EXTRA_TIME_MAIN_BACKGROUND, 15)             \
    X(IMAGE_HINT_ANIM, 16)                              \
    X(IMAGE_MOUSE_OVER_OBJECT_ANIM, 17)                 \
    X(IMAGE_BOARD_BACKGROUND, 18)                       \
    X(IMAGE_MENU_DIALOG_BACKGROUND, 19)                 \
    X(IMAGE_SCORES_DIALOG_BACKGROUND, 20)               \
    X(IMAGE_QUIT_DIALOG_BACKGROUND, 21)                 \
    X(IMAGE_RULES_DIALOG_BACKGROUND, 22)                \
    X(IMAGE_DIALOG_BUTTON_BACKGROUND, 23)               \
    X(IMAGE_OPTIONS_DIALOG_BACKGROUND, 24)              \
    X(IMAGE_OPTIONS_DIALOG_SLIDER_TRACK, 25)            \
    X(IMAGE_OPTIONS_DIALOG_SLIDER_THUMB, 26)            \
    X(IMAGE_OPTIONS_DIALOG_CHECKBOX, 27)                \
    X(IMAGE_BASIC_DIALOG_BACKGROUND, 28)                \
    X(IMAGE_WORLD_TOUR_COMPLETED_DIALOG_BACKGROUND, 29) \
    X(IMAGE_CLOCK_BACKGROUND, 30)                       \
    X(IMAGE_POWERUP_BACKGROUND, 31)                     \
    X(IMAGE_POWERUP_FILLER, 32)                         \
    X(IMAGE_POWERUP_OVERLAY, 33)                        \
    X(IMAGE_SCORE_BACKGROUND, 34)                       \
    X(IMAGE_SCORE_OVERLAY, 35)                          \
    X(IMAGE_PLAY_BUTTON, 36)                            \
    X(IMAGE_EXIT_BUTTON, 37)                            \
    X(IMAGE_OPTIONS_BUTTON, 38)                         \
    X(IMAGE_START_BUTTON, 39)                           \
    X(IMAGE_BACK_BUTTON, 40)                            \
    X(IMAGE_NEXT_BUTTON, 41)                            \
    X(IMAGE_DONE_BUTTON, 42)                            \
    X(IMAGE_RULES_BUTTON, 43)                           \
    X(IMAGE_SCORES_BUTTON, 44)                          \
    X(IMAGE_QUIT_BUTTON, 45)                            \
    X(IMAGE_MENU_BUTTON, 46)                            \
    X(IMAGE_PAUSE_BUTTON, 47)                           \
    X(IMAGE_MENU_BUTTON_CLICKED, 48)                    \
    X(IMAGE_PAUSE_BUTTON_CLICKED, 49)                   \
    X(IMAGE_OPPOSING_TEAM_BACKGROUND, 50)               \
    X(IMAGE_OPPOSING_TEAM_FILLER, 51)                   \
    X(IMAGE_OPPOSING_TEAM_OVERLAY, 52)                  \
    X(IMAGE_OPPOSING_TEAM_ARROW, 53)                    \
    X(IMAGE_ORLEND_SCREEN_BACKGROUND, 54)               \
    X(IMAGE_KELVANE_SCREEN_BACKGROUND, 55)              \
    X(IMAGE_START_SCREEN_BACKGROUND, 56)                \
    X(IMAGE_TEAM_PICKING_SCREEN_BACKGROUND, 57)         \
    X(IMAGE_MAIN_SCREEN_BACKGROUND, 58)                 \
    X(IMAGE_MAP_SCREEN_BACKGROUND, 59)                  \
    X(IMAGE_GAME_TYPE_SCREEN_BACKGROUND, 60)            \
    X(IMAGE_WORLD_TOUR_SCREEN_BACKGROUND, 61)           \
    X(IMAGE_RED_CARD, 62)                               \
    X(IMAGE_MONEY, 63)                                  \
    X(IMAGE_CORNER_FLAG, 64)                            \
    X(IMAGE_OFFSIDE_FLAG, 65)                           \
    X(IMAGE_INJURY, 66)                                 \
    X(IMAGE_YELLOW_CARD, 67)                            \
    X(IMAGE_EXTRA_TIME, 68)                             \
    X(IMAGE_WHITE_BALL, 69)                             \
    X(IMAGE_INJURY_ANIM, 70)                            \
    X(IMAGE_YELLOW_CARD_ANIM, 71)                       \
    X(IMAGE_READY_MESSAGE, 72)                          \
    X(IMAGE_KICKOFF_MESSAGE, 73)                        \
    X(IMAGE_TIME_UP_MESSAGE, 74)                        \
    X(IMAGE_EXTRA_TIME_MESSAGE, 75)                     \
    X(IMAGE_GOAL_MESSAGE, 76)                           \
    X(IMAGE_GO_MESSAGE, 77)                             \
    X(IMAGE_FRANCE_NAME, 78)                            \
    X(IMAGE_BRAZIL_NAME, 79)                            \
    X(IMAGE_USA_NAME, 80)                               \
    X(IMAGE_ENGLAND_NAME, 81)                           \
    X(IMAGE_SPAIN_NAME, 82)                             \
    X(IMAGE_GERMANY_NAME, 83)                           \
    X(IMAGE_ITALY_NAME, 84)                             \
    X(IMAGE_ARGENTINA_NAME, 85)                         \
    X(IMAGE_CHOSEN_TEAM_TEXT, 86)                       \
    X(IMAGE_CHOOSE_TEAM_TEXT, 87)                       \
    X(IMAGE_FRANCE_NAME_SMALL, 88)                      \
    X(IMAGE_BRAZIL_NAME_SMALL, 89)                      \
    X(IMAGE_USA_NAME_SMALL, 90)                         \
    X(IMAGE_ENGLAND_NAME_SMALL, 91)                     \
    X(IMAGE_SPAIN_NAME_SMALL, 92)                       \
    X(IMAGE_GERMANY_NAME_SMALL, 93)                     \
    X(IMAGE_ITALY_NAME_SMALL, 94)                       \
    X(IMAGE_ARGENTINA_NAME_SMALL, 95)                   \
    X(IMAGE_LEFT_CUP_MATCH_BRACKET, 96)                 \
    X(IMAGE_RIGHT_CUP_MATCH_BRACKET, 97)                \
    X(IMAGE_LEFT_SEMI_FINAL_BRACKET, 98)                \
    X(IMAGE_RIGHT_SEMI_FINAL_BRACKET, 99)               \
    X(IMAGE_CUP_FINAL_V, 100)                           \
    X(IMAGE_FRIENDLY_MATCH, 101)                        \
    X(IMAGE_TARVEN_CUP, 102)                            \
    X(IMAGE_HUMAN_TEAM_INDICATOR, 103)                  \
    X(IMAGE_PAGE_ONE_OF_RULES, 104)                     \
    X(IMAGE_PAGE_TWO_OF_RULES, 105)                     \
    X(IMAGE_PAGE_THREE_OF_RULES, 106)                   \
    X(IMAGE_PAGE_FOUR_OF_RULES, 107)                    \
    X(IMAGE_PAGE_FIVE_OF_RULES, 108)                    \
    X(IMAGE_PAGE_SIX_OF_RULES, 109)                     \
    X(IMAGE_PAGE_SEVEN_OF_RULES, 110)                   \
    X(IMAGE_NODE, 111)                                  \
    X(IMAGE_COMPLETED_NODE, 112)                        \
    X(IMAGE_WORLD_TOUR, 113)                            \
    X(IMAGE_SHOP_BUTTON, 114)                           \
    X(IMAGE_BUY_BUTTON, 115)                            \
    X(IMAGE_BUY_BUTTON_DISABLED, 116)                   \
    X(IMAGE_TINTED_SCREEN_COVER, 117)                   \
    X(IMAGE_PROFILE_BUTTON, 118)                        \
    X(IMAGE_POINTS_BACKGROUND, 119)                     \
    X(IMAGE_SHOP_DIALOG_BACKGROUND, 120)                \
    X(IMAGE_PROFILE_DIALOG_BACKGROUND, 121)             \
    X(IMAGE_POST_MATCH_DIALOG_BACKGROUND, 122)          \
    X(IMAGE_TEAM_PICK_BACKGROUND, 123)                  \
    X(IMAGE_TEAM_PICKED_BACKGROUND, 124)                \
    X(IMAGE_CREDITS_DIALOG_BACKGROUND, 125)             \
    X(IMAGE_CREDITS_BUTTON, 126)                        \
    X(IMAGE_SAVE_GAME_DIALOG_BACKGROUND, 127)           \
    X(IMAGE_YES_BUTTON, 128)                            \
    X(IMAGE_NO_BUTTON, 129)                             \
    X(IMAGE_LOAD_GAME_DIALOG_BACKGROUND, 130)           \
    X(IMAGE_START_SCREEN_BACKGROUND_DEMO, 131)          \
    X(IMAGE_WORLD_TOUR_DEMO, 132)

namespace Kelvane {

// The numbers, under the names of their string ids.
namespace Res {
#define KELVANE_RESOURCE_NUMBER(name, number) name = number,
enum : int32_t {
    KELVANE_FONT_IDS(KELVANE_RESOURCE_NUMBER) KELVANE_IMAGE_IDS(KELVANE_RESOURCE_NUMBER)
};
#undef KELVANE_RESOURCE_NUMBER
}  // namespace Res

constexpr int32_t RESOURCE_ID_COUNT = 133;
constexpr int32_t kFirstImageId = 10;  // ids below are fonts

// The manifest string id of every resource id, indexed by number.
constexpr std::array<std::string_view, RESOURCE_ID_COUNT> kResourceNames = {
#define KELVANE_RESOURCE_NAME(name, number) #name,
    KELVANE_FONT_IDS(KELVANE_RESOURCE_NAME) KELVANE_IMAGE_IDS(KELVANE_RESOURCE_NAME)
#undef KELVANE_RESOURCE_NAME
};

// The variables: null until bound.
#define KELVANE_FONT_VARIABLE(name, number) extern Zarvo::Font* name;
#define KELVANE_IMAGE_VARIABLE(name, number) extern Zarvo::MemoryImage* name;
KELVANE_FONT_IDS(KELVANE_FONT_VARIABLE)
KELVANE_IMAGE_IDS(KELVANE_IMAGE_VARIABLE)
#undef KELVANE_FONT_VARIABLE
#undef KELVANE_IMAGE_VARIABLE

inline constexpr bool isFontId(int32_t id) {
    return id >= 0 && id < kFirstImageId;
}
inline constexpr bool isImageId(int32_t id) {
    return id >= kFirstImageId && id < RESOURCE_ID_COUNT;
}

// The value last bound to the variable of `id`: a Font* for 0..9, a MemoryImage* for 10..132.
// Null for an id outside 0..132 or one not bound yet.
void* getResourceById(int32_t id);
// The same, typed; null when `id` is not a font id (an image id) or not bound.
Zarvo::Font* getFontById(int32_t id);
Zarvo::MemoryImage* getImageById(int32_t id);

// Bind the ten font ids, or the 123 image ids, from the loaded resources. The names are visited
// in ascending byte order of their string ids; the first one the manager cannot supply (its
// ResourceManagerException) stops the step with false. Variables bound before the failure keep
// their new values, the rest keep their old ones.
bool extractInitResources(Zarvo::ResourceManager& manager);
bool extractGameResources(Zarvo::ResourceManager& manager);

// Sets every variable back to null (for tests and the application's tear-down, so no variable
// outlives the resources it borrows).
void clearResourceIds();

}  // namespace Kelvane
