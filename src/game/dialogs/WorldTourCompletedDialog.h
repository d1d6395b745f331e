// STUB
#pragma once
#include <string>
#include "widgets/Dialog.h"
namespace Kelvane {
class GameApp;
class WorldTourCompletedDialog : public Zarvo::Dialog {
public:
    static constexpr int kDialogId = 209;
    explicit WorldTourCompletedDialog(GameApp&) : Zarvo::Dialog(nullptr, nullptr, 209, true, "", "", "", 0) {}
};
}
