// STUB
#pragma once
#include <string>
#include "widgets/Dialog.h"
namespace Kelvane {
class GameApp;
class PreMatchDialog : public Zarvo::Dialog {
public:
    static constexpr int kDialogId = 207;
    explicit PreMatchDialog(GameApp&) : Zarvo::Dialog(nullptr, nullptr, 207, true, "", "", "", 0) {}
};
}
