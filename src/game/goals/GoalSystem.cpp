#include "game/goals/GoalSystem.h"

#include <string>

#include "diagnostics/AllocationTracker.h"
#include "game/ResourceIds.h"
#include "game/goals/EventSink.h"
#include "game/grid/BoardObject.h"
#include "game/grid/PieceKind.h"
#include "game/save/Profile.h"
#include "game/tour/Match.h"
#include "game/tour/Team.h"
#include "graphics/Font.h"
#include "graphics/MemoryImage.h"

namespace Kelvane {

namespace {

const Zarvo::Color kBlack{0, 0, 0, 255};
constexpr int32_t kNameFont = Res::FONT_ROCKWELLEXTRABOLD16;
constexpr int32_t kPointsFont = Res::FONT_ROCKWELLEXTRABOLD10;
constexpr float kScoreBoxBX = 292.0f;
constexpr float kScoreBoxAX = 222.0f;
constexpr float kScoreBoxY = 20.0f;
constexpr float kPanelX = 490.0f;
constexpr float kMeterSize = 60.0f;

int imageWidth(int32_t id) {
    Zarvo::MemoryImage* image = getImageById(id);
    return image ? image->GetWidth() : 0;
}

int imageHeight(int32_t id) {
    Zarvo::MemoryImage* image = getImageById(id);
    return image ? image->GetHeight() : 0;
}

int textWidth(int32_t fontId, const std::string& text) {
    Zarvo::Font* font = getFontById(fontId);
    return font ? font->StringWidth(text) : 0;
}

int fontHeight(int32_t fontId) {
    Zarvo::Font* font = getFontById(fontId);
    return font ? font->GetHeight() : 0;
}

// The baseline of the team names and the scores: the font centred on the score overlay.
float scoreBaseline() {
    const int overlay = imageHeight(Res::IMAGE_SCORE_OVERLAY);
    const int font = fontHeight(kNameFont);
    return kScoreBoxY + static_cast<float>((overlay - font) / 2 + font);
}

// The screen event that uses a power-up, and the piece kind whose clears charge its meter.
constexpr int32_t kEventOf[GoalSystem::kPowerUpCount] = {
    GoalSystem::kUseInjuryEvent, GoalSystem::kUseRedCardEvent, GoalSystem::kUseYellowCardEvent,
    GoalSystem::kUseOffsideEvent};
constexpr PieceKind kPieceOf[GoalSystem::kPowerUpCount] = {Piece::Injury, Piece::RedCard,
                                                           Piece::YellowCard, Piece::OffsideFlag};

}  // namespace

GoalSystem::GoalSystem(EventSink& sink) : events(sink) {}

GoalSystem::~GoalSystem() = default;

void GoalSystem::start(Match& newMatch, Profile& newProfile) {
    reset();
    match = &newMatch;
    profile = &newProfile;
    teamAHuman = profile->team && match->teamA && match->teamA->id == profile->team->id;

    held[Injury] = profile->injuries;
    held[RedCard] = profile->redCards;
    held[YellowCard] = profile->yellowCards;
    held[Offside] = profile->offsideFlags;
    goalsA = 0;
    goalsB = 0;
    matchPoints = 0;
    fill = {};
    pending = {};
    stepCounter = 1;
    injuryTimer = 1;
    yellowCardTimer = 1;
    injuryEffect = false;
    yellowCardEffect = false;
    frozen = false;
    resetting = false;
    waiting = true;
    paused = false;

    const Team* opponent = teamAHuman ? match->teamB : match->teamA;
    normalPeriod = opponent ? opponent->opponentPeriod : Team::kNationOpponentPeriod;
    currentPeriod = normalPeriod;

    createObjects();
}

ScreenObject* GoalSystem::add(float x, float y) {
    objects.emplace_back(KNEW ScreenObject());
    ScreenObject* object = objects.back().get();
    object->x = x;
    object->y = y;
    object->id = kInertObjectId;
    return object;
}

void GoalSystem::createObjects() {
    add(24.0f, 90.0f)->setImage(Res::IMAGE_OPPOSING_TEAM_BACKGROUND);

    opponentBar = add(24.0f, kBarBottomY);
    opponentBar->setImage(Res::IMAGE_OPPOSING_TEAM_FILLER);
    opponentBar->naturalSize = false;  // stretched: it grows upward
    opponentBar->width = 100.0f;
    opponentBar->height = 45.0f;

    add(24.0f, 90.0f)->setImage(Res::IMAGE_OPPOSING_TEAM_OVERLAY);

    opponentArrow = add(24.0f, 0.0f);
    opponentArrow->setImage(Res::IMAGE_OPPOSING_TEAM_ARROW);
    followBarWithArrow();

    const float baseline = scoreBaseline();
    const std::string nameA = match->teamA ? match->teamA->name : std::string();
    const std::string nameB = match->teamB ? match->teamB->name : std::string();

    ScreenObject* teamBName =
        add(static_cast<float>(imageWidth(Res::IMAGE_SCORE_OVERLAY)) + 312.0f, 0.0f);
    teamBName->setText(nameB, kNameFont);
    teamBName->y = baseline;
    teamBName->textColor = kBlack;

    add(kScoreBoxBX, kScoreBoxY)->setImage(Res::IMAGE_SCORE_BACKGROUND);
    scoreTextB = add(kScoreBoxBX, 0.0f);
    scoreTextB->setText("0", kNameFont);
    scoreTextB->y = baseline - 3.0f;
    scoreTextB->textColor = kBlack;
    add(kScoreBoxBX, kScoreBoxY)->setImage(Res::IMAGE_SCORE_OVERLAY);

    ScreenObject* teamAName =
        add(202.0f - static_cast<float>(textWidth(kNameFont, nameA)), 0.0f);  // right-aligned
    teamAName->setText(nameA, kNameFont);
    teamAName->y = baseline;
    teamAName->textColor = kBlack;

    add(kScoreBoxAX, kScoreBoxY)->setImage(Res::IMAGE_SCORE_BACKGROUND);
    scoreTextA = add(kScoreBoxAX, 0.0f);
    scoreTextA->setText("0", kNameFont);
    scoreTextA->y = baseline - 3.0f;
    scoreTextA->textColor = kBlack;
    add(kScoreBoxAX, kScoreBoxY)->setImage(Res::IMAGE_SCORE_OVERLAY);

    add(teamAHuman ? 202.0f : 352.0f, 14.0f)->setImage(Res::IMAGE_HUMAN_TEAM_INDICATOR);

    createPowerUpPanel(YellowCard, 90.0f, Res::IMAGE_YELLOW_CARD, kUseYellowCardEvent);
    createPowerUpPanel(RedCard, 160.0f, Res::IMAGE_RED_CARD, kUseRedCardEvent);
    createPowerUpPanel(Injury, 230.0f, Res::IMAGE_INJURY, kUseInjuryEvent);
    createPowerUpPanel(Offside, 300.0f, Res::IMAGE_OFFSIDE_FLAG, kUseOffsideEvent);

    add(400.0f, 10.0f)->setImage(Res::IMAGE_POINTS_BACKGROUND);
    pointsText = add(460.0f, 0.0f);
    pointsText->setText("0", kPointsFont);
    pointsText->y = 25.0f;

    add(180.0f, 90.0f)->setImage(Res::IMAGE_BOARD_BACKGROUND);

    refreshScores();
}

void GoalSystem::createPowerUpPanel(PowerUp kind, float top, int32_t imageId, int32_t eventId) {
    ScreenObject* background = add(kPanelX, top);
    background->setImage(Res::IMAGE_POWERUP_BACKGROUND);
    background->clickable = false;

    ScreenObject* button = add(500.0f, top + 10.0f);
    button->setImage(imageId);
    button->id = eventId;
    buttons[kind] = button;

    ScreenObject* filler = add(kPanelX, top);
    filler->setImage(Res::IMAGE_POWERUP_FILLER);
    filler->naturalSize = false;  // stretched over the empty part of the meter
    filler->width = kMeterSize;
    filler->height = kMeterSize;
    filler->clickable = false;
    fillers[kind] = filler;

    ScreenObject* overlay = add(kPanelX, top);
    overlay->setImage(Res::IMAGE_POWERUP_OVERLAY);
    overlay->clickable = false;

    ScreenObject* count = add(580.0f, 0.0f);
    count->setText(std::to_string(held[kind]), kNameFont);
    count->y = top + 40.0f;
    count->textColor = kBlack;
    countTexts[kind] = count;
}

void GoalSystem::reset() {
    objects.clear();
    buttons = {};
    fillers = {};
    countTexts = {};
    scoreTextA = scoreTextB = nullptr;
    opponentBar = opponentArrow = nullptr;
    pointsText = nullptr;
    held = {};
    fill = {};
    pending = {};
    injuryEffect = false;
    yellowCardEffect = false;
    goalsA = 0;
    goalsB = 0;
    matchPoints = 0;
    match = nullptr;
    profile = nullptr;
}

void GoalSystem::update() {
    if (waiting || paused || !opponentBar) return;
    stepMeters();
    if (!frozen) stepOpponent();
    if (resetting) stepDropBack();
    stepEffects();
}

void GoalSystem::stepMeters() {
    for (int kind = 0; kind < kPowerUpCount; ++kind) {
        if (fill[kind] >= 100) {
            ++held[kind];
            refreshCount(static_cast<PowerUp>(kind));
            fill[kind] = 0;
        }
    }
    for (int kind = 0; kind < kPowerUpCount; ++kind) {
        if (pending[kind] > 0) {
            --pending[kind];
            ++fill[kind];
        }
    }
    for (int kind = 0; kind < kPowerUpCount; ++kind) {
        if (fillers[kind]) {
            fillers[kind]->height = (1.0f - static_cast<float>(fill[kind]) * 0.01f) * kMeterSize;
        }
    }
}

void GoalSystem::stepOpponent() {
    // Reaching or passing the period is a step: an injury's end can leave the counter above
    // the normal period, and the bar must not stop for good.
    if (++stepCounter < currentPeriod) return;
    stepCounter = 1;
    if (opponentBar->y > kBarTopY) {
        opponentBar->height += 1.0f;
        opponentBar->y -= 1.0f;
    } else {
        opponentScores();
    }
    followBarWithArrow();
}

void GoalSystem::opponentScores() {
    startDropBack();
    if (teamAHuman) {
        ++goalsB;
    } else {
        ++goalsA;
    }
    refreshScores();
}

void GoalSystem::startDropBack() {
    frozen = true;
    resetting = true;
    setButtonsClickable(false);
}

void GoalSystem::stepDropBack() {
    if (opponentBar->y >= kBarBottomY) {
        frozen = false;
        resetting = false;
        setButtonsClickable(true);
        return;
    }
    opponentBar->height -= 1.0f;
    opponentBar->y += 1.0f;
    followBarWithArrow();
}

void GoalSystem::stepEffects() {
    if (injuryEffect && ++injuryTimer >= kEffectUpdates) {
        currentPeriod = normalPeriod;
        injuryEffect = false;
        injuryTimer = 1;
    }
    if (yellowCardEffect && ++yellowCardTimer >= kEffectUpdates) {
        frozen = false;
        yellowCardEffect = false;
        yellowCardTimer = 1;
    }
}

void GoalSystem::followBarWithArrow() {
    if (opponentArrow && opponentBar) opponentArrow->y = opponentBar->y - opponentArrow->height;
}

void GoalSystem::setButtonsClickable(bool clickable) {
    for (ScreenObject* button : buttons) {
        if (button) button->clickable = clickable;
    }
}

void GoalSystem::scoreClearedPieces(const std::vector<BoardObject*>& pieces) {
    int balls = 0;
    for (const BoardObject* piece : pieces) {
        if (!piece) continue;
        if (piece->kind == Piece::Ball) {
            ++balls;
            matchPoints += kPiecePoints;
            continue;
        }
        for (int kind = 0; kind < kPowerUpCount; ++kind) {
            if (piece->kind == kPieceOf[kind]) {
                pending[kind] += kPiecePoints;
                matchPoints += kPiecePoints;
            }
        }
    }
    if (pointsText) pointsText->text = std::to_string(matchPoints);
    if (balls > 0) {
        // Three to five balls make one goal, six make two.
        if (teamAHuman) {
            goalsA += balls / 3;
        } else {
            goalsB += balls / 3;
        }
        refreshScores();
    }
}

void GoalSystem::onEvent(int32_t id, void* param) {
    (void)param;
    if (waiting || paused) return;
    for (int kind = 0; kind < kPowerUpCount; ++kind) {
        if (id == kEventOf[kind]) usePowerUp(static_cast<PowerUp>(kind));
    }
}

void GoalSystem::usePowerUp(PowerUp kind) {
    if (held[kind] <= 0) return;
    switch (kind) {
        case Injury:
            currentPeriod = kInjuryPeriod;
            injuryEffect = true;
            injuryTimer = 1;
            break;
        case RedCard:
            if (!opponentBar) return;
            // The bar drops back as after a goal, but nobody scores.
            startDropBack();
            break;
        case YellowCard:
            frozen = true;
            yellowCardEffect = true;
            yellowCardTimer = 1;
            break;
        case Offside:
            // Takes back one of the opponent's goals; without one the power-up is kept.
            if (!teamAHuman && goalsA > 0) {
                --goalsA;
            } else if (teamAHuman && goalsB > 0) {
                --goalsB;
            } else {
                return;
            }
            refreshScores();
            break;
    }
    --held[kind];
    refreshCount(kind);
}

void GoalSystem::onMouseUp(int x, int y) {
    for (auto& object : objects) {
        if (object->hitTest(x, y)) {
            events.sendEvent(object->id, object->param);
            return;
        }
    }
}

void GoalSystem::storeResults() {
    waiting = true;
    if (!profile) return;
    profile->redCards = held[RedCard];
    profile->yellowCards = held[YellowCard];
    profile->offsideFlags = held[Offside];
    profile->injuries = held[Injury];
    profile->injuryFill = fill[Injury];
    profile->redCardFill = fill[RedCard];
    profile->yellowCardFill = fill[YellowCard];
    profile->offsideFill = fill[Offside];
    profile->lastMatchPoints = matchPoints;
}

void GoalSystem::addToDrawList(DrawList& list) {
    for (auto& object : objects) object->addToDrawList(list);
}

void GoalSystem::refreshScores() {
    if (match) {
        match->scoreA = goalsA;
        match->scoreB = goalsB;
    }
    const int overlayWidth = imageWidth(Res::IMAGE_SCORE_OVERLAY);
    const struct {
        ScreenObject* text;
        int goals;
        float boxX;
    } scores[] = {{scoreTextA, goalsA, kScoreBoxAX}, {scoreTextB, goalsB, kScoreBoxBX}};
    for (const auto& score : scores) {
        if (!score.text) continue;
        score.text->text = std::to_string(score.goals);
        const int width = textWidth(score.text->fontId, score.text->text);
        score.text->x = score.boxX + static_cast<float>((overlayWidth - width) / 2);
    }
}

void GoalSystem::refreshCount(PowerUp kind) {
    if (countTexts[kind]) countTexts[kind]->text = std::to_string(held[kind]);
}

}  // namespace Kelvane
