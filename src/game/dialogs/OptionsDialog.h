// STUB
#pragma once
#include <string>
#include "widgets/Dialog.h"
namespace Kelvane {
class GameApp;
class OptionsDialog : public Zarvo::Dialog {
public:
    static constexpr int kDialogId = 205;
    explicit OptionsDialog(GameApp&, const std::string&, const std::string&) : Zarvo::Dialog(nullptr, nullptr, 205, true, "", "", "", 0) {}
};
}
