#pragma once

#include <climits>
#include <memory>
#include <string>

#include "graphics/Font.h"
#include "widgets/ButtonListener.h"
#include "widgets/DialogButton.h"
#include "widgets/Insets.h"
#include "widgets/Widget.h"

namespace Zarvo {

class DialogListener;
class DialogTable;
class Image;

// A framed window with a header, word-wrapped lines, a footer and up to two buttons (ids 1000
// and 1001). Its buttons are not its children: while the dialog is in a widget manager they are
// top-level widgets placed directly above it, so that a modal dialog's own buttons stay usable.
// A single click on the body drags the dialog.
class Dialog : public Widget, public ButtonListener {
public:
    enum ButtonMode {
        BUTTONS_NONE = 0,
        BUTTONS_YES_NO = 1,
        BUTTONS_OK_CANCEL = 2,
        BUTTONS_FOOTER = 3
    };
    enum ButtonId { ID_YES = 1000, ID_NO = 1001, ID_OK = 1000, ID_CANCEL = 1001, ID_FOOTER = 1000 };
    enum ColorIndex {
        COLOR_HEADER = 0,
        COLOR_LINES = 1,
        COLOR_FOOTER = 2,
        COLOR_BUTTON_TEXT = 3,
        COLOR_BUTTON_TEXT_HILITE = 4,
        COLOR_BKG = 5,
        COLOR_OUTLINE = 6,
    };
    static constexpr int kNoResult = INT_MAX;

    Dialog(Image* componentImage, Image* buttonComponentImage, int dialogId, bool isModal,
           const std::string& header, const std::string& lines, const std::string& footer,
           int buttonMode);
    ~Dialog() override;

    // Fonts are copied.
    virtual void SetButtonFont(Font* newFont);
    virtual void SetHeaderFont(Font* newFont);
    virtual void SetLinesFont(Font* newFont);
    // The height that shows everything at this width.
    virtual int PreferredHeight(int forWidth);
    // Runs the application's loop until the dialog has a result or leaves the screen; then,
    // with autoRemove, removes it. Returns the result: 1000 yes/OK, 1001 no/cancel, kNoResult
    // when the dialog went away unanswered.
    virtual int WaitForResult(bool autoRemove = true);
    virtual bool IsModal() const { return isModal; }

    using Widget::SetBounds;
    void SetBounds(int newX, int newY, int newWidth, int newHeight) override;
    void SetPaletteEntry(int index, const Color& color) override;
    void DrawSelf(Graphics* g) override;
    void OnAttached(WidgetManager* m) override;
    void OnDetached(WidgetManager* m) override;
    void OnOrderChanged() override;
    void OnMouseButtonDown(int mouseX, int mouseY, int button, int clicks) override;
    void OnMouseDrag(int mouseX, int mouseY) override;
    void OnMouseUp(int mouseX, int mouseY) override;

    using ButtonListener::ButtonPress;
    void ButtonPress(int buttonId) override;
    void ButtonDepress(int buttonId) override;

    // The colours new dialogs start from (shared by all dialogs).
    static Color* SharedColors();

    DialogListener* dialogListener = nullptr;  // the application's table once added
    DialogTable* table = nullptr;              // the table the dialog is open in
    Image* componentImage;
    std::unique_ptr<DialogButton> yesButton;
    std::unique_ptr<DialogButton> noButton;
    std::string dialogHeader;
    std::string dialogFooter;
    std::string dialogLines;
    int buttonMode;
    std::unique_ptr<Font> headerFont;
    std::unique_ptr<Font> linesFont;
    int textAlign = 0;
    int lineSpacingOffset = 0;
    int buttonHeight;
    Insets backgroundInsets;
    Insets contentInsets{24, 24, 24, 24};
    int spaceAfterHeader = 10;
    int dragMouseX = 0;
    int dragMouseY = 0;
    bool dragging = false;
    int id;
    bool isModal;
    int result = kNoResult;
    int buttonHorzSpacing = 8;
    int buttonSidePadding = 0;

protected:
    void EnsureFonts();
    void PlaceButtonsAbove();

private:
    // Outlives the dialog for a running WaitForResult: the dialog may be deleted inside the
    // nested loop, and the wait then reads the final result here instead of the dialog.
    struct Lifetime {
        bool deleted = false;
        int result = kNoResult;
    };
    std::shared_ptr<Lifetime> lifetime_ = std::make_shared<Lifetime>();
};

}  // namespace Zarvo
