// STUB
#pragma once
#include <string>
#include "widgets/Dialog.h"
namespace Kelvane {
class GameApp;
class PostMatchDialog : public Zarvo::Dialog {
public:
    static constexpr int kDialogId = 206;
    explicit PostMatchDialog(GameApp&) : Zarvo::Dialog(nullptr, nullptr, 206, true, "", "", "", 0) {}
};
}
