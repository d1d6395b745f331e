#include "game/input/KeyboardControl.h"

#include <algorithm>
#include <utility>

#include "game/GameApp.h"
#include "game/audio/GameSounds.h"
#include "game/goals/GoalSystem.h"
#include "game/grid/PieceGrid.h"
#include "game/screens/GUISystem.h"
#include "game/screens/MainScreen.h"
#include "game/screens/ScreenIds.h"
#include "graphics/Color.h"
#include "graphics/Graphics.h"
#include "platform/WindowMessage.h"
#include "widgets/ButtonListener.h"
#include "widgets/ButtonWidget.h"
#include "widgets/Checkbox.h"
#include "widgets/CheckboxListener.h"
#include "widgets/Dialog.h"
#include "widgets/Slider.h"
#include "widgets/SliderListener.h"
#include "widgets/WidgetManager.h"

namespace Kelvane {

namespace {

namespace VKey = Zarvo::VKey;

// The button Escape presses in each game dialog: its exit, its "no" or its close.
constexpr std::pair<int, int> kEscapeButtons[] = {{203, 3}, {205, 7}, {200, 2}, {204, 1}, {210, 0},
                                                  {209, 0}, {207, 0}, {206, 0}, {208, 0}};
// The save and load question has no harmless answer: Escape leaves it alone.
constexpr int kSaveQuestion = 211;

const Zarvo::Color kRingColor(255, 214, 64, 255);
constexpr double kSliderStep = 0.1;
constexpr int kRingGap = 3;

bool isNext(int key, bool shiftHeld) {
    return (key == VKey::kTab && !shiftHeld) || key == VKey::kRight || key == VKey::kDown;
}
bool isPrevious(int key, bool shiftHeld) {
    return (key == VKey::kTab && shiftHeld) || key == VKey::kLeft || key == VKey::kUp;
}
bool isPress(int key) {
    return key == VKey::kReturn || key == VKey::kSpace;
}

void drawRing(Zarvo::Graphics& g, int x, int y, int w, int h) {
    g.SetColor(kRingColor);
    for (int i = 0; i < 2; ++i)
        g.DrawRect(x - kRingGap - i, y - kRingGap - i, w + 2 * (kRingGap + i) - 1,
                   h + 2 * (kRingGap + i) - 1);
}

}  // namespace

KeyboardControl::KeyboardControl(GameApp& application) : app(application) {}

int KeyboardControl::step(int focus, int count, bool backwards) {
    if (count <= 0) return -1;
    if (focus < 0 || focus >= count) return backwards ? count - 1 : 0;
    return (focus + (backwards ? count - 1 : 1)) % count;
}

std::vector<Zarvo::Widget*> KeyboardControl::dialogControls(Zarvo::Dialog* dialog) const {
    std::vector<Zarvo::Widget*> controls;
    const Zarvo::ButtonListener* buttonOwner = dialog;
    const auto* checkboxOwner = dynamic_cast<const Zarvo::CheckboxListener*>(dialog);
    const auto* sliderOwner = dynamic_cast<const Zarvo::SliderListener*>(dialog);
    for (Zarvo::Widget* widget : app.GetWidgetManager()->children) {
        if (!widget->visible || widget->disabled) continue;
        if (auto* button = dynamic_cast<Zarvo::ButtonWidget*>(widget)) {
            if (button->listener == buttonOwner && !button->btnNoDraw) controls.push_back(widget);
        } else if (auto* box = dynamic_cast<Zarvo::Checkbox*>(widget)) {
            if (checkboxOwner != nullptr && box->listener == checkboxOwner)
                controls.push_back(widget);
        } else if (auto* slider = dynamic_cast<Zarvo::Slider*>(widget)) {
            if (sliderOwner != nullptr && slider->listener == sliderOwner)
                controls.push_back(widget);
        }
    }
    // Reading order: top to bottom, then left to right.
    std::stable_sort(controls.begin(), controls.end(),
                     [](const Zarvo::Widget* a, const Zarvo::Widget* b) {
                         return a->y != b->y ? a->y < b->y : a->x < b->x;
                     });
    return controls;
}

std::vector<ScreenObject*> KeyboardControl::screenButtons() const {
    std::vector<ScreenObject*> buttons;
    Screen* screen = app.gui() ? app.gui()->currentScreen() : nullptr;
    if (screen == nullptr) return buttons;
    for (const Screen::ObjectList* list : {&screen->permanentObjects, &screen->visitObjects}) {
        for (const auto& object : *list) {
            const int32_t id = object->id;
            if (!object->clickable || !object->hasImage || id == OBJECT_BACKGROUND ||
                id == OBJECT_COVER || id == EVENT_TOUR_NODE || id == EVENT_PLAY_OR_PIECE)
                continue;
            buttons.push_back(object.get());
        }
    }
    std::stable_sort(buttons.begin(), buttons.end(),
                     [](const ScreenObject* a, const ScreenObject* b) {
                         return a->y != b->y ? a->y < b->y : a->x < b->x;
                     });
    return buttons;
}

bool KeyboardControl::keyDown(int key, bool shiftHeld) {
    if (app.gui() == nullptr) return false;
    if (Zarvo::Dialog* dialog = app.topDialog()) return dialogKey(dialog, key, shiftHeld);
    if (app.currentScreenId() == SCREEN_MAIN) {
        auto& match = *static_cast<MainScreen*>(app.gui()->currentScreen());
        if (matchKey(match, key)) return true;
    }
    return screenKey(key, shiftHeld);
}

void KeyboardControl::press(Zarvo::Widget* control) {
    // A game dialog's button clicks by itself as it goes down; the other controls do not.
    if (dynamic_cast<Zarvo::ButtonWidget*>(control) == nullptr) app.sounds().play(Sfx::Click);
    if (auto* button = dynamic_cast<Zarvo::ButtonWidget*>(control)) {
        // A click: pressed, then released over itself. The listener may delete the button.
        Zarvo::ButtonListener* listener = button->listener;
        const int id = button->id;
        listener->ButtonPress(id);
        listener->ButtonDepress(id);
    } else if (auto* box = dynamic_cast<Zarvo::Checkbox*>(control)) {
        box->SetChecked(!box->IsChecked(), true);
    }
}

void KeyboardControl::pressObject(ScreenObject* object) {
    app.sounds().play(Sfx::Click);
    app.gui()->sendEvent(object->id, object->param);
}

bool KeyboardControl::dialogKey(Zarvo::Dialog* dialog, int key, bool shiftHeld) {
    if (focusOwner != dialog) {
        focusOwner = dialog;
        focus = -1;
    }
    const std::vector<Zarvo::Widget*> controls = dialogControls(dialog);
    // Left and right move a slider in the ring by a tenth.
    if ((key == VKey::kLeft || key == VKey::kRight) && focus >= 0 &&
        focus < static_cast<int>(controls.size())) {
        if (auto* slider = dynamic_cast<Zarvo::Slider*>(controls[focus])) {
            slider->SetValue(slider->GetValue() +
                             (key == VKey::kRight ? kSliderStep : -kSliderStep));
            return true;
        }
    }
    if (isNext(key, shiftHeld) || isPrevious(key, shiftHeld)) {
        focus = step(focus, static_cast<int>(controls.size()), isPrevious(key, shiftHeld));
        visible = true;
        return true;
    }
    if (isPress(key)) {
        visible = true;
        if (focus < 0 || focus >= static_cast<int>(controls.size())) {
            focus = controls.empty() ? -1 : 0;  // the first press shows where the ring is
            return true;
        }
        press(controls[focus]);
        return true;
    }
    if (key != VKey::kEscape || dialog->id == kSaveQuestion) return false;
    int escapeId = -1;
    for (const auto& [dialogId, buttonId] : kEscapeButtons)
        if (dialog->id == dialogId) escapeId = buttonId;
    if (escapeId < 0) {
        // A notice of the framework's own: its first button closes it.
        if (dialog->yesButton && dialog->yesButton->visible) press(dialog->yesButton.get());
        return true;
    }
    for (Zarvo::Widget* control : controls) {
        auto* button = dynamic_cast<Zarvo::ButtonWidget*>(control);
        if (button != nullptr && button->id == escapeId) {
            press(button);
            return true;
        }
    }
    return true;
}

bool KeyboardControl::matchKey(MainScreen& match, int key) {
    if (!match.playing || !match.grid) return false;
    PieceGrid& grid = *match.grid;
    int dc = 0, dr = 0;
    if (key == VKey::kLeft) dc = -1;
    if (key == VKey::kRight) dc = 1;
    if (key == VKey::kUp) dr = 1;
    if (key == VKey::kDown) dr = -1;
    if (dc != 0 || dr != 0) {
        visible = true;
        focusOwner = &match;
        focus = -1;
        const int c = std::clamp(column + dc, 0, PieceGrid::kColumns - 1);
        const int r = std::clamp(row + dr, 0, PieceGrid::kRows - 1);
        const bool picked = grid.firstSelection() != nullptr && grid.secondSelection() == nullptr;
        column = c;
        row = r;
        // With a piece picked, the arrow names the neighbour it swaps with.
        if (picked) {
            if (BoardObject* target = grid.pieceAt(c, r))
                app.gui()->sendEvent(EVENT_PLAY_OR_PIECE, target);
        }
        return true;
    }
    if (isPress(key) && focus < 0) {
        visible = true;
        if (BoardObject* piece = grid.pieceAt(column, row))
            app.gui()->sendEvent(EVENT_PLAY_OR_PIECE, piece);
        return true;
    }
    if (key >= '1' && key <= '4') {
        std::vector<ScreenObject*> buttons(match.goals->buttons.begin(),
                                           match.goals->buttons.end());
        buttons.erase(std::remove(buttons.begin(), buttons.end(), nullptr), buttons.end());
        std::stable_sort(buttons.begin(), buttons.end(),
                         [](const ScreenObject* a, const ScreenObject* b) { return a->y < b->y; });
        const size_t index = static_cast<size_t>(key - '1');
        if (index < buttons.size() && buttons[index]->clickable)
            app.gui()->sendEvent(buttons[index]->id, buttons[index]->param);
        return true;
    }
    if (key == 'P') {
        app.gui()->sendEvent(EVENT_PAUSE, nullptr);
        return true;
    }
    if (key == VKey::kEscape) {
        app.gui()->sendEvent(EVENT_MENU, nullptr);
        return true;
    }
    return false;
}

bool KeyboardControl::screenKey(int key, bool shiftHeld) {
    Screen* screen = app.gui()->currentScreen();
    const int number = app.currentScreenId();
    if (number == SCREEN_ORLEND || number == SCREEN_KELVANE) {
        ScreenObject* background = screen->findObject(OBJECT_BACKGROUND);
        if ((isPress(key) || key == VKey::kEscape) && background && background->clickable) {
            app.gui()->sendEvent(OBJECT_BACKGROUND, nullptr);
            return true;
        }
        return false;
    }
    if (focusOwner != screen) {
        focusOwner = screen;
        focus = -1;
    }
    const std::vector<ScreenObject*> buttons = screenButtons();
    if (isNext(key, shiftHeld) || isPrevious(key, shiftHeld)) {
        focus = step(focus, static_cast<int>(buttons.size()), isPrevious(key, shiftHeld));
        visible = true;
        return true;
    }
    if (isPress(key)) {
        visible = true;
        if (focus < 0 || focus >= static_cast<int>(buttons.size())) {
            focus = buttons.empty() ? -1 : 0;
            return true;
        }
        ScreenObject* chosen = buttons[focus];
        // Pressing may change the screen: the ring starts afresh on whatever comes.
        if (chosen->id != EVENT_TEAM_ROW) focus = -1;
        pressObject(chosen);
        return true;
    }
    if (key == VKey::kEscape) {
        for (int32_t id : {EVENT_MENU, EVENT_BACK}) {
            ScreenObject* object = screen->findObject(id);
            if (object != nullptr && object->clickable && object->hasImage) {
                focus = -1;
                pressObject(object);
                return true;
            }
        }
    }
    return false;
}

void KeyboardControl::drawOverlay(Zarvo::Graphics& g) {
    if (!visible || app.gui() == nullptr) return;
    if (Zarvo::Dialog* dialog = app.topDialog()) {
        if (focusOwner != dialog) return;
        const std::vector<Zarvo::Widget*> controls = dialogControls(dialog);
        if (focus >= 0 && focus < static_cast<int>(controls.size())) {
            const Zarvo::Widget* c = controls[focus];
            drawRing(g, c->x, c->y, c->width, c->height);
        }
        return;
    }
    Screen* screen = app.gui()->currentScreen();
    if (app.currentScreenId() == SCREEN_MAIN) {
        auto* match = static_cast<MainScreen*>(screen);
        if (match->playing && match->grid && focusOwner == match) {
            if (const BoardObject* piece = match->grid->pieceAt(column, row))
                drawRing(g, static_cast<int>(piece->x) + kRingGap,
                         static_cast<int>(piece->y) + kRingGap,
                         static_cast<int>(piece->width) - 2 * kRingGap,
                         static_cast<int>(piece->height) - 2 * kRingGap);
            return;
        }
    }
    if (focusOwner != screen) return;
    const std::vector<ScreenObject*> buttons = screenButtons();
    if (focus >= 0 && focus < static_cast<int>(buttons.size())) {
        const ScreenObject* b = buttons[focus];
        drawRing(g, static_cast<int>(b->x), static_cast<int>(b->y), static_cast<int>(b->width),
                 static_cast<int>(b->height));
    }
}

}  // namespace Kelvane
