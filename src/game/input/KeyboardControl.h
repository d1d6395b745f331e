// Playing without a mouse. On the board: the arrow keys move a focus square over the pieces,
// Space or Enter picks the piece under it, and an arrow after a pick swaps it with the neighbour
// that way; 1 to 4 use the power-ups from the top of their panel down; P pauses; Escape opens the
// menu. Elsewhere Tab (or an arrow) moves a focus ring between the buttons of the screen or of
// the dialog on top, Enter or Space presses the one in the ring, and Escape closes the dialog or
// goes back. Everything a key does is what a click on the same thing does, so recorded input
// replays the same way.
#pragma once

#include <cstdint>
#include <vector>

namespace Zarvo {
class Dialog;
class Graphics;
class Widget;
}  // namespace Zarvo

namespace Kelvane {

class GameApp;
class MainScreen;
class ScreenObject;

class KeyboardControl {
public:
    explicit KeyboardControl(GameApp& app);

    // A key went down; answers whether it did something.
    bool keyDown(int key, bool shiftHeld);
    // The pointer moved: the ring and the square give way to the mouse.
    void pointerMoved() { visible = false; }
    // Draws the focus square or ring over everything else, while the keyboard is in use.
    void drawOverlay(Zarvo::Graphics& g);

    bool ringVisible() const { return visible; }
    // Changes whenever what drawOverlay draws may change.
    uint64_t digest() const {
        uint64_t d = reinterpret_cast<uintptr_t>(focusOwner);
        for (int value : {visible ? 1 : 0, focus, column, row})
            d = d * 1000003u + static_cast<uint64_t>(value + 2);
        return d;
    }
    int boardColumn() const { return column; }
    int boardRow() const { return row; }

private:
    // The dialog's visible, enabled buttons and controls, in the order Tab visits them.
    std::vector<Zarvo::Widget*> dialogControls(Zarvo::Dialog* dialog) const;
    // The screen's buttons, in the order Tab visits them.
    std::vector<ScreenObject*> screenButtons() const;
    bool dialogKey(Zarvo::Dialog* dialog, int key, bool shiftHeld);
    bool matchKey(MainScreen& match, int key);
    bool screenKey(int key, bool shiftHeld);
    void press(Zarvo::Widget* control);
    void pressObject(ScreenObject* object);
    // Moves `focus` one step through `count` entries; answers the new index.
    static int step(int focus, int count, bool backwards);

    GameApp& app;
    bool visible = false;
    int focus = -1;                    // index into the current Tab order
    const void* focusOwner = nullptr;  // the dialog or screen the index belongs to
    int column = 3;                    // the board's focus square
    int row = 3;
};

}  // namespace Kelvane
