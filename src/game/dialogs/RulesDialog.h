// The rules: seven pages of pictures, paged with back and next; back is hidden on the first
// page and next on the last.
#pragma once

#include <array>
#include <string>

#include "game/dialogs/GameDialog.h"

namespace Kelvane {

class RulesDialog : public GameDialog {
public:
    static constexpr int kDialogId = 200;
    static constexpr int kPageCount = 7;
    enum ButtonIds { kBackButton = 0, kNextButton = 1, kExitButton = 2 };

    RulesDialog(GameApp& app, const std::string& header, const std::string& text);

    // The page shown, 1 to 7.
    int currentPage() const;

    using Dialog::SetBounds;
    void SetBounds(int newX, int newY, int newWidth, int newHeight) override;
    void DrawSelf(Zarvo::Graphics* g) override;
    using Dialog::ButtonDepress;
    void ButtonDepress(int buttonId) override;

private:
    void showPage(int page);

    std::array<bool, kPageCount> pages{true, false, false, false, false, false, false};
};

}  // namespace Kelvane
