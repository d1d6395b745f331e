#pragma once
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/MusicInterface.h"
#include "frame/ZarvoAppBase.h"
#include "platform/HeadlessPlatform.h"
#include "widgets/WidgetManager.h"

namespace ZarvoTest {

// A music interface that remembers the volumes it was given.
class RecordingMusic : public Zarvo::MusicInterface {
public:
    explicit RecordingMusic(std::vector<double>* volumes) : volumes_(volumes) {}
    void setVolume(double v) override { volumes_->push_back(v); }

private:
    std::vector<double>* volumes_;
};

// The base application on the headless platform, with hooks for scripting a run.
class TestApp : public Zarvo::ZarvoAppBase {
public:
    TestApp()
        : ZarvoAppBase(std::make_unique<Zarvo::HeadlessPlatform>()),
          hp(static_cast<Zarvo::HeadlessPlatform&>(GetPlatform())) {
        // One full-screen widget, so that the tree has something to draw.
        screen.SetBounds(0, 0, width, height);
        GetWidgetManager()->AddChild(&screen);
    }

    // Runs after every update with the total update count.
    std::function<void(TestApp&)> onUpdate;
    // Time each present takes on the fake clock.
    int presentCostMs = 0;
    bool dirtyEveryUpdate = false;
    int drawsSeen = 0;
    int updatesSinceLastDraw = 0;
    int maxUpdatesBetweenDraws = 0;
    std::vector<double> musicVolumes;
    std::vector<std::pair<std::string, std::string>> options;
    bool recordOptions = false;
    int loadingCompletedCalls = 0;
    std::vector<uint32_t> presentTicks;
    std::atomic<bool> holdLoading{false};  // the loading thread waits while set

    Zarvo::HeadlessPlatform& hp;
    Zarvo::Widget screen;

    void UpdateOnce() override {
        ZarvoAppBase::UpdateOnce();
        ++updatesSinceLastDraw;
        maxUpdatesBetweenDraws = std::max(maxUpdatesBetweenDraws, updatesSinceLastDraw);
        if (dirtyEveryUpdate) GetWidgetManager()->InvalidateSubtree();
        if (onUpdate) onUpdate(*this);
    }
    bool DrawIfDirty() override {
        ++drawsSeen;
        updatesSinceLastDraw = 0;
        return ZarvoAppBase::DrawIfDirty();
    }
    void Present() override {
        presentTicks.push_back(Now());
        ZarvoAppBase::Present();
        if (presentCostMs > 0) hp.clock.Advance(static_cast<uint32_t>(presentCostMs));
    }
    Zarvo::MusicInterface* OpenMusicInterface() override {
        return new RecordingMusic(&musicVolumes);
    }
    void ApplyCommandLineOption(const std::string& name, const std::string& value) override {
        if (recordOptions)
            options.emplace_back(name, value);
        else
            ZarvoAppBase::ApplyCommandLineOption(name, value);
    }
    void LoadingCompleted() override { ++loadingCompletedCalls; }
    void LoadResourcesInBackground() override {
        while (holdLoading) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    // Init, then finish the (empty) background loading so the first update reports it.
    void InitAndLoad() {
        Init();
        BeginBackgroundLoading();
        AwaitBackgroundLoading();
    }
    uint32_t Now() { return hp.clock.Peek(); }
    // Steps the loop until `ms` of fake time have passed.
    void RunFor(uint32_t ms) {
        const uint32_t end = Now() + ms;
        while (static_cast<int32_t>(Now() - end) < 0) StepUntilUpdated();
    }
    void Post(uint32_t message, uint64_t w = 0, int64_t l = 0) {
        WindowProcedure(Zarvo::WindowMessage{Zarvo::WindowMessage::kMainWindow, message, w, l});
    }
    void ReplayAll() {
        while (ReplayDeferredMessages()) {
        }
    }
};

}  // namespace ZarvoTest
