// STUB
#pragma once
#include <string>
#include "widgets/Dialog.h"
namespace Kelvane {
class GameApp;
class MenuDialog : public Zarvo::Dialog {
public:
    static constexpr int kDialogId = 203;
    explicit MenuDialog(GameApp&, const std::string&, const std::string&) : Zarvo::Dialog(nullptr, nullptr, 203, true, "", "", "", 0) {}
};
}
