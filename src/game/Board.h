// The one full-window widget of the game: it owns the screen switcher and forwards its updates,
// drawing and mouse events to it, and draws the current screen's draw list.
#pragma once

#include <cstdint>
#include <memory>

#include "game/screens/ScreenObject.h"
#include "widgets/ButtonListener.h"
#include "widgets/Widget.h"

namespace Zarvo {
class Graphics;
}

namespace Kelvane {

class GameApp;
class GUISystem;

class Board : public Zarvo::Widget, public Zarvo::ButtonListener {
public:
    GameApp& app;
    int lastMouseX = 0;
    int lastMouseY = 0;
    bool leftHeld = false;
    bool rightHeld = false;
    bool middleHeld = false;

    // Builds every screen and enters the first one.
    explicit Board(GameApp& app);
    ~Board() override;

    // The widget's update, then the current screen's.
    void UpdateSelf() override;
    // Black, then every object of the current screen's draw list in list order.
    void DrawSelf(Zarvo::Graphics* g) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseDrag(int x, int y) override;
    void OnMouseDown(int x, int y, int clickCount) override;
    using Zarvo::Widget::OnMouseUp;
    void OnMouseUp(int x, int y, int clickCount) override;
    // The keyboard's focus ring, drawn over the dialogs as well.
    void DrawOverlayLayer(Zarvo::Graphics* g, int overlayPriority) override;
    void AddChild(Zarvo::Widget* w) override;
    void RemoveChild(Zarvo::Widget* w) override;

    GUISystem& gui() { return *guiSystem; }

    // Draws one screen object: its image (one cel, at its own size or stretched, with its
    // alpha and an optional additive second pass), then its text. An id that is not bound to a
    // resource is a programming error: it is reported and that part is left out.
    static void drawObject(Zarvo::Graphics& g, const ScreenObject& object);

    // Marks the board for redrawing when the frame it would draw differs from the one it drew
    // last, or when anything over it is to be redrawn (a redraw of the board redraws everything
    // over it, so partly transparent widgets are never drawn over their own old picture). Called
    // just before every draw; answers whether the board will be redrawn.
    bool invalidateIfChanged();
    // A digest of everything the board would draw (every listed object's drawing fields, the
    // keyboard's focus marks) and of the place of every widget over it.
    uint64_t frameDigest();

private:
    std::unique_ptr<GUISystem> guiSystem;
    uint64_t drawnDigest = 0;
    bool drawnOnce = false;
};

}  // namespace Kelvane
