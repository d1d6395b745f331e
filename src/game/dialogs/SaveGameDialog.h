// STUB
#pragma once
#include <string>
#include "widgets/Dialog.h"
namespace Kelvane {
class GameApp;
class SaveGameDialog : public Zarvo::Dialog {
public:
    static constexpr int kDialogId = 211;
    explicit SaveGameDialog(GameApp&, bool) : Zarvo::Dialog(nullptr, nullptr, 211, true, "", "", "", 0) {}
};
}
