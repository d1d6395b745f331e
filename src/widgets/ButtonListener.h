#pragma once

namespace Zarvo {

// Receives what a button does. A button holds a plain pointer to its listener (not owned) and
// passes back its own id. Every operation does nothing unless overridden.
class ButtonListener {
public:
    virtual ~ButtonListener() = default;
    // A mouse button went down on the button; by default forwards to ButtonPress(id).
    virtual void ButtonPress(int id, int clickCount) {
        (void)clickCount;
        ButtonPress(id);
    }
    virtual void ButtonPress(int id) { (void)id; }
    // Released over the button while the window has the focus: a click.
    virtual void ButtonDepress(int id) { (void)id; }
    // Once per update while the button is held down with the mouse over it.
    virtual void ButtonDownTick(int id) { (void)id; }
    virtual void ButtonMouseEnter(int id) { (void)id; }
    virtual void ButtonMouseLeave(int id) { (void)id; }
    virtual void ButtonMouseMove(int id, int x, int y) { (void)id, (void)x, (void)y; }
};

}  // namespace Zarvo
