#pragma once
#include <string>

namespace Zarvo {

class SdlWindow;

// Puts synthetic events into SDL's queue for a window, as if the user had acted; used to drive
// the real event translation in tests and scripted runs. Keys are named by their SDL key names
// ("A", "F4", "Return").
class SdlEventInjector {
public:
    explicit SdlEventInjector(SdlWindow& window) : window_(window) {}
    enum Button { kLeft = 1, kMiddle = 2, kRight = 3 };
    bool Key(const std::string& sdlKeyName, bool down, bool alt);
    void MouseButton(Button button, bool down, int clicks, int x, int y);
    void Text(const std::string& utf8);
    void Quit();

private:
    SdlWindow& window_;
};

}  // namespace Zarvo
