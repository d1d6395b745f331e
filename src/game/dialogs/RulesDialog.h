// STUB
#pragma once
#include <string>
#include "widgets/Dialog.h"
namespace Kelvane {
class GameApp;
class RulesDialog : public Zarvo::Dialog {
public:
    static constexpr int kDialogId = 200;
    explicit RulesDialog(GameApp&, const std::string&, const std::string&) : Zarvo::Dialog(nullptr, nullptr, 200, true, "", "", "", 0) {}
};
}
