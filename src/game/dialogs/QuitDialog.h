// STUB
#pragma once
#include <string>
#include "widgets/Dialog.h"
namespace Kelvane {
class GameApp;
class QuitDialog : public Zarvo::Dialog {
public:
    static constexpr int kDialogId = 204;
    explicit QuitDialog(GameApp&, const std::string&, const std::string&) : Zarvo::Dialog(nullptr, nullptr, 204, true, "", "", "", 0) {}
};
}
