// The common ground of the game's modal dialogs: a framework dialog with the game's background
// image, its button image, no buttons of its own making (button mode 0), the default font and
// black texts. The buttons and other controls a game dialog shows are owned here; while the
// dialog is in the widget manager they are top-level widgets placed directly above it (their
// positions are screen positions, set in SetBounds), and they leave the manager with it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "widgets/Dialog.h"
#include "widgets/DialogButton.h"
#include "widgets/Insets.h"

namespace Zarvo {
class Graphics;
class Image;
class WidgetManager;
}  // namespace Zarvo

namespace Kelvane {

class GameApp;

class GameDialog : public Zarvo::Dialog {
public:
    // Modal; the content insets are the given ones. Palette entries 0, 1, 3 and 4 are black.
    GameDialog(GameApp& app, Zarvo::Image* background, int dialogId, const std::string& header,
               const std::string& text, const std::string& footer, const Zarvo::Insets& insets);
    ~GameDialog() override;

    void OnAttached(Zarvo::WidgetManager* m) override;
    void OnDetached(Zarvo::WidgetManager* m) override;
    void OnOrderChanged() override;
    // A soft click as a button goes down.
    using Dialog::ButtonPress;
    void ButtonPress(int buttonId) override;

    // The own button of an id; null when there is none.
    Zarvo::DialogButton* button(int buttonId) const;

protected:
    // Creates a button drawn from `image` that reports to this dialog, and keeps it.
    Zarvo::DialogButton* addButton(Zarvo::Image* image, int buttonId);
    // Keeps another control that lives beside the buttons (added and removed with them).
    void adoptWidget(std::unique_ptr<Zarvo::Widget> widget);
    // Places `w` at (x, y) in screen coordinates, at the size of `image`.
    static void placeAtImageSize(Zarvo::Widget* w, Zarvo::Image* image, int x, int y);
    // Places `w` directly under `above` with its left edge, width and height, `pad` pixels
    // lower.
    static void placeBelow(Zarvo::Widget* w, const Zarvo::Widget* above, int pad);
    // Places `w` at the bottom right inside the dialog's insets, `margin` more pixels in.
    void placeBottomRight(Zarvo::Widget* w, Zarvo::Image* image, int margin);
    // Takes the dialog off the application's dialog stack and tells the current screen that
    // it has closed (57) and, with `resume`, that a paused match may go on (26).
    void close(bool resume);
    // Sets `font` (when bound) and black for the texts a dialog draws itself.
    static void useFont(Zarvo::Graphics* g, Zarvo::Font* font);

    GameApp& app;

private:
    std::vector<std::unique_ptr<Zarvo::Widget>> ownWidgets;  // in the order they were made
};

}  // namespace Kelvane
