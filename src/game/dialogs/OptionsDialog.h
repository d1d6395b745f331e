// The options: a "Full Screen" checkbox, music and sound volume sliders that apply at once, and
// an exit button that applies the screen mode. When this run cannot show a window, unchecking
// the box explains why and checks it again.
#pragma once

#include <string>

#include "game/FullScreenChoice.h"
#include "game/dialogs/GameDialog.h"
#include "widgets/CheckboxListener.h"
#include "widgets/SliderListener.h"

namespace Zarvo {
class Checkbox;
class Slider;
}  // namespace Zarvo

namespace Kelvane {

class OptionsDialog : public GameDialog,
                      public FullScreenChoice,
                      public Zarvo::CheckboxListener,
                      public Zarvo::SliderListener {
public:
    static constexpr int kDialogId = 205;
    static constexpr int kExitButton = 7;
    static constexpr int kFullScreenCheckbox = 0;
    static constexpr int kMusicSlider = 1;
    static constexpr int kSoundSlider = 2;
    // The dialog is taller than its picture by the room the two sliders take.
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 260;
    // The notice shown when full screen is forced.
    static constexpr int kNoticeDialogId = 6;
    static constexpr const char* kNoticeHeader = "No Windowed Mode";
    static constexpr const char* kNoticeText =
        "Windowed mode is only available if your desktop is running in\n\t\t\teither 16 bit or 32 "
        "bit color mode, which it is not.";
    static constexpr const char* kNoticeFooter = "OK";

    OptionsDialog(GameApp& app, const std::string& header, const std::string& text);

    Zarvo::Checkbox* fullScreenCheckbox() override { return checkbox; }

    using Dialog::SetBounds;
    void SetBounds(int newX, int newY, int newWidth, int newHeight) override;
    void OnAttached(Zarvo::WidgetManager* m) override;
    void DrawSelf(Zarvo::Graphics* g) override;
    using Dialog::ButtonDepress;
    void ButtonDepress(int buttonId) override;
    void CheckboxChecked(int checkboxId, bool checked) override;
    // Music and sound volumes take effect at once and are kept with the settings.
    void SliderVal(int sliderId, double value) override;

    Zarvo::Slider* musicSlider() const { return music; }
    Zarvo::Slider* soundSlider() const { return sound; }

private:
    Zarvo::Checkbox* checkbox;  // owned with the buttons
    Zarvo::Slider* music;
    Zarvo::Slider* sound;
};

}  // namespace Kelvane
