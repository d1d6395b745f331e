#include "game/dialogs/OptionsDialog.h"

#include <memory>

#include "diagnostics/AllocationTracker.h"
#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "game/audio/GameSounds.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "widgets/Checkbox.h"
#include "widgets/Slider.h"

namespace Kelvane {

OptionsDialog::OptionsDialog(GameApp& gameApp, const std::string& header, const std::string& text)
    : GameDialog(gameApp, IMAGE_OPTIONS_DIALOG_BACKGROUND, kDialogId, header, text, " ",
                 Zarvo::Insets{23, 20, 23, 20}) {
    spaceAfterHeader = 30;
    SetPaletteEntry(COLOR_FOOTER, Zarvo::Color(0, 0, 0, 255));
    addButton(IMAGE_EXIT_BUTTON, kExitButton);
    // One image holds both cels: unchecked on its left half, checked on its right half.
    checkbox = KNEW Zarvo::Checkbox(IMAGE_OPTIONS_DIALOG_CHECKBOX, IMAGE_OPTIONS_DIALOG_CHECKBOX,
                                    kFullScreenCheckbox, this);
    adoptWidget(std::unique_ptr<Zarvo::Widget>(checkbox));
    music = KNEW Zarvo::Slider(IMAGE_OPTIONS_DIALOG_SLIDER_TRACK, IMAGE_OPTIONS_DIALOG_SLIDER_THUMB,
                               kMusicSlider, this);
    adoptWidget(std::unique_ptr<Zarvo::Widget>(music));
    sound = KNEW Zarvo::Slider(IMAGE_OPTIONS_DIALOG_SLIDER_TRACK, IMAGE_OPTIONS_DIALOG_SLIDER_THUMB,
                               kSoundSlider, this);
    adoptWidget(std::unique_ptr<Zarvo::Widget>(sound));
}

namespace {
// The sliders' rows below the checkbox: a label line, then the slider under it.
constexpr int kMusicLabelY = 112;
constexpr int kSoundLabelY = 158;
constexpr int kSliderBelowLabel = 6;
constexpr int kSliderHeight = 24;
}  // namespace

void OptionsDialog::SetBounds(int newX, int newY, int newWidth, int newHeight) {
    GameDialog::SetBounds(newX, newY, newWidth, newHeight);
    placeBottomRight(button(kExitButton), IMAGE_EXIT_BUTTON, 0);
    placeAtImageSize(checkbox, IMAGE_OPTIONS_DIALOG_CHECKBOX, x + 23, y + 20 + 40);
    const int sliderWidth = newWidth - 23 - 23;
    music->SetBounds(x + 23, y + kMusicLabelY + kSliderBelowLabel, sliderWidth, kSliderHeight);
    sound->SetBounds(x + 23, y + kSoundLabelY + kSliderBelowLabel, sliderWidth, kSliderHeight);
}

void OptionsDialog::OnAttached(Zarvo::WidgetManager* m) {
    GameDialog::OnAttached(m);
    if (Zarvo::MemoryImage* cels = IMAGE_OPTIONS_DIALOG_CHECKBOX) {
        const int half = cels->GetWidth() / 2;
        checkbox->uncheckedRect = Zarvo::Rect(0, 0, half, cels->GetHeight());
        checkbox->checkedRect = Zarvo::Rect(half, 0, half, cels->GetHeight());
    }
    checkbox->SetChecked(!app.windowed, false);
    music->SetValue(app.GetMusicVolume(), false);
    sound->SetValue(app.GetSfxVolume(), false);
}

void OptionsDialog::DrawSelf(Zarvo::Graphics* g) {
    GameDialog::DrawSelf(g);
    useFont(g, FONT_DEFAULT);
    g->DrawString("Full Screen", checkbox->x + checkbox->width - x,
                  checkbox->y + checkbox->height - y);
    g->DrawString("Music", 23, kMusicLabelY);
    g->DrawString("Sound", 23, kSoundLabelY);
}

void OptionsDialog::SliderVal(int sliderId, double value) {
    if (sliderId == kMusicSlider) {
        app.SetMusicVolume(value);
    } else if (sliderId == kSoundSlider) {
        app.SetSfxVolume(value);
        app.sounds().play(Sfx::Click);  // the new level, heard at once
    }
}

void OptionsDialog::ButtonDepress(int buttonId) {
    if (buttonId != kExitButton) {
        Dialog::ButtonDepress(buttonId);
        return;
    }
    app.ChangeScreenMode(!checkbox->IsChecked(), false, false);
    close(true);
}

void OptionsDialog::CheckboxChecked(int checkboxId, bool checked) {
    (void)checkboxId;
    if (checked || !app.fullScreenForced()) return;
    app.ShowDialog(kNoticeDialogId, true, kNoticeHeader, kNoticeText, kNoticeFooter,
                   BUTTONS_FOOTER);
    checkbox->SetChecked(true, true);
}

}  // namespace Kelvane
