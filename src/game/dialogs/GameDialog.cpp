#include "game/dialogs/GameDialog.h"

#include "diagnostics/AllocationTracker.h"
#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "game/audio/GameSounds.h"
#include "game/screens/ScreenIds.h"
#include "graphics/Color.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "widgets/WidgetManager.h"

namespace Kelvane {

GameDialog::GameDialog(GameApp& gameApp, Zarvo::Image* background, int dialogId,
                       const std::string& header, const std::string& text,
                       const std::string& footer, const Zarvo::Insets& insets)
    : Zarvo::Dialog(background, IMAGE_DIALOG_BUTTON_BACKGROUND, dialogId, true, header, text,
                    footer, BUTTONS_NONE),
      app(gameApp) {
    contentInsets = insets;
    if (FONT_DEFAULT != nullptr) {
        SetHeaderFont(FONT_DEFAULT);
        SetLinesFont(FONT_DEFAULT);
        SetButtonFont(FONT_DEFAULT);
    }
    const Zarvo::Color black(0, 0, 0, 255);
    for (int slot : {COLOR_HEADER, COLOR_LINES, COLOR_BUTTON_TEXT, COLOR_BUTTON_TEXT_HILITE})
        SetPaletteEntry(slot, black);
}

GameDialog::~GameDialog() {
    // Each control leaves the manager on its own way out.
    ownWidgets.clear();
}

Zarvo::DialogButton* GameDialog::addButton(Zarvo::Image* image, int buttonId) {
    auto* made = KNEW Zarvo::DialogButton(image, buttonId, this);
    ownWidgets.emplace_back(made);
    return made;
}

void GameDialog::adoptWidget(std::unique_ptr<Zarvo::Widget> widget) {
    ownWidgets.push_back(std::move(widget));
}

Zarvo::DialogButton* GameDialog::button(int buttonId) const {
    for (const auto& w : ownWidgets) {
        if (auto* b = dynamic_cast<Zarvo::DialogButton*>(w.get());
            b != nullptr && b->id == buttonId)
            return b;
    }
    return nullptr;
}

void GameDialog::OnAttached(Zarvo::WidgetManager* m) {
    Dialog::OnAttached(m);
    for (const auto& w : ownWidgets) {
        if (!m->HasChild(w.get())) m->AddChild(w.get());
    }
    OnOrderChanged();
}

void GameDialog::OnDetached(Zarvo::WidgetManager* m) {
    for (const auto& w : ownWidgets) {
        if (m->HasChild(w.get())) m->RemoveChild(w.get());
    }
    Dialog::OnDetached(m);
}

void GameDialog::OnOrderChanged() {
    Dialog::OnOrderChanged();
    if (manager == nullptr || !manager->HasChild(this)) return;
    // Placing the last first keeps the controls in the order they were made, all above the
    // dialog.
    for (auto it = ownWidgets.rbegin(); it != ownWidgets.rend(); ++it) {
        if (manager->HasChild(it->get())) manager->PlaceAbove(it->get(), this);
    }
}

void GameDialog::placeAtImageSize(Zarvo::Widget* w, Zarvo::Image* image, int atX, int atY) {
    const int w0 = image != nullptr ? image->GetWidth() : 0;
    const int h0 = image != nullptr ? image->GetHeight() : 0;
    w->SetBounds(atX, atY, w0, h0);
}

void GameDialog::placeBelow(Zarvo::Widget* w, const Zarvo::Widget* above, int pad) {
    w->LayoutRelative(kLayoutSameLeft | kLayoutBelow | kLayoutSameWidth | kLayoutSameHeight, above,
                      0, pad, 0, 0);
}

void GameDialog::placeBottomRight(Zarvo::Widget* w, Zarvo::Image* image, int margin) {
    const int w0 = image != nullptr ? image->GetWidth() : 0;
    const int h0 = image != nullptr ? image->GetHeight() : 0;
    w->SetBounds(x + width - contentInsets.right - w0 - margin,
                 y + height - contentInsets.bottom - h0 - margin, w0, h0);
}

void GameDialog::close(bool resume) {
    // The dialog is deleted later, so it may still finish this call.
    app.RemoveDialog(this);
    app.sendScreenEvent(EVENT_DIALOG_CLOSED, nullptr);
    if (resume) app.sendScreenEvent(EVENT_DIALOG_RESUMED, nullptr);
}

void GameDialog::useFont(Zarvo::Graphics* g, Zarvo::Font* font) {
    if (font != nullptr) g->SetFont(font);
    g->SetColor(Zarvo::Color(0, 0, 0, 255));
}

void GameDialog::ButtonPress(int buttonId) {
    app.sounds().play(Sfx::Click);
    Dialog::ButtonPress(buttonId);
}

}  // namespace Kelvane
