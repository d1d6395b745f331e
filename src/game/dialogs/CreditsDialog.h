// STUB
#pragma once
#include <string>
#include "widgets/Dialog.h"
namespace Kelvane {
class GameApp;
class CreditsDialog : public Zarvo::Dialog {
public:
    static constexpr int kDialogId = 210;
    explicit CreditsDialog(GameApp&, const std::string&, const std::string&) : Zarvo::Dialog(nullptr, nullptr, 210, true, "", "", "", 0) {}
};
}
