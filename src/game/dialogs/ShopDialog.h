// STUB
#pragma once
#include <string>
#include "widgets/Dialog.h"
namespace Kelvane {
class GameApp;
class ShopDialog : public Zarvo::Dialog {
public:
    static constexpr int kDialogId = 208;
    explicit ShopDialog(GameApp&) : Zarvo::Dialog(nullptr, nullptr, 208, true, "", "", "", 0) {}
};
}
