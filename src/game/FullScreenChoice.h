// What a dialog that offers the full-screen choice lets the application reach: its checkbox, so
// that a screen mode changed elsewhere is shown there too.
#pragma once

namespace Zarvo {
class Checkbox;
}

namespace Kelvane {

class FullScreenChoice {
public:
    virtual ~FullScreenChoice() = default;
    virtual Zarvo::Checkbox* fullScreenCheckbox() = 0;
};

}  // namespace Kelvane
