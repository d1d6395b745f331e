#include "game/goals/GameClock.h"

#include <string>

#include "diagnostics/AllocationTracker.h"
#include "game/ResourceIds.h"
#include "game/goals/EventSink.h"
#include "graphics/Font.h"
#include "graphics/MemoryImage.h"

namespace Kelvane {

namespace {

// Half of the difference of two sizes, the difference truncated to whole pixels first, so the
// result may end in .5.
float centredOffset(float outer, float inner) {
    return static_cast<float>(static_cast<int>(outer - inner)) * 0.5f;
}

int textWidth(int32_t fontId, const std::string& text) {
    Zarvo::Font* font = getFontById(fontId);
    return font ? font->StringWidth(text) : 0;
}

}  // namespace

GameClock::GameClock(EventSink& sink) : events(sink) {}

GameClock::~GameClock() = default;

void GameClock::place(int x, int y, int32_t mode) {
    reset();
    waiting = true;
    paused = false;
    timeUpSent = false;
    centreX = -1;
    centreY = -1;
    barFullWidth = 0;

    timer.reset(KNEW StepTimer());
    timer->interval = 100;
    timer->value = 0;
    timer->limit = 10;
    timer->countDown = false;

    objects.emplace_back(KNEW ScreenObject());
    frame = objects.back().get();
    frame->x = static_cast<float>(x);
    frame->y = static_cast<float>(y);
    frame->setImage(Res::IMAGE_TIME_MAIN_BACKGROUND);

    objects.emplace_back(KNEW ScreenObject());
    face = objects.back().get();
    face->x = static_cast<float>(x);
    face->y = static_cast<float>(y);
    face->id = kFaceId;

    objects.emplace_back(KNEW ScreenObject());
    hand = objects.back().get();

    if (mode == kBarMode) {
        face->setImage(Res::IMAGE_TIME_BAR_BACKGROUND);
        face->x = frame->x + 60.0f;
        face->y = frame->y + centredOffset(frame->height, face->height);

        hand->id = kBarHandId;
        hand->setImage(Res::IMAGE_TIME_BAR);
        hand->naturalSize = false;  // drawn stretched, so its width can shrink
        if (Zarvo::MemoryImage* bar = getImageById(Res::IMAGE_TIME_BAR))
            barFullWidth = bar->GetWidth();
        hand->x = face->x + centredOffset(face->width, hand->width);
        hand->y = face->y + centredOffset(face->height, hand->height);

        timer->countDown = true;
        timer->value = kBarSteps;
        timer->fullValue = kBarSteps;
    } else if (mode == kNumberMode) {
        face->width = 50.0f;
        face->height = 50.0f;
        face->hasImage = true;  // stretched into the 50 x 50 face, not sized by the image
        face->imageId = Res::IMAGE_CLOCK_BACKGROUND;

        hand->width = 40.0f;
        hand->height = 40.0f;
        hand->id = kNumberHandId;
        hand->setText(std::to_string(timer->value), Res::FONT_ROCKWELLEXTRABOLD14);
        centreX = static_cast<int>(face->x + face->width / 2.0f);
        centreY = static_cast<int>(face->y + face->height / 2.0f);
    }
}

void GameClock::update() {
    if (waiting || paused || !timer) return;
    timer->tick();
    refreshHand();
    if (timer->done) {
        // Time is up once per match: the clock keeps waiting until it is placed again.
        waiting = true;
        if (!timeUpSent) {
            timeUpSent = true;
            events.sendEvent(kTimeUpEvent, nullptr);
        }
    }
}

void GameClock::refreshHand() {
    if (!hand) return;
    if (hand->id == kBarHandId) {
        // Whole pixels of the full width in proportion to the time left, never less than one.
        int width = timer->fullValue > 0 ? timer->value * barFullWidth / timer->fullValue : 0;
        if (width < 1) width = 1;
        hand->width = static_cast<float>(width);
    } else if (hand->id == kNumberHandId) {
        hand->text = std::to_string(timer->value);
        hand->x = static_cast<float>(centreX - textWidth(hand->fontId, hand->text) / 2);
        hand->y = static_cast<float>(centreY);
    }
}

void GameClock::reset() {
    objects.clear();
    frame = nullptr;
    face = nullptr;
    hand = nullptr;
    timer.reset();
}

void GameClock::addToDrawList(DrawList& list) {
    for (auto& object : objects) object->addToDrawList(list);
}

}  // namespace Kelvane
