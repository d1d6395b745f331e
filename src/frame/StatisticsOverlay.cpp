#include "frame/StatisticsOverlay.h"

#include <cmath>
#include <cstdio>

#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/SysFont.h"

namespace Zarvo {

StatisticsOverlay::StatisticsOverlay() = default;
StatisticsOverlay::~StatisticsOverlay() = default;

void StatisticsOverlay::NextMode() {
    switch (mode_) {
        case Mode::kOff:
            mode_ = Mode::kFramesPerSecond;
            break;
        case Mode::kFramesPerSecond:
            mode_ = Mode::kMousePosition;
            break;
        case Mode::kMousePosition:
            mode_ = Mode::kOff;
            break;
    }
}

void StatisticsOverlay::FramePresented(uint32_t now) {
    if (!counting_) {
        counting_ = true;
        countStart_ = now;
        framesCounted_ = 0;
        return;
    }
    ++framesCounted_;
    const int elapsed = static_cast<int>(now - countStart_);
    if (elapsed < 1000) return;
    framesPerSecond_ = static_cast<int>(std::lround(framesCounted_ * 1000.0 / elapsed));
    framesCounted_ = 0;
    countStart_ = now;
}

std::string StatisticsOverlay::CounterText(int mouseX, int mouseY) const {
    char text[48];
    switch (mode_) {
        case Mode::kFramesPerSecond:
            std::snprintf(text, sizeof text, "FPS: %d", framesPerSecond_);
            return text;
        case Mode::kMousePosition:
            std::snprintf(text, sizeof text, "%d,%d", mouseX, mouseY);
            return text;
        case Mode::kOff:
            break;
    }
    return std::string();
}

std::string StatisticsOverlay::ReplayClockText(int updates, int updateIntervalMs) {
    const long long seconds = static_cast<long long>(updates) * updateIntervalMs / 1000;
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

void StatisticsOverlay::DrawLine(Image* target, const std::string& text, int bottom) {
    const int width = font_->StringWidth(text) + 4;
    const int height = font_->GetHeight() + 2;
    const int x = target->GetWidth() - kMargin - width;
    const int y = bottom - height;
    Graphics g(target);
    // An opaque box: the frame under it is only redrawn where widgets changed.
    g.SetColor(Color(0, 0, 0));
    g.FillRect(x, y, width, height);
    g.SetFont(font_.get());
    g.SetColor(Color(255, 255, 255));
    g.DrawString(text, x + 2, y + 1 + font_->GetAscent());
}

void StatisticsOverlay::Draw(Image* target, const std::string& counter, const std::string& clock) {
    if (!target || counter.empty()) return;
    if (!font_) font_ = std::make_unique<SysFont>("Tahoma", 8);
    const int bottom = target->GetHeight() - kMargin;
    DrawLine(target, counter, bottom);
    if (!clock.empty()) DrawLine(target, clock, bottom - kClockAbove);
}

}  // namespace Zarvo
