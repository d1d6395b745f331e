#pragma once
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "frame/DeferredMessageList.h"
#include "frame/DemoFile.h"
#include "frame/FramePacer.h"
#include "frame/ScreenSaverFilter.h"
#include "frame/StatisticsOverlay.h"
#include "frame/StringTable.h"
#include "frame/TypedSettings.h"
#include "graphics/SharedImageTable.h"
#include "platform/CursorId.h"
#include "platform/Platform.h"
#include "widgets/ButtonListener.h"
#include "widgets/DialogHost.h"
#include "widgets/DialogListener.h"
#include "widgets/WidgetHost.h"

namespace Zarvo {

class WidgetManager;
class ScreenImage;
class ResourceManager;
class MusicInterface;
class SoundManager;
class PakInterface;
class MemoryImage;
struct CursorImage;
class Dialog;
class AppDialogTable;
class AppResourceHost;
class DemoPlayer;
class DemoRecorder;

// The application object: owns the window, the display, the widget manager, the settings, the
// fixed-rate main loop, the loading thread and the cursor thread. Exactly one exists per
// process; Instance() reaches it. A game derives from it and overrides the hooks. The loop's
// timing state and decisions are those of its FramePacer.
//
// Life: construct -> Init (settings, command line, single running copy, window, display, audio)
// -> Start (the main loop, until Quit) -> destroy. ExitProcessWith ends the process from any
// state without running destructors.
class ZarvoAppBase : public ButtonListener,
                     public DialogListener,
                     public DialogHost,
                     public WidgetHost,
                     public FramePacer {
public:
    // Without a platform the real one (SDL2) is used.
    explicit ZarvoAppBase(std::unique_ptr<Platform> platform = nullptr);
    virtual ~ZarvoAppBase();
    ZarvoAppBase(const ZarvoAppBase&) = delete;
    ZarvoAppBase& operator=(const ZarvoAppBase&) = delete;

    static ZarvoAppBase* Instance();

    // ---- Frame and loop
    virtual bool TimeStep(bool maySleep);
    virtual void UpdateOnce();
    virtual bool GuardedUpdate();
    virtual void UpdateFraction(float fraction);
    virtual void CreateMainWindow();
    virtual void ApplyCursor();
    virtual void RestoreImages() {}
    virtual void DropDisplayImageData() {}
    virtual void DropCachedImageData() {}
    // Called once by the main loop after the loading thread has finished.
    virtual void LoadingCompleted() {}

    // ---- Overridable services and hooks
    // The music interface to use: the silent one in the base.
    virtual MusicInterface* OpenMusicInterface();
    virtual void InitHook() {}
    virtual void ShutdownHook() {}
    virtual void PreTerminateHook() {}
    // The game's loading work; runs on the loading thread. It may report its progress through
    // numLoadingThreadTasks and completedLoadingThreadTasks.
    virtual void LoadResourcesInBackground() {}
    virtual void SaveSettings();
    virtual void LoadSettings();
    virtual void PropertiesHook() {}
    virtual void PreDisplayHook() {}

    // ---- Messages
    virtual void ShowMessageBox(const std::string& title, const std::string& text);
    // A fatal-error popup titled with the text for "FATAL_ERROR".
    virtual void Popup(const std::string& text);
    virtual void RecordScreenSaverError(const std::string& text);
    virtual void UrlOpenFailed(const std::string&) {}
    virtual void UrlOpenSucceeded(const std::string&) {}
    virtual bool OpenWebPage(const std::string& url);
    virtual std::string ReadProductVersion();

    // Shuts the application down once: the loop ends after the current step. From another
    // thread it only asks the primary thread to do it.
    virtual void Quit();

    // ---- Command line
    virtual void ParseOwnCommandLine();
    virtual void ParseCommandLineText(const std::string& text);
    // Applies one option; an unknown name is fatal (popup, exit code kExitUsageError). A
    // "-changedir" folder that does not exist is fatal the same way when Init enters it.
    virtual void ApplyCommandLineOption(const std::string& name, const std::string& value);
    // A later copy of the program was started: restore and raise the window.
    virtual void OnNotifyMessage(uint64_t wParam, int64_t lParam);
    virtual void OnAlreadyRunning();

    // ---- Start-up
    virtual void Start();
    virtual void Init();
    virtual void PreDisplayInitHook() {}
    virtual void PostDisplayInitHook() {}
    // Answers true when it took care of the working directory itself.
    virtual bool WorkingDirectoryHook(const std::string&) { return false; }

    // ---- Audio
    // Plays sound `id` once (and with `pan`, in hundredths of a decibel) on an instance that
    // releases itself when done; nothing when the sound or a free instance is missing.
    virtual void PlaySample(int id);
    virtual void PlaySample(int id, int pan);
    virtual double GetMasterVolume();
    virtual double GetMusicVolume() { return musicVolume; }
    virtual double GetSfxVolume() { return sfxVolume; }
    virtual bool IsMuted() { return muteCount > 0; }
    virtual void SetMasterVolume(double volume);
    virtual void SetMusicVolume(double volume);
    virtual void SetSfxVolume(double volume);
    virtual void Mute(bool automatic);
    virtual void Unmute(bool automatic);

    // ---- Screen mode
    virtual void ChangeScreenMode(bool windowed, bool is3D, bool force);
    virtual void ChangeScreenMode(bool windowed);
    virtual void ChangeScreenMode();

    // ---- Dialogs: the open dialogs by id; a modal one blocks everything below it
    // The dialog factory; the base builds a plain Dialog without images. Games override it.
    Dialog* MakeDialog(int dialogId, bool isModal, const std::string& header,
                       const std::string& lines, const std::string& footer,
                       int buttonMode) override;
    // Replaces any open dialog of the id by a new one from MakeDialog and returns it.
    virtual Dialog* ShowDialog(int dialogId, bool isModal, const std::string& header,
                               const std::string& lines, const std::string& footer, int buttonMode);
    virtual Dialog* FindDialog(int dialogId);
    // Takes ownership. A dialog without a width gets half the application's width, its
    // preferred height, and a place centred at a fifth of the height.
    virtual void AddDialog(int dialogId, Dialog* dialog);
    virtual void AddDialog(Dialog* dialog);
    // False when no dialog of the id is open; deleting goes through the deferred deletion.
    virtual bool RemoveDialog(int dialogId, bool removeWidget, bool deleteWidget);
    virtual bool RemoveDialog(int dialogId);
    virtual bool RemoveDialog(Dialog* dialog);
    virtual int GetDialogCount();
    void ModalOpen() override {}
    void ModalClose() override {}
    void DialogButtonPressHook(int, int) override {}
    void DialogButtonDepressHook(int, int) override {}
    // A dialog waiting for its answer runs the main loop step by step.
    bool RunModalLoopStep() override { return LoopStep(); }
    void DeleteDialogLater(Dialog* dialog) override;
    // Dialog buttons reach the application's button operations as 2000 + dialog id (first
    // button) and 3000 + dialog id (second button).
    void DialogButtonPress(int dialogId, int buttonId) override;
    void DialogButtonDepress(int dialogId, int buttonId) override;

    // ---- Focus and keys
    virtual void GotFocusHook() {}
    virtual void LostFocusHook() {}
    virtual bool ClaimsAltKey(int) { return false; }
    virtual bool OnDebugKey(int) { return false; }
    virtual bool AsyncDebugKey(int) { return false; }
    virtual void CloseRequestHook() {}

    // ---- Loop pieces
    virtual bool DrawIfDirty();
    virtual void Present();
    virtual void RunMainLoop();
    virtual bool LoopStep(bool* updated = nullptr);
    virtual bool StepUntilUpdated();
    virtual bool MayRestoreWindow() { return !windowDisabled; }

    // ---- Non-virtual operations
    [[noreturn]] void ExitProcessWith(int code);
    void BeginBackgroundLoading();
    void AwaitBackgroundLoading();
    // Forgets owed time: a stall the player did not cause is not caught up.
    void ResetUpdateBacklog();
    void FlushDeferredDeletes();
    // Deletes `widget` at the first flush at or above the current loop depth.
    template <class W>
    void DeleteWidgetLater(W* widget) {
        QueueDeferredDelete(widget, [](void* p) { delete static_cast<W*>(p); });
    }
    size_t DeferredDeleteCount() const { return safeDeleteList_.size(); }

    // The window procedure: takes one message from the window system (or a test).
    int64_t WindowProcedure(const WindowMessage& message);
    // Replays the first deferred message; answers whether more remain.
    bool ReplayDeferredMessages();
    const DeferredMessageList& DeferredMessages() const { return deferredMessages_; }
    // Follows a change of `active` or `minimised`: focus gained or lost. While a demo is
    // replayed, only the recording's focus changes count.
    void RecheckFocus();

    // ---- Input recording and replay (demo files)
    // Hands one input event to the widget manager (and to the demo being recorded, stamped
    // with totalUpdates). Every translated input goes this way, live or replayed.
    void DeliverInput(const DemoEvent& event);
    // Delivers the next recorded event that is due at this update; answers whether more are
    // due. Nothing when no demo is replayed.
    bool ReplayDemoEvent();
    // The demo being replayed or recorded; null when none.
    const DemoPlayer* GetDemoPlayer() const { return demoPlayer_.get(); }
    const DemoRecorder* GetDemoRecorder() const { return demoRecorder_.get(); }

    // The key that switches the statistics overlay through its modes (off, frames per second,
    // mouse position): F3.
    static constexpr int kStatisticsKey = VKey::kF1 + 2;
    StatisticsOverlay& GetStatisticsOverlay() { return statisticsOverlay_; }
    // Shows the overlay's next mode; the frame is redrawn whole when it goes off.
    void NextStatisticsMode();

    void SetCursorId(int id) override;
    void EnableCustomCursors(bool on);
    // Custom cursor picture for an id (0..12), copied from `image` with its hot spot; null
    // removes it. Drawn by the display over each frame in place of the system cursor.
    void SetCustomCursorImage(int id, MemoryImage* image, int hotX = 0, int hotY = 0);
    // An application-wide system cursor (an id 0..10) shown instead of the cursor id's own
    // system cursor wherever no custom picture is drawn; -1 ends it.
    void SetOverrideCursor(int id);

    // Settings under "SOFTWARE\" + registryKey; a name's part before its last '\' is a sub-key.
    bool WriteString(const std::string& name, const std::string& text);
    bool WriteInteger(const std::string& name, int value);
    bool WriteBoolean(const std::string& name, bool value);
    bool WriteData(const std::string& name, const void* bytes, size_t length, uint32_t type);
    bool ReadInteger(const std::string& name, int& value);
    bool ReadBoolean(const std::string& name, bool& value);
    bool ReadString(const std::string& name, std::string& text);
    // Reads up to `length` bytes; on success `length` becomes the value's size and `type` its
    // type. A value longer than the buffer fails.
    bool ReadData(const std::string& name, void* buffer, size_t& length, uint32_t& type);
    bool DeleteValue(const std::string& name);
    // The typed settings of the current key (failing every operation while the key is empty).
    TypedSettings Settings();
    // Writes a whole file, creating its folder; the old content is replaced atomically.
    bool WriteWholeFile(const std::string& path, const void* bytes, size_t length);

    std::string LookUpText(const std::string& id, const std::string& fallback) const {
        return strings_.LookUpText(id, fallback);
    }
    void SetString(const std::string& id, const std::string& text) { strings_.Set(id, text); }

    // Exit code of a start refused because of the command line.
    static constexpr int kExitUsageError = 2;

    // The command line as the process received it (program name first): each argument is one
    // parameter, and quote characters in it are ordinary characters.
    void SetCommandLine(int argc, const char* const* argv);
    // The command line as one text, program name first; double quotes group words.
    void SetCommandLineText(const std::string& text);

    // The framework's random generator (MT19937, 31-bit results).
    uint32_t Random() { return static_cast<uint32_t>(random_() >> 1); }
    void SeedRandom(uint32_t seed) { random_.seed(seed); }

    Platform& GetPlatform() { return *platform_; }
    Clock& GetClock() { return platform_->GetClock(); }
    WidgetManager* GetWidgetManager() { return widgetManager_.get(); }
    ResourceManager* GetResourceManager() { return resourceManager_.get(); }
    DisplayBackend* GetDisplay() { return display_.get(); }
    // The display's back buffer as the drawing target of the widget tree.
    ScreenImage* GetScreenImage() { return screenImage_.get(); }
    PlatformWindow* GetWindow() { return window_.get(); }

    // ---- Loading progress and images
    // The loading thread's progress from 0 to 1: 1 once it has finished, 0 while it has not
    // said how much work there is.
    virtual double GetLoadingThreadProgress() const;
    // A new image loaded from a file through the archive layer, with its companion alpha;
    // null when the file is missing or unreadable. The caller owns it.
    virtual std::unique_ptr<MemoryImage> GetImage(const std::string& fileName,
                                                  bool commitBits = true);
    // The shared image of (path, variant), loaded on first use; `isNew` tells whether this call
    // loaded it. Empty when the file cannot be loaded. Images whose last reference went away
    // are deleted by the next update.
    virtual SharedImageRef GetSharedImage(const std::string& path, const std::string& variant = "",
                                          bool* isNew = nullptr);
    SharedImageTable& GetSharedImageTable() { return sharedImages_; }
    // Whether GetSharedImage looks for companion alpha files; the resource manager turns it
    // off around the load of a "noalpha" image.
    bool autoFindAlpha = true;

    std::atomic<int> numLoadingThreadTasks{0};
    std::atomic<int> completedLoadingThreadTasks{0};
    MusicInterface* GetMusicInterface() { return musicInterface_.get(); }
    SoundManager* GetSoundManager() { return soundManager_.get(); }
    bool IsShutDown() const { return shutDown_; }
    bool IsInitialized() const { return initialized_; }
    bool LoadingThreadCompleted() const { return loadingThreadCompleted_; }

    // ---- Fields (defaults set by the constructor)
    int width = 640;
    int height = 480;
    int fullScreenBitDepth = 16;
    bool windowed = true;
    bool physicallyWindowed = true;
    bool fullScreenByDesktopChange = false;
    bool forceFullScreen = false;
    bool forceWindowed = false;
    int preferredX = -1;
    int preferredY = -1;
    // The window's client size as the player left it ("WindowWidth", "WindowHeight"); 0 means
    // the logical size. The picture is scaled to fit whatever size the window has.
    int windowWidth = 0;
    int windowHeight = 0;
    bool is3D = false;
    double musicVolume = 0.85;
    double sfxVolume = 0.85;
    bool muteOnLostFocus = true;
    int muteCount = 0;
    int autoMuteCount = 0;
    bool onlyAllowOneCopy = true;
    bool autoStartLoadingThread = true;
    bool noSoundNeeded = false;
    bool wantFMod = false;
    std::string fullCompanyName;
    std::string companyName;
    std::string productName = "Product";
    std::string title = "ZarvoApp";
    std::string registryKey;
    std::string changeDirTarget;
    std::string productVersion;
    std::string demoFileName = "zarvoapp.dmo";
    std::string appDataFolder;
    std::string notifyMessageName;
    uint32_t notifyMessageId = 0;
    uint32_t randomSeed = 0;
    bool screenSaverMode = false;
    // Replaying demoFileName: live input is ignored (except closing the window), and the run
    // ends where the recording ends.
    bool playingDemo = false;
    bool demoReplayRequested = false;  // "-play" or "-playnum"
    // Recording the run's input into demoFileName ("-record" or "-recnum").
    bool recordingDemo = false;
    int demoNumber = 0;
    bool customCursorsEnabled = false;
    bool previousRunEndedNormally = true;
    bool settingsLoaded = false;
    bool closeRequested = false;
    bool debugKeysEnabled = false;

    // Window and input state.
    bool active = true;
    bool minimised = false;
    bool hasFocus = true;
    bool mouseIn = false;
    bool windowDisabled = false;
    bool ctrlHeld = false;
    bool altHeld = false;
    bool systemDialogOpen = false;
    bool crashed = false;
    bool screenSaverSuspended = false;
    int cursorId = 0;
    int overrideCursorId = -1;  // none
    bool cursorRedrawPending = false;
    uint32_t lastTimerTick = 0;
    uint32_t timerResumeTick = 0;
    uint32_t lastUserInputTick = 0;
    bool openingWebPage = false;
    uint32_t webPageOpenTick = 0;
    std::string webPageAddress;

protected:
    void QueueDeferredDelete(void* object, void (*deleter)(void*));
    // Makes the display for the current window; answers the back-end's result code.
    int InitDisplay();
    // Points the widget manager's mouse transform at where the window shows the screen image
    // now (after the display was made and whenever the window changes size).
    void FollowWindowSize();
    void ApplyVolumes();
    // Makes the change-directory target the working directory; a "-changedir" folder that
    // cannot be entered ends the process.
    void EnterDataFolder();
    void DrainWindowMessages();
    void CursorThreadProc();
    bool IsPrimaryThread() const;
    void TranslateMouse(const WindowMessage& m);
    void TranslateKeyDown(const WindowMessage& m);
    void CheckMouseIn();
    // Reads the demo to replay and takes its random seed; a file that cannot be replayed ends
    // the process with a popup that says why.
    void BeginDemoReplay();
    void BeginDemoRecording();
    void EndDemoRecording();
    void EndDemoReplay();
    // Runs the loading-completed hook (once).
    void TellLoadingCompleted();

    std::unique_ptr<Platform> platform_;
    std::unique_ptr<WidgetManager> widgetManager_;
    std::unique_ptr<AppResourceHost> resourceHost_;  // what the resource manager asks
    std::unique_ptr<ResourceManager> resourceManager_;
    std::unique_ptr<PlatformWindow> window_;
    std::unique_ptr<DisplayBackend> display_;
    std::unique_ptr<ScreenImage> screenImage_;
    std::unique_ptr<SoundManager> soundManager_;
    std::unique_ptr<MusicInterface> musicInterface_;
    std::unique_ptr<SingleInstanceGuard> instanceGuard_;
    std::unique_ptr<PakInterface> pakInterface_;  // when no other exists
    std::string refusedPakNote_;  // why "main.pak" was refused, added to every popup
    SharedImageTable sharedImages_;
    std::unique_ptr<AppDialogTable> dialogs_;
    StringTable strings_;
    DeferredMessageList deferredMessages_;
    std::string commandLine_;
    std::vector<std::string> commandArguments_;
    bool commandLineIsText_ = false;
    bool commandLineParsed_ = false;
    bool changeDirGiven_ = false;
    std::mt19937 random_;
    std::array<std::shared_ptr<const CursorImage>, kCursorCount> customCursorImages_{};

    std::thread::id primaryThread_;
    std::atomic<bool> shutDown_{false};
    std::atomic<bool> shutdownRequested_{false};
    bool exitToTop_ = false;
    bool initialized_ = false;
    bool loopRunning_ = false;
    bool forcedFullScreenOnce_ = false;
    bool drawingInProgress_ = false;
    bool timerRunning_ = false;
    uint32_t nextTimerTick_ = 0;
    uint32_t constructionTick_ = 0;
    uint32_t startTick_ = 0;
    StatisticsOverlay statisticsOverlay_;
    std::string overlayShown_;             // the overlay text of the last presented frame
    ScreenSaverFilter screenSaverFilter_;  // in screen-saver mode: ends it at the user's sign

    std::unique_ptr<DemoPlayer> demoPlayer_;
    std::unique_ptr<DemoRecorder> demoRecorder_;
    bool applyingDemoEvent_ = false;
    bool demoWriteFailureShown_ = false;
    int recordedFocus_ = DemoEvent::kFocusActive;  // the last focus state recorded
    double replayMusicVolume_ = 0;  // the player's volumes, restored when the replay ends
    double replaySfxVolume_ = 0;

    std::thread loadingThread_;
    std::atomic<bool> loadingThreadStarted_{false};
    std::atomic<bool> loadingThreadCompleted_{false};
    bool loadingCompletedTold_ = false;
    std::thread cursorThread_;
    std::atomic<int> cursorX_{0};
    std::atomic<int> cursorY_{0};
    // Wakes the cursor thread when the cursor moves or the application shuts down, so that it
    // sleeps for as long as the cursor stays still.
    std::mutex cursorMutex_;
    std::condition_variable cursorMoved_;
    void MoveCursorPoint(int x, int y);
    void WakeCursorThread();

    struct DeferredDelete {
        int depth;
        void* object;
        void (*deleter)(void*);
    };
    std::vector<DeferredDelete> safeDeleteList_;
};

}  // namespace Zarvo
