// The game's application object: its name, version, title and settings key, the loading of the
// resource groups "Init" (at start-up) and "Game" (on the loading thread), and the Board that
// is put on screen once loading has finished. The player's long-lived state lives elsewhere
// (the play state); this object only owns the Board.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "frame/ZarvoAppBase.h"

namespace Kelvane {

class AutoPlayer;
class Board;
class GameSounds;
class KeyboardControl;
class GUISystem;
class SaveGame;
class ScreenshotTaker;

class GameApp : public Zarvo::ZarvoAppBase {
public:
    // Ids of dialogs the application itself looks at.
    static constexpr int kOptionsDialogId = 205;

    // Without a platform the real one is used.
    explicit GameApp(std::unique_ptr<Zarvo::Platform> platform = nullptr);
    // Removes and deletes the Board, then frees the resource groups.
    ~GameApp() override;

    // The base start-up, then the manifest and the group "Init" with its font ids. A manifest
    // that cannot be read, or an "Init" group or font id that cannot be had, shows the error and
    // quits (startFailed() then answers true).
    void Init() override;
    // Loads the group "Game" one resource at a time with progress, then binds the image ids.
    // Stops at once when the application is shutting down.
    void LoadResourcesInBackground() override;
    // Shows a loading error, or creates the Board and puts it on screen.
    void LoadingCompleted() override;
    // A dialog in the game's look: the basic dialog background and button, the default font,
    // black texts, 30 pixels between header and lines, at (100, 100) and 300 x 250.
    Zarvo::Dialog* MakeDialog(int dialogId, bool isModal, const std::string& header,
                              const std::string& lines, const std::string& footer,
                              int buttonMode) override;
    // A button of a dialog from MakeDialog (2000 + id for its first button, 3000 + id for its
    // second) closes that dialog: such a notice has no code of its own that would close it.
    void ButtonDepress(int buttonId) override;
    // The base update, then the autoplayer and the screenshots, when asked for.
    void UpdateOnce() override;
    // The game's own options: "-autoplay" (a friendly match), "-autoplay=tour" and
    // "-autoplay=tour:N" (N world tour matches), and "-screenshots=FOLDER". Others go to the base.
    void ApplyCommandLineOption(const std::string& name, const std::string& value) override;
    // F12 saves a picture of the game into the user's pictures folder.
    bool AsyncDebugKey(int key) override;
    // A running match pauses itself when the window loses the focus.
    void LostFocusHook() override;
    // Also tells the diagnostics when the first frame went out, counted from start-up.
    void Present() override;
    // The board is redrawn only when its frame changed or something over it is redrawn: an idle
    // screen costs no drawing.
    bool DrawIfDirty() override;

    // Makes the Board and puts it on screen: the last step of the loading-completed hook, also
    // used by tests that bind their own resources. Needs every resource id bound.
    void createBoard();

    // Changes the screen mode and shows the new choice in the options dialog when it is open.
    void ApplyScreenModeChoice(bool windowed, bool is3D);

    Board* board() const { return boardWidget.get(); }
    // The screen switcher of the Board; null until the Board exists.
    GUISystem* gui() const;
    // Delivers a screen event to the current screen; nothing before the Board exists.
    void sendScreenEvent(int32_t id, void* param);
    // The topmost open dialog (the one that takes input); null when none is open.
    Zarvo::Dialog* topDialog();
    // The current screen number; 0 before the Board exists.
    int32_t currentScreenId() const;
    // The saved tour, in the application data folder; its errors are shown as popups.
    SaveGame& saveGame();
    // The game's sound effects and music.
    GameSounds& sounds() { return *sounds_; }
    // Playing by keyboard.
    KeyboardControl& keyboard() { return *keyboard_; }
    // Whether this run had to go full screen because a window cannot be shown at the desktop's
    // colour depth: the player cannot choose windowed mode then.
    bool fullScreenForced() const { return forceFullScreen; }
    bool loadingFailed() const { return loadFailed; }
    bool startFailed() const { return initFailed; }

    // Options that the base has no field for: music stays silent, and the 3-D acceleration test
    // would run automatically (this platform has no 3-D mode, so it never runs).
    bool musicDisabled = true;
    bool autoTest3D = true;

    AutoPlayer* autoPlayer() const { return autoPlayer_.get(); }
    ScreenshotTaker* screenshots() const { return screenshots_.get(); }

private:
    // The resource manager's error in the fatal-error popup; with `quit`, the application quits.
    void showResourceError(bool quit);
    // Follows the current screen for the diagnostics and the bounded run.
    void watchScreens();

    std::unique_ptr<Board> boardWidget;
    std::unique_ptr<SaveGame> save;
    std::chrono::steady_clock::time_point constructed = std::chrono::steady_clock::now();
    bool firstFramePresented = false;
    std::unique_ptr<GameSounds> sounds_;
    std::unique_ptr<KeyboardControl> keyboard_;
    std::unique_ptr<AutoPlayer> autoPlayer_;
    std::unique_ptr<ScreenshotTaker> screenshots_;
    bool autoplayRequested = false;
    int autoplayMode = 0;  // AutoPlayer::Mode
    int autoplayMatches = 0;
    std::string screenshotFolder;
    std::atomic<bool> loadFailed{false};
    bool initFailed = false;
    std::string loadError;
    // Set from KELVANE_RUN_UNTIL_SCREEN: quit a little after this screen has been reached.
    int quitAtScreen = -1;
    int updatesOnQuitScreen = 0;
    int lastScreen = -1;
};

}  // namespace Kelvane
