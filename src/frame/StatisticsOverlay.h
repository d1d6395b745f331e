#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace Zarvo {

class Image;
class SysFont;

// The statistics overlay: a small line in the bottom-right corner of each presented frame with
// the frames presented per second or the mouse position, and, while a recording is replayed,
// the replay clock above it. Off by default; the application turns it on from a key and a
// command-line option.
class StatisticsOverlay {
public:
    enum class Mode { kOff, kFramesPerSecond, kMousePosition };

    // Distance of the counter from the right and bottom edges, and of the replay clock above it.
    static constexpr int kMargin = 10;
    static constexpr int kClockAbove = 15;

    StatisticsOverlay();
    ~StatisticsOverlay();
    StatisticsOverlay(const StatisticsOverlay&) = delete;
    StatisticsOverlay& operator=(const StatisticsOverlay&) = delete;

    Mode GetMode() const { return mode_; }
    bool IsOn() const { return mode_ != Mode::kOff; }
    void SetMode(Mode mode) { mode_ = mode; }
    // Off, then frames per second, then the mouse position, then off again.
    void NextMode();

    // Counts a presented frame; the rate shown is refreshed once a second, rounded.
    void FramePresented(uint32_t now);
    int FramesPerSecond() const { return framesPerSecond_; }

    // "FPS: %d" or "%d,%d" by the mode; empty when off.
    std::string CounterText(int mouseX, int mouseY) const;
    // "%02d:%02d:%02d" of the game time that `updates` updates of `updateIntervalMs` make.
    static std::string ReplayClockText(int updates, int updateIntervalMs);

    // Draws the counter (and the clock, when not empty) on a dark box into `target`, in its
    // bottom-right corner.
    void Draw(Image* target, const std::string& counter, const std::string& clock);

private:
    void DrawLine(Image* target, const std::string& text, int bottom);

    Mode mode_ = Mode::kOff;
    int framesPerSecond_ = 0;
    int framesCounted_ = 0;
    uint32_t countStart_ = 0;
    bool counting_ = false;
    std::unique_ptr<SysFont> font_;  // made on first use
};

}  // namespace Zarvo
