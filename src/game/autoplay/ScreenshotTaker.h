// Pictures of the game for a reviewer without a display: the back buffer as a PNG file at every
// screen change and every dialog opened, once it is fully shown, named with a running number and
// the class of the screen or dialog ("003-MainScreen.png"); and single pictures on request.
#pragma once

#include <set>
#include <string>

namespace Kelvane {

class GameApp;

class ScreenshotTaker {
public:
    // Updates a screen or dialog is given to settle before its picture is taken.
    static constexpr int kSettleUpdates = 40;

    // `folder` receives the pictures; it is created when missing.
    ScreenshotTaker(GameApp& app, std::string folder);

    // One update tick: notices a new screen or dialog and takes its picture once it is shown.
    void update();
    // Draws the current frame and writes it to `path`; false when it cannot be written.
    bool capture(const std::string& path);
    // Where a picture asked for while playing goes: the user's pictures folder.
    static std::string picturesFolder();

    static const char* dialogName(int dialogId);
    int taken() const { return count; }

private:
    void takePending();
    // A splash still fading in, or a match whose pieces are still dropping in.
    bool stillArriving() const;

    GameApp& app;
    std::string folder;
    int count = 0;
    int lastScreen = -1;
    std::set<int> openDialogs;
    std::string pendingName;  // empty when nothing waits
    int settle = 0;
};

}  // namespace Kelvane
