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

// Splits "Sub\Key\Name" into the sub-key "Sub\Key" and the value name "Name".
void SplitValueName(const std::string& name, std::string& subKey, std::string& valueName) {
    const size_t slash = name.rfind('\\');
    if (slash == std::string::npos) {
        subKey.clear();
        valueName = name;
    } else {
        subKey = name.substr(0, slash);
        valueName = name.substr(slash + 1);
    }
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

// A volume as a whole percentage. The tiny bias keeps a volume such as 0.29, whose product
// with 100 lands just below 29, from losing a percent on every save.
int VolumeToPercent(double volume) {
    return static_cast<int>(volume * 100.0 + 1e-7);
}

double PercentToVolume(int percent) {
    return std::clamp(percent, 0, 100) / 100.0;
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
    resourceManager_ = std::make_unique<ResourceManager>(this);
    dialogs_ =
        std::make_unique<AppDialogTable<ZarvoAppBase>>(this, widgetManager_.get(), width, height);
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

    if (!WorkingDirectoryHook(changeDirTarget)) platform_->ChangeWorkingDirectory(changeDirTarget);

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

    randomSeed = platform_->GetClock().Now();
    SeedRandom(randomSeed);
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

    InitHook();
    initialized_ = true;
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
    placement.fullScreen = !(windowed || playingDemo) || fullScreenByDesktopChange;
    if (!placement.fullScreen) {
        int left = 0, top = 0, right = 0, bottom = 0;
        window_->FrameExtents(left, top, right, bottom);
        WindowPlacement::Place(window_->WorkArea(), width + left + right, height + top + bottom,
                               preferredX, preferredY, placement.x, placement.y);
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

    active = window_->IsActive() || !window_->IsVisible();
    if (minimised) {
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
        const int offsetX = (width - display_->Width()) / 2;
        const int offsetY = (height - display_->Height()) / 2;
        widgetManager_->SetMouseTransform(Rect(0, 0, width, height),
                                          Rect(offsetX, offsetY, width, height));
        PostDisplayInitHook();
    }
    return result;
}

void ZarvoAppBase::Quit() {
    if (!IsPrimaryThread()) {
        shutdownRequested_ = true;
        return;
    }
    if (shutDown_) return;
    exitToTop_ = true;
    shutDown_ = true;
    ShutdownHook();
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

void ZarvoAppBase::CursorThreadProc() {
    int lastX = cursorX_, lastY = cursorY_;
    while (!shutDown_) {
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
    if (loopPhase == kLoopDone) loopPhase = kLoopMessages;
    ++loopDepth;
    if (loopPhase == kLoopMessages) {
        DrainWindowMessages();
        if (!ReplayDeferredMessages()) loopPhase = kLoopFirstStep;
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
    if (loadingThreadCompleted_ && !loadingCompletedTold_) {
        loadingCompletedTold_ = true;
        yieldToLoader = false;
        LoadingCompleted();
    }
    UpdateOnce();
    return true;
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

double ZarvoAppBase::GetLoadingThreadProgress() const {
    if (loadingThreadCompleted_) return 1.0;
    const int total = numLoadingThreadTasks;
    if (total <= 0) return 0.0;
    return std::clamp(static_cast<double>(completedLoadingThreadTasks) / total, 0.0, 1.0);
}

std::unique_ptr<MemoryImage> ZarvoAppBase::GetImage(const std::string& fileName, bool commitBits) {
    std::unique_ptr<MemoryImage> image = ImageLib::LoadMemoryImage(fileName);
    if (image && commitBits) image->CommitBits();
    return image;
}

SharedImageRef ZarvoAppBase::GetSharedImage(const std::string& path, const std::string& variant,
                                            bool* isNew) {
    return sharedImages_.GetSharedImage(
        path, variant, [](const std::string& name) { return ImageLib::LoadMemoryImage(name); },
        isNew);
}

void ZarvoAppBase::UpdateFraction(float fraction) {
    if (refreshPacedUpdates && !minimised) widgetManager_->RunFractionPass(fraction);
}

void ZarvoAppBase::AdvanceTimeAccount(uint32_t now) {
    if (owedTimeTick == 0) {
        owedTimeTick = now;
        return;
    }
    const double elapsed = static_cast<double>(static_cast<int32_t>(now - owedTimeTick));
    owedTimeMs = std::min(owedTimeMs + elapsed, 200.0);
    owedTimeTick = now;
}

bool ZarvoAppBase::TimeStep(bool maySleep) {
    Clock& clock = platform_->GetClock();
    const bool refreshLocked = !playingDemo && refreshPacedUpdates && !lastDrawFoundNothing &&
                               !refreshPacingFailed &&
                               (!physicallyWindowed || (waitForVSync && !emulatedRefreshWait));
    float updatesPerPresent = 1.0f;
    double stepMs = updateIntervalMs / speedFactor;
    if (refreshPacedUpdates) {
        updatesPerPresent = static_cast<float>(1000.0 / (assumedRefreshHz * updateIntervalMs));
        stepMs = 1000.0 / assumedRefreshHz / speedFactor;
    }

    if (shutdownRequested_.exchange(false)) Quit();

    uint32_t now = clock.Now();
    int sleptMs = 0;
    bool drawDecision = false;
    if (speedFactor > 0) {
        if (!refreshLocked) AdvanceTimeAccount(now);

        if (loopPhase == kLoopFirstStep) {
            ++updatesSinceDraw;
            if (updatesSinceDraw >= static_cast<int>(std::ceil(speedFactor * 10.0)) &&
                loadingCompletedTold_) {
                drawDecision = true;
            } else {
                bool runNow = false;
                double threshold = stepMs;
                if (refreshLocked) {
                    if (!drawOwed)
                        runNow = true;
                    else
                        threshold = static_cast<int>(stepMs * 0.75);
                }
                if (!runNow && owedTimeMs < threshold) {
                    drawDecision = true;
                } else {
                    if (!playingDemo && speedFactor == 1.0) {
                        ++pacingCheckCount;
                        if (pacingCheckCount >= (updateIntervalMs + 999) / updateIntervalMs) {
                            if (static_cast<int32_t>(now - pacingCheckTick) > 800) {
                                pacingStrikes = 0;
                            } else if (++pacingStrikes >= 3) {
                                refreshPacingFailed = true;
                            }
                            pacingCheckTick = now;
                            pacingCheckCount = 0;
                        }
                    }
                    if (GuardedUpdate()) loopPhase = kLoopSecondStep;
                    drawOwed = true;
                }
            }
        } else if (loopPhase == kLoopSecondStep) {
            loopPhase = kLoopDone;
            owedFractionalUpdates += updatesPerPresent - 1.0;
            FlushDeferredDeletes();
            while (owedFractionalUpdates >= 1.0) {
                ++updatesSinceDraw;
                if (!GuardedUpdate()) break;
                FlushDeferredDeletes();
                owedFractionalUpdates -= 1.0;
            }
            UpdateFraction(updatesPerPresent);
            FlushDeferredDeletes();
            if (refreshLocked)
                owedTimeMs = std::max(owedTimeMs - stepMs - 0.2, 0.0);
            else
                owedTimeMs -= stepMs;
        } else {
            drawDecision = true;
        }
    }

    if (drawDecision) {
        loopPhase = kLoopDone;
        updatesSinceDraw = 0;
        if (drawOwed) {
            DrawIfDirty();
        } else {
            const int sleepMs = static_cast<int>(stepMs - owedTimeMs);
            if (sleepMs >= 1) {
                if (!maySleep) return false;
                ++totalSleeps;
                clock.Sleep(sleepMs);
                sleptMs = sleepMs;
            }
        }
    }

    if (yieldToLoader) {
        int t = 2 * (static_cast<int>(clock.Now() - now) - sleptMs) - sleptMs;
        t = std::min(t, 250);
        if (t >= 0) {
            if (!maySleep) return false;
            clock.Sleep(t);
        }
    }

    FlushDeferredDeletes();
    return true;
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
    drawingInProgress_ = false;
    uint32_t now = clock.Now();
    const int drawMs = static_cast<int>(now - drawStart);

    if ((drawn || static_cast<int32_t>(now - lastPresentTick) > 999 || cursorRedrawPending) &&
        static_cast<int32_t>(now - earliestPresentTick.load()) >= 0) {
        ++totalPresents;
        lastDrawFoundNothing = false;
        totalDrawMs += drawMs;

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

        if (!loadingThreadStarted_ || loadingThreadCompleted_) {
            earliestPresentTick = afterPresent;
        } else {
            const int drawDuration = static_cast<int>(afterPresent - drawStart);
            uint32_t next =
                earliestPresentTick.load() + static_cast<uint32_t>(std::max(drawDuration, 15) + 35);
            if (static_cast<int32_t>(next - afterPresent) < 0) next = afterPresent;
            earliestPresentTick = next;
        }
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
    owedTimeMs = 0;
    owedTimeTick = platform_->GetClock().Now();
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

bool ZarvoAppBase::ScreenSaverFilter(const WindowMessage& m) {
    bool end = false;
    switch (m.message) {
        case Msg::kActivateApp:
            end = m.wParam == 0;
            break;
        case Msg::kKeyDown:
        case Msg::kSysKeyDown:
        case Msg::kLButtonDown:
        case Msg::kRButtonDown:
        case Msg::kMButtonDown:
            end = true;
            break;
        case Msg::kMouseMove:
            if (m.lParam != screenSaverMousePoint_) {
                screenSaverMousePoint_ = m.lParam;
                end = ++screenSaverMoves_ > 3;
            }
            break;
        default:
            break;
    }
    if (!end) return false;
    if (!screenSaverClosePosted_) {
        screenSaverClosePosted_ = true;
        WindowProcedure(WindowMessage{WindowMessage::kMainWindow, Msg::kClose, 0, 0});
    }
    return true;
}

int64_t ZarvoAppBase::WindowProcedure(const WindowMessage& m) {
    // A screen saver ends at the first sign of the user.
    if (screenSaverMode && m.message != Msg::kClose && ScreenSaverFilter(m)) return 0;
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
        widgetManager_->WheelTurned(delta / 120);
    } else if (m.message == Msg::kKeyDown || m.message == Msg::kSysKeyDown) {
        lastUserInputTick = now;
        TranslateKeyDown(m);
    } else if (m.message == Msg::kKeyUp || m.message == Msg::kSysKeyUp) {
        lastUserInputTick = now;
        widgetManager_->KeyReleased(static_cast<int>(m.wParam));
    } else if (m.message == Msg::kChar) {
        lastUserInputTick = now;
        widgetManager_->CharTyped(static_cast<char>(m.wParam & 0xFF));
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
        closeRequested = true;
        Quit();
    }
    return !deferredMessages_.Empty();
}

void ZarvoAppBase::TranslateMouse(const WindowMessage& m) {
    const int wx = Msg::PointX(m.lParam), wy = Msg::PointY(m.lParam);
    cursorX_ = wx;
    cursorY_ = wy;
    const WidgetPoint p = widgetManager_->MapWindowPoint(wx, wy);
    const int x = p.x, y = p.y;
    lastUserInputTick = platform_->GetClock().Now();
    widgetManager_->PointerMoved(x, y);
    if (!mouseIn) {
        mouseIn = true;
        ApplyCursor();
    }
    const uint64_t held = m.wParam;
    switch (m.message) {
        case Msg::kLButtonDown:
            window_->CaptureMouse(true);
            widgetManager_->PointerPressed(x, y, 1);
            break;
        case Msg::kLButtonDblClk:
            window_->CaptureMouse(true);
            widgetManager_->PointerPressed(x, y, 2);
            break;
        case Msg::kRButtonDown:
            window_->CaptureMouse(true);
            widgetManager_->PointerPressed(x, y, -1);
            break;
        case Msg::kRButtonDblClk:
            window_->CaptureMouse(true);
            widgetManager_->PointerPressed(x, y, -2);
            break;
        case Msg::kMButtonDown:
        case Msg::kMButtonDblClk:
            window_->CaptureMouse(true);
            widgetManager_->PointerPressed(x, y, 3);
            break;
        case Msg::kLButtonUp:
            if ((held & (Msg::kButtonRight | Msg::kButtonMiddle)) == 0)
                window_->CaptureMouse(false);
            widgetManager_->PointerReleased(x, y, 1);
            break;
        case Msg::kRButtonUp:
            if ((held & (Msg::kButtonLeft | Msg::kButtonMiddle)) == 0) window_->CaptureMouse(false);
            widgetManager_->PointerReleased(x, y, -1);
            break;
        case Msg::kMButtonUp:
            if ((held & (Msg::kButtonLeft | Msg::kButtonRight)) == 0) window_->CaptureMouse(false);
            widgetManager_->PointerReleased(x, y, 3);
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
    if (key == 'D' && widgetManager_->IsKeyDown(VKey::kControl) &&
        widgetManager_->IsKeyDown(VKey::kMenu)) {
        debugKeysEnabled = !debugKeysEnabled;
    }
    if (debugKeysEnabled && OnDebugKey(key)) return;
    widgetManager_->KeyPressed(key);
}

void ZarvoAppBase::CheckMouseIn() {
    if (!window_ || !display_) return;
    const bool in = window_->CursorInClient(display_->Width(), display_->Height());
    if (in == mouseIn) return;
    if (!in) {
        int wx = 0, wy = 0;
        if (!window_->CursorPosition(wx, wy)) {
            wx = cursorX_;
            wy = cursorY_;
        }
        const WidgetPoint p = widgetManager_->MapWindowPoint(wx, wy);
        widgetManager_->PointerLeftWindow(p.x, p.y);
    }
    mouseIn = in;
    ApplyCursor();
}

void ZarvoAppBase::RecheckFocus() {
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

// ---------------------------------------------------------------------------------------------
// Screen mode

void ZarvoAppBase::ChangeScreenMode(bool newWindowed, bool new3D, bool force) {
    if (!force && newWindowed == windowed && new3D == is3D) return;
    windowed = newWindowed;
    is3D = false;  // no 3-D mode on this platform
    (void)new3D;
    if (window_) CreateMainWindow();
}

void ZarvoAppBase::ChangeScreenMode(bool newWindowed) {
    ChangeScreenMode(newWindowed, is3D, false);
}

void ZarvoAppBase::ChangeScreenMode() {
    ChangeScreenMode(windowed, is3D, true);
}

// ---------------------------------------------------------------------------------------------
// Messages to the player

void ZarvoAppBase::ShowMessageBox(const std::string& title, const std::string& text) {
    platform_->ShowMessageBox(title, text);
}

void ZarvoAppBase::Popup(const std::string& text) {
    // A refused archive is the likely cause of whatever went wrong afterwards.
    ShowMessageBox(LookUpText("FATAL_ERROR", "FATAL ERROR"),
                   refusedPakNote_.empty() ? text : text + "\n" + refusedPakNote_);
}

void ZarvoAppBase::RecordScreenSaverError(const std::string& text) {
    std::FILE* f = std::fopen("ScrError.txt", "a");
    if (!f) return;
    std::fputs(text.c_str(), f);
    std::fclose(f);
}

bool ZarvoAppBase::OpenWebPage(const std::string& url) {
    if (!platform_->OpenUrl(url)) {
        UrlOpenFailed(url);
        return false;
    }
    openingWebPage = true;
    webPageOpenTick = platform_->GetClock().Now();
    webPageAddress = url;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Audio and the mute model

void ZarvoAppBase::PlaySample(int id) {
    if (!soundManager_) return;
    if (SoundInstance* instance = soundManager_->getSoundInstance(id)) instance->play(false, true);
}

void ZarvoAppBase::PlaySample(int id, int pan) {
    if (!soundManager_) return;
    if (SoundInstance* instance = soundManager_->getSoundInstance(id)) {
        instance->setPan(pan);
        instance->play(false, true);
    }
}

double ZarvoAppBase::GetMasterVolume() {
    return soundManager_ ? soundManager_->getMasterVolume() : 1.0;
}

void ZarvoAppBase::SetMasterVolume(double volume) {
    if (soundManager_) soundManager_->setMasterVolume(volume);
}

void ZarvoAppBase::SetMusicVolume(double volume) {
    musicVolume = volume;
    ApplyVolumes();
}

void ZarvoAppBase::SetSfxVolume(double volume) {
    sfxVolume = volume;
    ApplyVolumes();
}

void ZarvoAppBase::Mute(bool automatic) {
    ++muteCount;
    if (automatic) ++autoMuteCount;
    ApplyVolumes();
}

void ZarvoAppBase::Unmute(bool automatic) {
    if (muteCount > 0) {
        --muteCount;
        if (automatic && autoMuteCount > 0) --autoMuteCount;
    }
    ApplyVolumes();
}

void ZarvoAppBase::ApplyVolumes() {
    const bool muted = muteCount > 0;
    if (musicInterface_) musicInterface_->setVolume(muted ? 0.0 : musicVolume);
    if (soundManager_) soundManager_->setVolume(muted ? 0.0 : sfxVolume);
}

// ---------------------------------------------------------------------------------------------
// Settings

void ZarvoAppBase::LoadSettings() {
    registryKey = LookUpText("RegistryKey", registryKey);
    settingsLoaded = true;
    if (registryKey.empty()) return;

    int value = 0;
    bool flag = false;
    if (ReadInteger("MusicVolume", value)) musicVolume = PercentToVolume(value);
    if (ReadInteger("SfxVolume", value)) sfxVolume = PercentToVolume(value);
    if (ReadInteger("Muted", value)) {
        // Only a mute the player chose is stored; a negative count would make muting impossible.
        muteCount = std::max(value, 0);
        autoMuteCount = 0;
    }
    if (ReadInteger("ScreenMode", value)) windowed = value == 0;
    if (ReadInteger("PreferredX", value)) preferredX = value;
    if (ReadInteger("PreferredY", value)) preferredY = value;
    if (ReadInteger("CustomCursors", value)) EnableCustomCursors(value != 0);
    if (ReadBoolean("WaitForVSync", flag)) waitForVSync = flag;
    if (ReadInteger("InProgress", value)) previousRunEndedNormally = value == 0;
    if (!screenSaverMode) WriteInteger("InProgress", 1);
    ApplyVolumes();
}

void ZarvoAppBase::SaveSettings() {
    WriteInteger("MusicVolume", VolumeToPercent(musicVolume));
    WriteInteger("SfxVolume", VolumeToPercent(sfxVolume));
    WriteInteger("Muted", muteCount > autoMuteCount ? 1 : 0);
    WriteInteger("ScreenMode", windowed ? 0 : 1);
    WriteInteger("PreferredX", preferredX);
    WriteInteger("PreferredY", preferredY);
    WriteInteger("CustomCursors", customCursorsEnabled ? 1 : 0);
    WriteInteger("InProgress", 0);
    WriteBoolean("WaitForVSync", waitForVSync);
}

bool ZarvoAppBase::WriteData(const std::string& name, const void* bytes, size_t length,
                             uint32_t type) {
    if (registryKey.empty() || (length > 0 && !bytes)) return false;
    std::string subKey, valueName;
    SplitValueName(name, subKey, valueName);
    const auto* p = static_cast<const uint8_t*>(bytes);
    return platform_->Settings(registryKey)
        .Write(subKey, valueName, type, std::vector<uint8_t>(p, p + length));
}

bool ZarvoAppBase::WriteString(const std::string& name, const std::string& text) {
    return WriteData(name, text.c_str(), text.size() + 1, SettingsValues::kString);
}

bool ZarvoAppBase::WriteInteger(const std::string& name, int value) {
    const uint32_t v = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                              static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    return WriteData(name, bytes, 4, SettingsValues::kDword);
}

bool ZarvoAppBase::WriteBoolean(const std::string& name, bool value) {
    return WriteInteger(name, value ? 1 : 0);
}

bool ZarvoAppBase::ReadData(const std::string& name, void* buffer, size_t& length, uint32_t& type) {
    if (registryKey.empty()) return false;
    std::string subKey, valueName;
    SplitValueName(name, subKey, valueName);
    uint32_t t = 0;
    std::vector<uint8_t> data;
    if (!platform_->Settings(registryKey).Read(subKey, valueName, t, data)) return false;
    if (data.size() > length || (!data.empty() && !buffer)) return false;
    if (!data.empty()) std::copy(data.begin(), data.end(), static_cast<uint8_t*>(buffer));
    length = data.size();
    type = t;
    return true;
}

bool ZarvoAppBase::ReadInteger(const std::string& name, int& value) {
    uint8_t bytes[4];
    size_t length = sizeof bytes;
    uint32_t type = 0;
    if (!ReadData(name, bytes, length, type) || type != SettingsValues::kDword || length != 4) {
        return false;
    }
    value = static_cast<int>(
        static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
        static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
    return true;
}

bool ZarvoAppBase::ReadBoolean(const std::string& name, bool& value) {
    int v = 0;
    if (!ReadInteger(name, v)) return false;
    value = v != 0;
    return true;
}

bool ZarvoAppBase::ReadString(const std::string& name, std::string& text) {
    if (registryKey.empty()) return false;
    std::string subKey, valueName;
    SplitValueName(name, subKey, valueName);
    uint32_t type = 0;
    std::vector<uint8_t> data;
    if (!platform_->Settings(registryKey).Read(subKey, valueName, type, data) ||
        type != SettingsValues::kString) {
        return false;
    }
    std::string s(data.begin(), data.end());
    const size_t nul = s.find('\0');
    if (nul != std::string::npos) s.resize(nul);
    text = s;
    return true;
}

bool ZarvoAppBase::DeleteValue(const std::string& name) {
    if (registryKey.empty()) return false;
    std::string subKey, valueName;
    SplitValueName(name, subKey, valueName);
    return platform_->Settings(registryKey).Delete(subKey, valueName);
}

bool ZarvoAppBase::WriteWholeFile(const std::string& path, const void* bytes, size_t length) {
    return AtomicFile::Write(path, bytes, length);
}

// ---------------------------------------------------------------------------------------------
// Command line

void ZarvoAppBase::SetCommandLine(int argc, const char* const* argv) {
    std::string text;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i] ? argv[i] : "";
        if (i > 0) text += ' ';
        // An argument with spaces travels in quotes, as the parser expects it.
        if (arg.empty() || arg.find(' ') != std::string::npos)
            text += '"' + arg + '"';
        else
            text += arg;
    }
    commandLine_ = text;
}

void ZarvoAppBase::ParseOwnCommandLine() {
    commandLineParsed_ = true;
    std::string text = commandLine_;
    if (!text.empty() && text.front() == '"') {
        const size_t close = text.find('"', 1);
        if (close == std::string::npos) return;
        text = text.substr(close + 1);
    }
    const size_t space = text.find(' ');
    if (space != std::string::npos) ParseCommandLineText(text.substr(space + 1));
}

void ZarvoAppBase::ParseCommandLineText(const std::string& text) {
    std::string name, value;
    bool inQuotes = false;
    bool inValue = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        bool tokenEnds = false;
        if (c == '"') {
            inQuotes = !inQuotes;
            if (!inQuotes) tokenEnds = true;
        } else if (c == ' ' && !inQuotes) {
            tokenEnds = true;
        } else if (c == '=' && !inValue) {
            inValue = true;
        } else if (inValue) {
            value += c;
        } else {
            name += c;
        }
        if ((tokenEnds || i + 1 == text.size()) && !name.empty()) {
            ApplyCommandLineOption(name, value);
            name.clear();
            value.clear();
        }
        if (tokenEnds || i + 1 == text.size()) inValue = false;
    }
}

void ZarvoAppBase::ApplyCommandLineOption(const std::string& name, const std::string& value) {
    const auto number = [&value] { return std::atoi(value.c_str()); };
    const std::string base = demoFileName.size() > 4 && demoFileName.ends_with(".dmo")
                                 ? demoFileName.substr(0, demoFileName.size() - 4)
                                 : demoFileName;
    // Input recording and replay do not exist in this build: their options are accepted and
    // only remembered.
    if (name == "-play") {
        demoReplayRequested = true;
    } else if (name == "-recnum") {
        recordingDemo = true;
        demoNumber = number() > 0 ? number() : 5;
        demoFileName = base + Format("%d.dmo", demoNumber);
    } else if (name == "-playnum") {
        demoReplayRequested = true;
        demoNumber = number();
        demoFileName = base + Format("%d.dmo", demoNumber);
    } else if (name == "-record") {
        recordingDemo = true;
    } else if (name == "-demofile") {
        demoFileName = (!value.empty() && value.front() != '/') ? appDataFolder + value : value;
    } else if (name == "-crash") {
        // Reserved for the crash reporter.
    } else if (name == "-screensaver") {
        screenSaverMode = true;
    } else if (name == "-changedir") {
        changeDirTarget = value;
    } else {
        Popup(LookUpText("INVALID_COMMANDLINE_PARAM", "Invalid command line parameter: ") + name);
        ExitProcessWith(0);
    }
}

// ---- Dialogs

Dialog* ZarvoAppBase::MakeDialog(int dialogId, bool isModal, const std::string& header,
                                 const std::string& lines, const std::string& footer,
                                 int buttonMode) {
    return dialogs_->DialogTable::MakeDialog(dialogId, isModal, header, lines, footer, buttonMode);
}

Dialog* ZarvoAppBase::ShowDialog(int dialogId, bool isModal, const std::string& header,
                                 const std::string& lines, const std::string& footer,
                                 int buttonMode) {
    RemoveDialog(dialogId);
    Dialog* dialog = MakeDialog(dialogId, isModal, header, lines, footer, buttonMode);
    AddDialog(dialogId, dialog);
    return dialog;
}

Dialog* ZarvoAppBase::FindDialog(int dialogId) {
    return dialogs_->FindDialog(dialogId);
}

void ZarvoAppBase::AddDialog(int dialogId, Dialog* dialog) {
    // A game may change the logical size after construction.
    dialogs_->width = width;
    dialogs_->height = height;
    dialogs_->AddDialog(dialogId, dialog);
}

void ZarvoAppBase::AddDialog(Dialog* dialog) {
    AddDialog(dialog->id, dialog);
}

bool ZarvoAppBase::RemoveDialog(int dialogId, bool removeWidget, bool deleteWidget) {
    return dialogs_->RemoveDialog(dialogId, removeWidget, deleteWidget);
}

bool ZarvoAppBase::RemoveDialog(int dialogId) {
    return RemoveDialog(dialogId, true, true);
}

bool ZarvoAppBase::RemoveDialog(Dialog* dialog) {
    return RemoveDialog(dialog->id);
}

int ZarvoAppBase::GetDialogCount() {
    return dialogs_->GetDialogCount();
}

void ZarvoAppBase::DialogButtonPress(int dialogId, int buttonId) {
    dialogs_->DialogButtonPress(dialogId, buttonId);
}

void ZarvoAppBase::DialogButtonDepress(int dialogId, int buttonId) {
    dialogs_->DialogButtonDepress(dialogId, buttonId);
}

}  // namespace Zarvo
