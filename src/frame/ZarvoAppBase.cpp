#include "frame/ZarvoAppBase.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "audio/Mixer.h"
#include "audio/MixerMusicInterface.h"
#include "audio/MixerSoundManager.h"
#include "audio/MusicInterface.h"
#include "audio/SoundManager.h"
#include "files/PakInterface.h"
#include "frame/AppResourceHost.h"
#include "frame/CommandLineParser.h"
#include "frame/DemoPlayer.h"
#include "frame/DemoRecorder.h"
#include "frame/WindowPlacement.h"
#include "graphics/ScreenImage.h"
#include "platform/AtomicFile.h"
#include "resources/ImageLib.h"
#include "resources/ResourceManager.h"
#include "widgets/AppDialogTable.h"
#include "widgets/Dialog.h"
#include "widgets/WidgetManager.h"

namespace Zarvo {

namespace {

ZarvoAppBase* gApp = nullptr;

std::string Format(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string Format(const char* format, int value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// Where the game's data lies: the executable's folder when it holds the pack file or the
// properties folder, else the installed layout's share folder beside it.
std::string DefaultDataFolder(const std::string& executablePath) {
    namespace fs = std::filesystem;
    if (executablePath.empty()) return std::string();
    const fs::path folder = fs::path(executablePath).parent_path();
    std::error_code ec;
    if (fs::exists(folder / "main.pak", ec) || fs::is_directory(folder / "properties", ec)) {
        return folder.string();
    }
    const fs::path installed = folder / ".." / "share" / "kelvane";
    if (fs::is_directory(installed, ec)) return installed.lexically_normal().string();
    return folder.string();
}

}  // namespace

ZarvoAppBase* ZarvoAppBase::Instance() {
    return gApp;
}

ZarvoAppBase::ZarvoAppBase(std::unique_ptr<Platform> platform)
    : platform_(platform ? std::move(platform) : Platform::CreateDefault()) {
    gApp = this;
    primaryThread_ = std::this_thread::get_id();
    changeDirTarget = DefaultDataFolder(platform_->ExecutablePath());
    productVersion = ReadProductVersion();
    constructionTick_ = platform_->GetClock().Now();
    lastPresentTick = constructionTick_;
    earliestPresentTick = constructionTick_;

    strings_.Set("DIALOG_BUTTON_OK", "OK");
    strings_.Set("DIALOG_BUTTON_CANCEL", "CANCEL");
    strings_.Set("UPDATE_CHECK_TITLE", "Update Check");
    strings_.Set("UPDATE_CHECK_BODY",
                 "Checking if there are any updates available for this product ...");
    strings_.Set("UP_TO_DATE_TITLE", "Up to Date");
    strings_.Set("UP_TO_DATE_BODY",
                 "There are no updates available for this product at this time.");
    strings_.Set("NEW_VERSION_TITLE", "New Version");
    strings_.Set("NEW_VERSION_BODY",
                 "There is an update available for this product.  Would you like to visit the "
                 "web site to download it?");

    screenImage_ = std::make_unique<ScreenImage>();
    widgetManager_ = std::make_unique<WidgetManager>(this);
    resourceHost_ = std::make_unique<AppResourceHost>(*this);
    resourceManager_ = std::make_unique<ResourceManager>(resourceHost_.get());
    dialogs_ = std::make_unique<AppDialogTable>(*this, this, widgetManager_.get(), width, height);
}

ZarvoAppBase::~ZarvoAppBase() {
    Quit();
    // Every open dialog leaves the widget manager and is deleted before the manager goes.
    while (dialogs_ && !dialogs_->dialogList.empty()) {
        Dialog* dialog = dialogs_->dialogList.back();
        dialogs_->RemoveDialog(dialog->id, true, false);
        delete dialog;
    }
    dialogs_.reset();
    widgetManager_.reset();
    resourceManager_.reset();
    sharedImages_.DeleteAll();
    screenImage_.reset();
    display_.reset();
    musicInterface_.reset();
    soundManager_.reset();
    if (window_) window_->Destroy();
    window_.reset();
    if (loadingThread_.joinable()) loadingThread_.join();
    if (cursorThread_.joinable()) cursorThread_.join();
    // Widgets still waiting for deletion (a run without Start) go with the application.
    for (const DeferredDelete& d : safeDeleteList_) d.deleter(d.object);
    safeDeleteList_.clear();
    if (gApp == this) gApp = nullptr;
    instanceGuard_.reset();
    pakInterface_.reset();
}

std::string ZarvoAppBase::ReadProductVersion() {
    return "1.0";
}

// ---------------------------------------------------------------------------------------------
// Start-up and shutdown

void ZarvoAppBase::Init() {
    primaryThread_ = std::this_thread::get_id();
    if (shutDown_) return;

    std::string missing;
    if (!platform_->OpenDisplay(missing)) {
        ShowMessageBox(
            LookUpText("YOU_NEED_DIRECTX", "No display available"),
            LookUpText("APP_REQUIRES_DIRECTX",
                       "This application requires a graphical display to run. Start it in a "
                       "desktop session (DISPLAY or WAYLAND_DISPLAY set), or with "
                       "SDL_VIDEODRIVER=dummy to run it without a window.\n") +
                missing);
        // A failed start: scripts and launchers must not see success.
        ExitProcessWith(1);
    }

    PropertiesHook();
    LoadSettings();

    appDataFolder = platform_->ApplicationDataFolder(companyName, productName);
    if (!demoFileName.empty() && demoFileName.front() != '/') {
        demoFileName = appDataFolder + demoFileName;
    }

    if (!commandLineParsed_) ParseOwnCommandLine();
    if (screenSaverMode) {
        onlyAllowOneCopy = false;
        windowed = false;
    }

    if (!WorkingDirectoryHook(changeDirTarget)) EnterDataFolder();

    // Every later file read looks into the pack file first.
    if (!PakInterface::Instance()) pakInterface_ = std::make_unique<PakInterface>();
    // A damaged archive is not used: the data comes from loose files, as without one. Say so,
    // or a player would never learn why the game is missing its data or plays an old copy.
    if (!PakInterface::Instance()->AddPakFile("main.pak") &&
        !PakInterface::Instance()->PakFileError().empty()) {
        refusedPakNote_ =
            "The pack file main.pak was refused: " + PakInterface::Instance()->PakFileError() + ".";
        platform_->DebugOutput(refusedPakNote_ + " Reading loose files instead.\n");
    }

    notifyMessageName = "Notify" + productName;
    notifyMessageId = 0xC000;

    instanceGuard_ = platform_->CreateInstanceGuard(productName);
    if (!instanceGuard_->Acquire()) OnAlreadyRunning();

    randomSeed = platform_->TickCount();
    SeedRandom(randomSeed);
    // A replay runs on the recording's random numbers.
    if (demoReplayRequested) BeginDemoReplay();
    std::srand(randomSeed);

    PreDisplayHook();
    widgetManager_->SetMouseTransform(Rect(0, 0, width, height), Rect(0, 0, width, height));

    window_ = platform_->CreateWindow();
    if (windowed) {
        const PlatformRect area = window_->WorkArea();
        if (width >= area.width || height >= area.height) {
            windowed = false;
            forceFullScreen = true;
        }
    }

    CreateMainWindow();
    if (shutDown_) return;
    if (playingDemo) {
        const DemoHeader& header = demoPlayer_->Header();
        windowed = header.windowed;
        assumedRefreshHz = header.refreshHz;
        updateIntervalMs = header.updateIntervalMs;
    }

    // Without sound the manager has no mixer: it loads nothing and its instances are silent.
    if (!soundManager_) {
        soundManager_ = std::make_unique<MixerSoundManager>(
            noSoundNeeded ? nullptr : Mixer::OpenDefault(),
            MixerSoundManager::DefaultCacheFolder(companyName, productName));
    }
    SetSfxVolume(sfxVolume);
    musicInterface_.reset(OpenMusicInterface());
    SetMusicVolume(musicVolume);

    if (screenSaverMode) SetCursorId(kCursorNone);
    if (recordingDemo && !playingDemo) BeginDemoRecording();

    InitHook();
    initialized_ = true;
}

void ZarvoAppBase::EnterDataFolder() {
    // A folder named on the command line must be there: starting elsewhere would only fail
    // later with a puzzling "file not found".
    std::error_code ec;
    if (changeDirGiven_ && !std::filesystem::is_directory(changeDirTarget, ec)) {
        Popup(LookUpText("CHANGEDIR_MISSING", "The folder given to -changedir does not exist: ") +
              "\"" + CommandLineParser::EchoText(changeDirTarget) + "\"");
        ExitProcessWith(kExitUsageError);
    }
    if (!platform_->ChangeWorkingDirectory(changeDirTarget) && changeDirGiven_) {
        Popup(LookUpText("CHANGEDIR_FAILED", "Cannot enter the folder given to -changedir: ") +
              "\"" + CommandLineParser::EchoText(changeDirTarget) + "\"");
        ExitProcessWith(kExitUsageError);
    }
}

MusicInterface* ZarvoAppBase::OpenMusicInterface() {
    // The mixer's music stands in for both library back-ends, so wanting FMOD changes nothing.
    if (noSoundNeeded) return new MusicInterface();
    return new MixerMusicInterface(Mixer::OpenDefault());
}

void ZarvoAppBase::CreateMainWindow() {
    if (window_->Exists()) {
        widgetManager_->SetBackBuffer(nullptr);
        screenImage_->SetBuffer(nullptr, 0, 0, 0);
        // The screen belongs to the window; the display object itself stays, since the
        // cursor thread may be talking to it.
        if (display_) display_->Shutdown();
        window_->Destroy();
    }

    PlatformWindow::Placement placement;
    placement.title = title;
    placement.clientWidth = width;
    placement.clientHeight = height;
    placement.screenWidth = width;
    placement.screenHeight = height;
    placement.fullScreen = !(windowed || playingDemo) || fullScreenByDesktopChange;
    if (!placement.fullScreen) {
        int left = 0, top = 0, right = 0, bottom = 0;
        window_->FrameExtents(left, top, right, bottom);
        const PlatformRect area = window_->WorkArea();
        // The remembered size, when it is sane and still fits the desktop.
        if (windowWidth >= PlatformWindow::kMinimumClientWidth &&
            windowHeight >= PlatformWindow::kMinimumClientHeight &&
            windowWidth + left + right <= area.width &&
            windowHeight + top + bottom <= area.height) {
            placement.clientWidth = windowWidth;
            placement.clientHeight = windowHeight;
        }
        WindowPlacement::Place(area, placement.clientWidth + left + right,
                               placement.clientHeight + top + bottom, preferredX, preferredY,
                               placement.x, placement.y);
    }
    // A desktop-sized full-screen window is still a window to the loop.
    physicallyWindowed = true;

    if (!window_->Create(placement)) {
        Popup(LookUpText("FAILED_INIT_DIRECTDRAW", "Failed to initialize the display: ") +
              DisplayBackend::ResultName(DisplayBackend::kResultFail) + " " + window_->LastError());
        ExitProcessWith(1);
    }

    if (!display_) {
        display_ = platform_->CreateDisplay();
        bool stored3D = false;
        if (ReadBoolean("Is3D", stored3D)) is3D = false;  // no 3-D mode on this platform
    }

    const int result = InitDisplay();
    if (result != DisplayBackend::kResultOk) {
        if (result == DisplayBackend::kResultInvalidColorDepth && windowed) {
            if (forcedFullScreenOnce_) {
                Popup(LookUpText("PLEASE_SET_COLOR_DEPTH",
                                 "Please set your desktop color depth to 16 bit."));
                ExitProcessWith(1);
            }
            forcedFullScreenOnce_ = true;
            forceFullScreen = true;
            ChangeScreenMode(false);
            return;
        }
        if ((result == DisplayBackend::kResultExclusiveFail ||
             result == DisplayBackend::kResultDisplayChangeFail) &&
            !windowed) {
            forceWindowed = true;
            forceFullScreen = false;
            ChangeScreenMode(true);
            return;
        }
        // Retrying without 3-D only makes sense when 3-D was on; otherwise the same failure
        // would come back forever.
        if (is3D) {
            is3D = false;
            CreateMainWindow();
            return;
        }
        Popup(LookUpText("FAILED_INIT_DIRECTDRAW", "Failed to initialize the display: ") +
              DisplayBackend::ResultName(result) + " " + display_->LastError());
        ExitProcessWith(1);
    }

    // A replay keeps the focus of the recording.
    if (!playingDemo) active = window_->IsActive() || !window_->IsVisible();
    if (minimised && !playingDemo) {
        minimised = false;
        if (muteOnLostFocus) Unmute(true);
        RecheckFocus();
    }
    RestoreImages();
    // The widget tree draws straight into the display's back buffer.
    screenImage_->SetBuffer(display_->Pixels(), display_->Width(), display_->Height(),
                            display_->Width() * 4);
    widgetManager_->SetBackBuffer(screenImage_.get());
    widgetManager_->InvalidateSubtree();
    timerRunning_ = true;
    nextTimerTick_ = platform_->GetClock().Now() + static_cast<uint32_t>(updateIntervalMs);
    if (loopRunning_) {
        window_->Show();
        window_->Focus();
    }
    ApplyCursor();
}

int ZarvoAppBase::InitDisplay() {
    PreDisplayInitHook();
    DropDisplayImageData();
    display_->SetVSync(waitForVSync && !emulatedRefreshWait);
    const int result = display_->Initialize(*window_, width, height, windowed);
    if (result == DisplayBackend::kResultOk) {
        FollowWindowSize();
        PostDisplayInitHook();
    }
    return result;
}

void ZarvoAppBase::FollowWindowSize() {
    if (!display_ || !window_) return;
    const int offsetX = (width - display_->Width()) / 2;
    const int offsetY = (height - display_->Height()) / 2;
    const PlatformRect picture = window_->ScreenRect();
    widgetManager_->SetMouseTransform(Rect(picture.x, picture.y, picture.width, picture.height),
                                      Rect(offsetX, offsetY, width, height));
}

void ZarvoAppBase::Quit() {
    if (!IsPrimaryThread()) {
        shutdownRequested_ = true;
        return;
    }
    if (shutDown_) return;
    exitToTop_ = true;
    shutDown_ = true;
    WakeCursorThread();
    ShutdownHook();
    EndDemoRecording();
    if (playingDemo) {
        // What the replayed run did to the volumes is not the player's choice.
        musicVolume = replayMusicVolume_;
        sfxVolume = replaySfxVolume_;
    }
    if (cursorThread_.joinable()) cursorThread_.join();
    if (musicInterface_) musicInterface_->stopAllMusic();
    if (window_) window_->Hide();
    if (settingsLoaded) SaveSettings();
}

void ZarvoAppBase::ExitProcessWith(int code) {
    platform_->ExitProcess(code);
    std::_Exit(code);  // not reached: the platform ends the process
}

bool ZarvoAppBase::IsPrimaryThread() const {
    return std::this_thread::get_id() == primaryThread_;
}

void ZarvoAppBase::BeginBackgroundLoading() {
    if (loadingThreadStarted_.exchange(true)) return;
    yieldToLoader = true;
    loadingThread_ = std::thread([this] {
        LoadResourcesInBackground();
        const int ms = static_cast<int>(platform_->GetClock().Now() - constructionTick_);
        platform_->DebugOutput(Format("Resource Loading Time: %d\n", ms));
        loadingThreadCompleted_ = true;
    });
}

void ZarvoAppBase::AwaitBackgroundLoading() {
    while (loadingThreadStarted_ && !loadingThreadCompleted_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void ZarvoAppBase::MoveCursorPoint(int x, int y) {
    cursorX_ = x;
    cursorY_ = y;
    WakeCursorThread();
}

void ZarvoAppBase::WakeCursorThread() {
    // Taking the lock orders the change before the thread's next look at its condition.
    { std::lock_guard<std::mutex> lock(cursorMutex_); }
    cursorMoved_.notify_one();
}

void ZarvoAppBase::CursorThreadProc() {
    int lastX = cursorX_, lastY = cursorY_;
    while (!shutDown_) {
        {
            // A still cursor costs no wake-ups: the thread waits for a move, then looks at the
            // cursor every 10 ms as long as it keeps moving.
            std::unique_lock<std::mutex> lock(cursorMutex_);
            cursorMoved_.wait(lock,
                              [&] { return shutDown_ || cursorX_ != lastX || cursorY_ != lastY; });
        }
        if (shutDown_) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const int x = cursorX_, y = cursorY_;
        if ((x == lastX && y == lastY) || !display_) continue;
        lastX = x;
        lastY = y;
        const uint32_t now = platform_->GetClock().Now();
        const int sincePresent = static_cast<int>(now - earliestPresentTick.load());
        if (sincePresent > 5 + display_->RefreshPeriodMs()) {
            display_->MoveCursorNow(x, y);
        } else {
            display_->SetCursorPosition(x, y);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Main loop

void ZarvoAppBase::Start() {
    if (shutDown_) return;
    if (!cursorThread_.joinable()) cursorThread_ = std::thread([this] { CursorThreadProc(); });
    if (autoStartLoadingThread) BeginBackgroundLoading();
    if (window_) {
        window_->Show();
        window_->Focus();
    }
    Clock& clock = platform_->GetClock();
    startTick_ = clock.Now();
    loopRunning_ = true;
    lastTimerTick = lastUserInputTick = startTick_;
    lastPresentTick = startTick_;
    earliestPresentTick = startTick_;

    RunMainLoop();

    FlushDeferredDeletes();
    loopRunning_ = false;
    AwaitBackgroundLoading();

    const uint32_t end = clock.Now();
    platform_->DebugOutput(Format("Seconds       = %g\n", (end - startTick_) / 1000.0));
    platform_->DebugOutput(Format("Sleep Count   = %d\n", totalSleeps));
    platform_->DebugOutput(Format("Update Count  = %d\n", totalUpdates));
    platform_->DebugOutput(Format("Draw Count    = %d\n", totalPresents));
    platform_->DebugOutput(Format("Draw Time     = %d\n", totalDrawMs));
    platform_->DebugOutput(Format("Screen Blt    = %d\n", lastPresentMs));
    if (totalDrawMs + lastPresentMs > 0) {
        platform_->DebugOutput(
            Format("Avg FPS       = %d\n", totalPresents * 1000 / (totalDrawMs + lastPresentMs)));
    }

    PreTerminateHook();
    SaveSettings();
}

void ZarvoAppBase::RunMainLoop() {
    while (!shutDown_) {
        exitToTop_ = false;
        StepUntilUpdated();
    }
}

bool ZarvoAppBase::StepUntilUpdated() {
    while (true) {
        bool updated = false;
        if (!LoopStep(&updated)) return false;
        if (updated) return true;
    }
}

void ZarvoAppBase::DrainWindowMessages() {
    if (!window_) return;
    window_->PumpEvents([this](const WindowMessage& m) {
        if (!shutDown_) WindowProcedure(m);
    });
    if (instanceGuard_) {
        uint64_t w = 0;
        int64_t l = 0;
        while (!shutDown_ && instanceGuard_->PollNotify(w, l)) {
            WindowProcedure(WindowMessage{WindowMessage::kMainWindow, notifyMessageId, w, l});
        }
    }
    // The frame timer: one timer message every update interval.
    const uint32_t now = platform_->GetClock().Now();
    if (timerRunning_ && !shutDown_ && static_cast<int>(now - nextTimerTick_) >= 0) {
        nextTimerTick_ = now + static_cast<uint32_t>(updateIntervalMs);
        WindowProcedure(
            WindowMessage{WindowMessage::kMainWindow, Msg::kTimer, Msg::kFrameTimerId, 0});
    }
}

bool ZarvoAppBase::LoopStep(bool* updated) {
    if (updated) *updated = false;
    if (exitToTop_) return false;
    if (loopPhase == kPhaseDone) loopPhase = kPhaseMessages;
    ++loopDepth;
    if (loopPhase == kPhaseMessages) {
        DrainWindowMessages();
        // Recorded input is replayed like queued input: one event per step, each before the
        // update it was recorded before.
        const bool moreRecorded = ReplayDemoEvent();
        const bool moreQueued = ReplayDeferredMessages();
        if (!moreRecorded && !moreQueued) loopPhase = kPhaseProcess1;
    } else {
        const int before = totalUpdates;
        TimeStep(true);
        if (updated) *updated = totalUpdates != before;
    }
    --loopDepth;
    return true;
}

bool ZarvoAppBase::GuardedUpdate() {
    if (screenSaverSuspended) return false;
    if (playingDemo) {
        // The input recorded before this update goes first.
        if (demoPlayer_->HasDue(totalUpdates)) return false;
        if (demoPlayer_->AtEnd(totalUpdates)) {
            EndDemoReplay();
            return false;
        }
        // Loading completes at the recorded update: a loader that finished earlier waits for
        // it, and a later one holds the replay there.
        if (loadingThreadCompleted_) yieldToLoader = false;  // nothing left to yield to
        if (!loadingCompletedTold_ &&
            totalUpdates == demoPlayer_->Header().loadingCompletedUpdate) {
            if (!loadingThreadCompleted_) return false;
            TellLoadingCompleted();
        }
    } else if (loadingThreadCompleted_ && !loadingCompletedTold_) {
        TellLoadingCompleted();
    }
    UpdateOnce();
    if (demoRecorder_ && !demoRecorder_->UpdateDone(totalUpdates) && !demoWriteFailureShown_) {
        demoWriteFailureShown_ = true;
        platform_->DebugOutput("Cannot write the demo file " + demoRecorder_->Path() +
                               "; still recording, trying again later\n");
    }
    return true;
}

void ZarvoAppBase::TellLoadingCompleted() {
    if (loadingCompletedTold_) return;
    loadingCompletedTold_ = true;
    yieldToLoader = false;
    if (demoRecorder_) demoRecorder_->LoadingCompleted(totalUpdates);
    LoadingCompleted();
}

void ZarvoAppBase::UpdateOnce() {
    ++totalUpdates;
    if (!minimised) widgetManager_->RunUpdatePass();
    if (musicInterface_) musicInterface_->update();
    if (sharedImages_.NeedsCleaning()) {
        // The cursor thread may be drawing with the display at the same time.
        if (display_) {
            std::lock_guard<std::recursive_mutex> lock(display_->CriticalSection());
            sharedImages_.CleanSharedImages();
        } else {
            sharedImages_.CleanSharedImages();
        }
    }
}

void ZarvoAppBase::UpdateFraction(float fraction) {
    if (refreshPacedUpdates && !minimised) widgetManager_->RunFractionPass(fraction);
}

namespace {

// The pacer's work goes to the application's own (overridable) operations.
class AppFrameSteps final : public FramePacer::Steps {
public:
    explicit AppFrameSteps(ZarvoAppBase& app) : app_(app) {}
    bool GuardedUpdate() override { return app_.GuardedUpdate(); }
    void UpdateFraction(float fraction) override { app_.UpdateFraction(fraction); }
    bool DrawIfDirty() override { return app_.DrawIfDirty(); }
    void FlushDeferredDeletes() override { app_.FlushDeferredDeletes(); }

private:
    ZarvoAppBase& app_;
};

}  // namespace

bool ZarvoAppBase::TimeStep(bool maySleep) {
    if (shutdownRequested_.exchange(false)) Quit();
    AppFrameSteps steps(*this);
    FramePacer::Conditions conditions;
    conditions.playingDemo = playingDemo;
    conditions.physicallyWindowed = physicallyWindowed;
    conditions.loadingCompletedTold = loadingCompletedTold_;
    return PaceStep(maySleep, platform_->GetClock(), steps, conditions);
}

bool ZarvoAppBase::DrawIfDirty() {
    Clock& clock = platform_->GetClock();
    // Screen-saver idle suspension has nothing to watch on this platform.
    if (screenSaverSuspended || !display_) {
        drawOwed = false;
        lastDrawFoundNothing = true;
        return false;
    }

    // The cursor thread moved the software cursor: show it there with the next present.
    if (display_->TakeCursorRedraw()) cursorRedrawPending = true;

    const uint32_t drawStart = clock.Now();
    drawingInProgress_ = true;
    const bool drawn = widgetManager_->RunDrawPass();
    screenImage_->WritePendingFill();  // the display reads the buffer as it stands
    drawingInProgress_ = false;
    uint32_t now = clock.Now();
    const int drawMs = static_cast<int>(now - drawStart);

    std::string counter, replayClock;
    if (statisticsOverlay_.IsOn()) {
        counter = statisticsOverlay_.CounterText(widgetManager_->LastMouseX(),
                                                 widgetManager_->LastMouseY());
        if (playingDemo) {
            replayClock = StatisticsOverlay::ReplayClockText(totalUpdates, updateIntervalMs);
        }
    }
    const bool overlayChanged = counter + replayClock != overlayShown_;

    if (PresentDue(now, drawn || overlayChanged, cursorRedrawPending)) {
        ++totalPresents;
        lastDrawFoundNothing = false;
        totalDrawMs += drawMs;
        statisticsOverlay_.Draw(screenImage_.get(), counter, replayClock);
        overlayShown_ = counter + replayClock;

        if (waitForVSync && physicallyWindowed && emulatedRefreshWait) {
            const int wait =
                static_cast<int>(lastPresentTick + display_->RefreshPeriodMs() - clock.Now());
            if (wait > 0) clock.Sleep(wait);
            now = clock.Now();
        }

        lastPresentTick = now;
        Present();
        const uint32_t afterPresent = clock.Now();
        AdvanceTimeAccount(afterPresent);
        lastPresentMs = static_cast<int>(afterPresent - now);
        SchedulePresent(drawStart, afterPresent, loadingThreadStarted_ && !loadingThreadCompleted_);
        statisticsOverlay_.FramePresented(afterPresent);
        drawOwed = false;
        cursorRedrawPending = false;
        return true;
    }

    drawOwed = false;
    lastDrawFoundNothing = true;
    return false;
}

void ZarvoAppBase::Present() {
    if (display_) display_->Present();
}

void ZarvoAppBase::ResetUpdateBacklog() {
    ForgetOwedTime(platform_->GetClock().Now());
}

void ZarvoAppBase::QueueDeferredDelete(void* object, void (*deleter)(void*)) {
    if (!object) return;
    for (const DeferredDelete& d : safeDeleteList_) {
        if (d.object == object) {
            // Tolerated (it is deleted once), but always a mistake of the caller.
            assert(false && "QueueDeferredDelete: the object is already queued for deletion");
            return;
        }
    }
    safeDeleteList_.push_back(DeferredDelete{loopDepth, object, deleter});
}

void ZarvoAppBase::FlushDeferredDeletes() {
    // Deleting may queue more deletions, so take the due entries out first.
    std::vector<DeferredDelete> due;
    for (auto it = safeDeleteList_.begin(); it != safeDeleteList_.end();) {
        if (it->depth >= loopDepth) {
            due.push_back(*it);
            it = safeDeleteList_.erase(it);
        } else {
            ++it;
        }
    }
    for (const DeferredDelete& d : due) d.deleter(d.object);
}

// ---------------------------------------------------------------------------------------------
// Window messages

int64_t ZarvoAppBase::WindowProcedure(const WindowMessage& m) {
    // A screen saver ends at the first sign of the user.
    if (screenSaverMode && m.message != Msg::kClose) {
        const ScreenSaverFilter::Verdict verdict = screenSaverFilter_.Filter(m);
        if (verdict == ScreenSaverFilter::Verdict::kConsumeAndClose) {
            WindowProcedure(WindowMessage{WindowMessage::kMainWindow, Msg::kClose, 0, 0});
        }
        if (verdict != ScreenSaverFilter::Verdict::kPass) return 0;
    }
    switch (m.message) {
        case Msg::kDestroy:
            platform_->DebugOutput(Format("DESTROYED HWND: %d\n", m.target));
            return 0;
        case Msg::kEnable:
            windowDisabled = m.wParam == 0;
            return 0;
        case Msg::kPaint:
            if (initialized_ && !crashed && loopRunning_) Present();
            return 0;
        case Msg::kQueryOpen:
            return MayRestoreWindow() ? 1 : 0;
        case Msg::kEndSession:
            Quit();
            return 0;
        case Msg::kSetCursor:
            if (!crashed) ApplyCursor();
            return 1;
        case Msg::kNcLButtonDown:
            // The window was held by its caption: that time is not caught up.
            ResetUpdateBacklog();
            return 0;
        case Msg::kSysChar:
            return ClaimsAltKey(static_cast<int>(m.wParam)) ? 0 : 1;
        default:
            break;
    }
    if (m.message == notifyMessageId && notifyMessageId != 0 &&
        m.target == WindowMessage::kMainWindow) {
        OnNotifyMessage(m.wParam, m.lParam);
        return 0;
    }

    const bool queued = m.message == Msg::kMove || m.message == Msg::kSize ||
                        m.message == Msg::kActivateApp || m.message == Msg::kClose ||
                        m.message == Msg::kSysColorChange || m.message == Msg::kDisplayChange ||
                        m.message == Msg::kKeyDown || m.message == Msg::kKeyUp ||
                        m.message == Msg::kChar || m.message == Msg::kSysKeyDown ||
                        m.message == Msg::kSysKeyUp || m.message == Msg::kTimer ||
                        (m.message >= Msg::kMouseMove && m.message <= Msg::kMouseWheel);
    if (!queued) return 0;

    // A replay takes its input from the recording: the player's input is dropped, except
    // what closes the window.
    const bool liveInput = m.message == Msg::kActivateApp || m.message == Msg::kSize ||
                           m.message == Msg::kKeyDown || m.message == Msg::kKeyUp ||
                           m.message == Msg::kChar || m.message == Msg::kSysKeyDown ||
                           m.message == Msg::kSysKeyUp ||
                           (m.message >= Msg::kMouseMove && m.message <= Msg::kMouseWheel);
    if (playingDemo && liveInput) {
        if (m.message == Msg::kSysKeyDown && m.wParam == VKey::kF4)
            WindowProcedure(WindowMessage{m.target, Msg::kClose, 0, 0});
        return 0;
    }

    if (m.message == Msg::kActivateApp && m.target == WindowMessage::kMainWindow && !playingDemo) {
        active = m.wParam != 0;
    }
    if (!systemDialogOpen) {
        const bool keyMessage = m.message == Msg::kKeyDown || m.message == Msg::kKeyUp ||
                                m.message == Msg::kSysKeyDown || m.message == Msg::kSysKeyUp;
        if (keyMessage) {
            const bool down = m.message == Msg::kKeyDown || m.message == Msg::kSysKeyDown;
            if (m.wParam == VKey::kControl) ctrlHeld = down;
            if (m.wParam == VKey::kMenu) altHeld = down;
            if (down && AsyncDebugKey(static_cast<int>(m.wParam))) return 0;
        }
        deferredMessages_.Append(m);
    }
    if (m.message == Msg::kSysKeyDown) {
        // Only Alt+F4 reaches the default handling, which asks the window to close.
        if (m.wParam == VKey::kF4) {
            WindowProcedure(WindowMessage{m.target, Msg::kClose, 0, 0});
        }
        return 0;
    }
    if (m.message == Msg::kClose) {
        CloseRequestHook();
        return 0;
    }
    return 0;
}

bool ZarvoAppBase::ReplayDeferredMessages() {
    WindowMessage m;
    if (!deferredMessages_.TakeFirst(m)) return false;
    const uint32_t now = platform_->GetClock().Now();

    if (m.message >= Msg::kMouseMove && m.message <= Msg::kMButtonDblClk) {
        if (!crashed) TranslateMouse(m);
    } else if (m.message == Msg::kMouseWheel) {
        const int delta = static_cast<int16_t>(static_cast<uint16_t>((m.wParam >> 16) & 0xFFFF));
        DeliverInput(DemoEvent{totalUpdates, DemoEvent::Kind::kWheel, 0, 0, delta / 120});
    } else if (m.message == Msg::kKeyDown || m.message == Msg::kSysKeyDown) {
        lastUserInputTick = now;
        TranslateKeyDown(m);
    } else if (m.message == Msg::kKeyUp || m.message == Msg::kSysKeyUp) {
        lastUserInputTick = now;
        DeliverInput(
            DemoEvent{totalUpdates, DemoEvent::Kind::kKeyUp, 0, 0, static_cast<int>(m.wParam)});
    } else if (m.message == Msg::kChar) {
        lastUserInputTick = now;
        DeliverInput(DemoEvent{totalUpdates, DemoEvent::Kind::kChar, 0, 0,
                               static_cast<int>(m.wParam & 0xFF)});
    } else if (m.message == Msg::kMove) {
        if (m.target == WindowMessage::kMainWindow && windowed && window_ && window_->IsVisible() &&
            !window_->IsMinimised()) {
            window_->NormalPosition(preferredX, preferredY);
        }
    } else if (m.message == Msg::kSize) {
        if (m.target == WindowMessage::kMainWindow && !shutDown_) {
            const bool nowMinimised = m.wParam == Msg::kSizeMinimized;
            if (nowMinimised != minimised) {
                minimised = nowMinimised;
                if (minimised) {
                    if (muteOnLostFocus) Mute(true);
                } else {
                    if (muteOnLostFocus) Unmute(true);
                    widgetManager_->InvalidateSubtree();
                }
            }
            RecheckFocus();
            if (!minimised) {
                FollowWindowSize();
                if (windowed && window_ && window_->IsVisible()) {
                    window_->NormalSize(windowWidth, windowHeight);
                }
            }
            if (m.wParam == Msg::kSizeMaximized) ChangeScreenMode(false);
        }
    } else if (m.message == Msg::kSysColorChange || m.message == Msg::kDisplayChange) {
        widgetManager_->SystemColoursChangedTree();
        widgetManager_->InvalidateSubtree();
    } else if (m.message == Msg::kActivateApp) {
        if (m.target == WindowMessage::kMainWindow && !crashed && !shutDown_) {
            RecheckFocus();
            if (active && !windowed) widgetManager_->InvalidateSubtree();
            if (openingWebPage && !active) {
                openingWebPage = false;
                UrlOpenSucceeded(webPageAddress);
            }
        }
    } else if (m.message == Msg::kTimer) {
        if (!crashed && loopRunning_) {
            if (static_cast<int32_t>(now - lastTimerTick) > 500) timerResumeTick = now;
            lastTimerTick = now;
            if (openingWebPage && static_cast<int32_t>(now - timerResumeTick) >= 5000) {
                const int32_t since = static_cast<int32_t>(now - webPageOpenTick);
                if (since > 8000 && !active) {
                    openingWebPage = false;
                    UrlOpenSucceeded(webPageAddress);
                } else if (since > 12000 && active) {
                    openingWebPage = false;
                    UrlOpenFailed(webPageAddress);
                }
            }
            CheckMouseIn();
        }
    } else if (m.message == Msg::kClose) {
        DeliverInput(DemoEvent{totalUpdates, DemoEvent::Kind::kClose, 0, 0, 0});
    }
    return !deferredMessages_.Empty();
}

void ZarvoAppBase::TranslateMouse(const WindowMessage& m) {
    const int wx = Msg::PointX(m.lParam), wy = Msg::PointY(m.lParam);
    const WidgetPoint p = widgetManager_->MapWindowPoint(wx, wy);
    // The software cursor is drawn in screen-image pixels.
    MoveCursorPoint(p.x, p.y);
    const int x = p.x, y = p.y;
    lastUserInputTick = platform_->GetClock().Now();
    DeliverInput(DemoEvent{totalUpdates, DemoEvent::Kind::kPointerMove, x, y, 0});
    const auto press = [&](int clickCount) {
        window_->CaptureMouse(true);
        DeliverInput(DemoEvent{totalUpdates, DemoEvent::Kind::kPointerPress, x, y, clickCount});
    };
    const auto release = [&](uint64_t otherButtons, int clickCount) {
        if ((m.wParam & otherButtons) == 0) window_->CaptureMouse(false);
        DeliverInput(DemoEvent{totalUpdates, DemoEvent::Kind::kPointerRelease, x, y, clickCount});
    };
    switch (m.message) {
        case Msg::kLButtonDown:
            press(1);
            break;
        case Msg::kLButtonDblClk:
            press(2);
            break;
        case Msg::kRButtonDown:
            press(-1);
            break;
        case Msg::kRButtonDblClk:
            press(-2);
            break;
        case Msg::kMButtonDown:
        case Msg::kMButtonDblClk:
            press(3);
            break;
        case Msg::kLButtonUp:
            release(Msg::kButtonRight | Msg::kButtonMiddle, 1);
            break;
        case Msg::kRButtonUp:
            release(Msg::kButtonLeft | Msg::kButtonMiddle, -1);
            break;
        case Msg::kMButtonUp:
            release(Msg::kButtonLeft | Msg::kButtonRight, 3);
            break;
        default:
            break;
    }
}

void ZarvoAppBase::TranslateKeyDown(const WindowMessage& m) {
    const int key = static_cast<int>(m.wParam);
    if (m.message == Msg::kSysKeyDown && key == VKey::kReturn) {
        if (!forceFullScreen && !forceWindowed) {
            ChangeScreenMode(!windowed);
            return;
        }
    }
    if (key == kStatisticsKey) {
        NextStatisticsMode();
        return;
    }
    if (key == 'D' && widgetManager_->IsKeyDown(VKey::kControl) &&
        widgetManager_->IsKeyDown(VKey::kMenu)) {
        debugKeysEnabled = !debugKeysEnabled;
    }
    if (debugKeysEnabled && OnDebugKey(key)) return;
    DeliverInput(DemoEvent{totalUpdates, DemoEvent::Kind::kKeyDown, 0, 0, key});
}

void ZarvoAppBase::CheckMouseIn() {
    // A replay's pointer leaves the window where the recording says.
    if (!window_ || !display_ || playingDemo) return;
    const bool in = window_->CursorInClient(display_->Width(), display_->Height());
    if (in == mouseIn) return;
    if (!in) {
        WidgetPoint p{cursorX_, cursorY_};  // the last logical position
        int wx = 0, wy = 0;
        if (window_->CursorPosition(wx, wy)) p = widgetManager_->MapWindowPoint(wx, wy);
        DeliverInput(DemoEvent{totalUpdates, DemoEvent::Kind::kPointerLeave, p.x, p.y, 0});
        return;
    }
    mouseIn = true;
    ApplyCursor();
}

void ZarvoAppBase::DeliverInput(const DemoEvent& event) {
    if (demoRecorder_) {
        DemoEvent stamped = event;
        stamped.update = totalUpdates;
        demoRecorder_->Record(stamped);
    }
    switch (event.kind) {
        case DemoEvent::Kind::kPointerMove:
            widgetManager_->PointerMoved(event.x, event.y);
            if (!mouseIn) {
                mouseIn = true;
                ApplyCursor();
            }
            break;
        case DemoEvent::Kind::kPointerPress:
            widgetManager_->PointerPressed(event.x, event.y, event.value);
            break;
        case DemoEvent::Kind::kPointerRelease:
            widgetManager_->PointerReleased(event.x, event.y, event.value);
            break;
        case DemoEvent::Kind::kWheel:
            widgetManager_->WheelTurned(event.value);
            break;
        case DemoEvent::Kind::kKeyDown:
            widgetManager_->KeyPressed(event.value);
            break;
        case DemoEvent::Kind::kKeyUp:
            widgetManager_->KeyReleased(event.value);
            break;
        case DemoEvent::Kind::kChar:
            widgetManager_->CharTyped(static_cast<char>(event.value & 0xFF));
            break;
        case DemoEvent::Kind::kFocus:
            // Only a replay delivers focus this way; live focus is recorded by RecheckFocus.
            active = (event.value & DemoEvent::kFocusActive) != 0;
            minimised = (event.value & DemoEvent::kFocusMinimised) != 0;
            applyingDemoEvent_ = true;
            RecheckFocus();
            applyingDemoEvent_ = false;
            break;
        case DemoEvent::Kind::kPointerLeave:
            widgetManager_->PointerLeftWindow(event.x, event.y);
            mouseIn = false;
            ApplyCursor();
            break;
        case DemoEvent::Kind::kClose:
            closeRequested = true;
            Quit();
            break;
    }
}

bool ZarvoAppBase::ReplayDemoEvent() {
    if (!playingDemo || shutDown_) return false;
    DemoEvent event;
    if (demoPlayer_->TakeDue(totalUpdates, event)) {
        if (event.kind == DemoEvent::Kind::kPointerMove ||
            event.kind == DemoEvent::Kind::kPointerPress ||
            event.kind == DemoEvent::Kind::kPointerRelease) {
            // The cursor thread follows the recorded pointer.
            MoveCursorPoint(event.x, event.y);
        }
        // The recorded run was closed here: so ends the replay.
        if (event.kind == DemoEvent::Kind::kClose)
            platform_->DebugOutput(Format("Demo replay finished after %d updates\n", totalUpdates));
        DeliverInput(event);
    }
    return !shutDown_ && demoPlayer_->HasDue(totalUpdates);
}

void ZarvoAppBase::BeginDemoReplay() {
    DemoRecording recording;
    std::string error;
    if (!DemoFile::Read(demoFileName, recording, error)) {
        demoReplayRequested = false;
        Popup(LookUpText("DEMO_FILE_REFUSED", "Cannot replay the demo file ") + "\"" +
              CommandLineParser::EchoText(demoFileName) + "\": " + error + ".");
        ExitProcessWith(1);
    }
    // Recording while replaying would overwrite the file being replayed.
    recordingDemo = false;
    playingDemo = true;
    randomSeed = recording.header.randomSeed;
    SeedRandom(randomSeed);
    replayMusicVolume_ = musicVolume;
    replaySfxVolume_ = sfxVolume;
    platform_->DebugOutput(
        Format("Replaying %d updates", recording.header.endUpdate) +
        Format(" and %d input events from ", static_cast<int>(recording.events.size())) +
        demoFileName + "\n");
    demoPlayer_ = std::make_unique<DemoPlayer>(std::move(recording));
}

void ZarvoAppBase::EndDemoReplay() {
    platform_->DebugOutput(Format("Demo replay finished after %d updates\n", totalUpdates));
    Quit();
}

void ZarvoAppBase::BeginDemoRecording() {
    DemoHeader header;
    header.randomSeed = randomSeed;
    header.windowed = windowed;
    header.refreshHz = assumedRefreshHz;
    header.updateIntervalMs = updateIntervalMs;
    demoRecorder_ = std::make_unique<DemoRecorder>(demoFileName, header);
    // A replay starts active and not minimised; a run that starts otherwise says so first.
    recordedFocus_ = DemoEvent::kFocusActive;
    RecheckFocus();
    platform_->DebugOutput("Recording the input into " + demoFileName + "\n");
}

void ZarvoAppBase::EndDemoRecording() {
    if (!demoRecorder_ || demoRecorder_->Finished()) return;
    // A run that ended before its first update (a failed start) has nothing worth replacing
    // an earlier recording with.
    if (totalUpdates == 0 && demoRecorder_->Recording().events.empty()) return;
    if (demoRecorder_->Finish(totalUpdates)) {
        platform_->DebugOutput(
            Format("Recorded %d updates", demoRecorder_->Recording().header.endUpdate) +
            Format(" and %d input events into ",
                   static_cast<int>(demoRecorder_->Recording().events.size())) +
            demoRecorder_->Path() + "\n");
    } else {
        platform_->DebugOutput("Cannot write the demo file " + demoRecorder_->Path() + "\n");
    }
}

void ZarvoAppBase::RecheckFocus() {
    if (playingDemo && !applyingDemoEvent_) return;
    if (demoRecorder_) {
        const int state =
            (active ? DemoEvent::kFocusActive : 0) | (minimised ? DemoEvent::kFocusMinimised : 0);
        if (state != recordedFocus_) {
            recordedFocus_ = state;
            demoRecorder_->Record(DemoEvent{totalUpdates, DemoEvent::Kind::kFocus, 0, 0, state});
        }
    }
    const bool focus = active && !minimised;
    if (focus == hasFocus) return;
    hasFocus = focus;
    if (focus) {
        if (muteOnLostFocus) Unmute(true);
        widgetManager_->WindowGotFocus();
        GotFocusHook();
    } else {
        if (muteOnLostFocus) Mute(true);
        widgetManager_->WindowLostFocus();
        LostFocusHook();
        if (window_) window_->CaptureMouse(false);
        widgetManager_->ReleaseMouseButtons();
    }
}

void ZarvoAppBase::OnNotifyMessage(uint64_t wParam, int64_t) {
    if (wParam != 0 || !window_) return;
    platform_->DebugOutput("Another copy was started: raising the window\n");
    window_->Raise();
}

void ZarvoAppBase::OnAlreadyRunning() {
    if (!onlyAllowOneCopy) return;
    instanceGuard_->Notify(0, 0);
    ExitProcessWith(0);
}

void ZarvoAppBase::NextStatisticsMode() {
    statisticsOverlay_.NextMode();
    // The overlay was drawn into the frame; the widgets draw over it again.
    if (!statisticsOverlay_.IsOn()) widgetManager_->InvalidateSubtree();
}

// ---------------------------------------------------------------------------------------------
// Cursors

void ZarvoAppBase::SetCursorId(int id) {
    cursorId = id;
    ApplyCursor();
}

void ZarvoAppBase::EnableCustomCursors(bool on) {
    customCursorsEnabled = on;
    ApplyCursor();
}

void ZarvoAppBase::SetCustomCursorImage(int id, MemoryImage* image, int hotX, int hotY) {
    if (id < 0 || id >= static_cast<int>(customCursorImages_.size())) return;
    std::shared_ptr<CursorImage> picture;
    const uint32_t* bits = image != nullptr ? image->GetBits() : nullptr;
    if (bits != nullptr && image->GetWidth() > 0 && image->GetHeight() > 0) {
        // A copy: the display draws it from the cursor's own state, whatever happens to the
        // caller's image later.
        picture = std::make_shared<CursorImage>();
        picture->width = image->GetWidth();
        picture->height = image->GetHeight();
        picture->hotX = hotX;
        picture->hotY = hotY;
        picture->pixels.reserve(static_cast<size_t>(picture->width) * picture->height);
        for (int y = 0; y < picture->height; ++y) {
            const uint32_t* row = bits + static_cast<size_t>(y) * image->GetPitch();
            picture->pixels.insert(picture->pixels.end(), row, row + picture->width);
        }
    }
    customCursorImages_[id] = std::move(picture);
    ApplyCursor();
}

void ZarvoAppBase::SetOverrideCursor(int id) {
    overrideCursorId = id >= 0 && id <= 12 ? id : -1;
    ApplyCursor();
}

void ZarvoAppBase::ApplyCursor() {
    if (!display_ || !window_) return;
    if (crashed || !mouseIn) {
        if (display_->SetCursorImage(nullptr)) cursorRedrawPending = true;
        window_->SetSystemCursor(kCursorArrow);
        return;
    }
    const int id = (cursorId >= 0 && cursorId < kCursorCount) ? cursorId : kCursorArrow;
    const std::shared_ptr<const CursorImage>& image = customCursorImages_[id];
    if (image && (customCursorsEnabled || id == kCursorCustomOnly)) {
        if (display_->SetCursorImage(image)) cursorRedrawPending = true;
        window_->SetSystemCursor(kCursorCustomOnly);
        return;
    }
    window_->SetSystemCursor(overrideCursorId >= 0 ? overrideCursorId : id);
    if (display_->SetCursorImage(nullptr)) cursorRedrawPending = true;
}

}  // namespace Zarvo
