#include "game/tour/GamePlay.h"

#include <array>

#include "diagnostics/AllocationTracker.h"
#include "game/save/Profile.h"

namespace Kelvane {
namespace {

struct NationEntry {
    const char* name;
    int id;
    int startingPoints;
};

// In the order in which the nations are offered.
constexpr std::array<NationEntry, GamePlay::kNationCount> kNations = {{
    {"Brazil", 1, 3200},
    {"Italy", 7, 2800},
    {"Argentina", 4, 2400},
    {"France", 0, 2000},
    {"Germany", 2, 1600},
    {"England", 3, 1200},
    {"Spain", 5, 800},
    {"U.S.A.", 6, 400},
}};

struct OpponentEntry {
    const char* name;
    int period;
};

// In tour order.
constexpr std::array<OpponentEntry, GamePlay::kStageCount> kOpponents = {{
    {"Chile", 15},    {"River FC", 15}, {"Bolivia", 10},  {"Rio FC", 10},   {"Peru", 8},
    {"Ecuador", 10},  {"Panama", 5},    {"Mexico", 10},   {"Texas", 10},    {"Seattle", 10},
    {"Canada", 8},    {"Toronto", 10},  {"New York", 8},  {"Montreal", 10}, {"Greens", 5},
    {"Sweden", 10},   {"Russia", 10},   {"Moscow", 8},    {"Siberia", 10},  {"Arctic", 10},
    {"Chukot", 10},   {"Japan", 4},     {"S.Korea", 10},  {"China", 10},    {"Borneo", 10},
    {"Zealand", 5},   {"Sydney", 10},   {"Perth", 10},    {"Malaysia", 8},  {"Thailand", 10},
    {"India", 10},    {"Persia", 10},   {"Asia XI", 5},   {"Red Sea", 10},  {"Kenya", 10},
    {"Ocean FC", 10}, {"S.Africa", 8},  {"Cape FC", 10},  {"Namibia", 10},  {"Angola", 10},
    {"Nigeria", 5},   {"W.Africa", 10}, {"N.Africa", 10}, {"Portugal", 10}, {"Europe", 3},
    {"World XI", 2},
}};

}  // namespace

GamePlay::GamePlay(Profile& profile) : profile_(profile) {}

GamePlay::~GamePlay() {
    discardPlay();
}

void GamePlay::buildNations() {
    nations_.clear();
    for (const NationEntry& entry : kNations) {
        nations_.emplace_back(
            KNEW Team(entry.id, entry.name, entry.startingPoints, Team::kNationOpponentPeriod));
    }
}

void GamePlay::buildTour() {
    stages_.clear();
    for (size_t i = 0; i < kOpponents.size(); ++i) {
        std::unique_ptr<Team> opponent(
            KNEW Team(Team::kNoNation, kOpponents[i].name, 0, kOpponents[i].period));
        stages_.emplace_back(KNEW TourStage(static_cast<int>(i), std::move(opponent)));
    }
    for (size_t i = 0; i < stages_.size(); ++i) {
        stages_[i]->next = stages_[(i + 1) % stages_.size()].get();
    }
    firstStage_ = currentStage_ = stages_.front().get();
    replay_ = completed_ = false;
}

void GamePlay::discardNations() {
    // The profile borrows one of the nations; it must not keep pointing at a deleted one.
    profile_.team = nullptr;
    currentMatch_ = nullptr;
    friendlyMatches_.clear();
    nations_.clear();
}

void GamePlay::discardPlay() {
    discardNations();
    currentMatch_ = nullptr;
    firstStage_ = currentStage_ = nullptr;
    tourMatches_.clear();
    stages_.clear();
    replay_ = completed_ = false;
}

void GamePlay::startFriendly(const std::function<uint32_t()>& random) {
    discardPlay();
    mode_ = GameMode::Friendly;
    buildNations();
    std::vector<Team*> pool;
    for (const auto& nation : nations_) pool.push_back(nation.get());
    auto draw = [&]() {
        const size_t pick = random() % pool.size();
        Team* team = pool[pick];
        pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(pick));
        return team;
    };
    Team* teamA = draw();
    Team* teamB = draw();
    profile_.setTeam(teamA);
    friendlyMatches_.emplace_back(KNEW Match(teamA, teamB));
    currentMatch_ = friendlyMatches_.back().get();
}

void GamePlay::startWorldTour() {
    discardPlay();
    buildNations();
    buildTour();
    mode_ = GameMode::WorldTour;
}

bool GamePlay::prepareTourMatch() {
    if (currentStage_ == nullptr || profile_.team == nullptr) return false;
    tourMatches_.emplace_back(KNEW Match(currentStage_->opponent.get(), profile_.team));
    currentMatch_ = tourMatches_.back().get();
    return true;
}

void GamePlay::finishMatch() {
    if (mode_ == GameMode::Friendly) {
        discardNations();
        return;
    }
    if (mode_ != GameMode::WorldTour || currentMatch_ == nullptr || currentStage_ == nullptr) {
        return;
    }
    currentMatch_->played = true;
    if (isPlayerSide(winner(*currentMatch_))) {
        currentStage_->completed = true;
        currentStage_ = currentStage_->next;
        replay_ = false;
        if (currentStage_->index == firstStage_->index) completed_ = true;
    } else {
        replay_ = true;
    }
}

Team* GamePlay::winner(const Match& match) const {
    if (match.scoreA < match.scoreB) return match.teamB;
    if (match.scoreA == match.scoreB) return isPlayerSide(match.teamA) ? match.teamB : match.teamA;
    return match.teamA;
}

bool GamePlay::isPlayerSide(const Team* team) const {
    return team != nullptr && profile_.team != nullptr && team->id == profile_.team->id;
}

Team* GamePlay::findNation(int id) const {
    for (const auto& nation : nations_) {
        if (nation->id == id) return nation.get();
    }
    return nullptr;
}

TourStage* GamePlay::findStage(int index) const {
    for (const auto& stage : stages_) {
        if (stage->index == index) return stage.get();
    }
    return nullptr;
}

void GamePlay::markStagesBefore(int index) {
    for (const auto& stage : stages_) {
        if (stage->index < index || completed_) stage->completed = true;
    }
}

bool GamePlay::restoreTourPosition(int stageIndex, bool replay, bool completed) {
    TourStage* stage = findStage(stageIndex);
    if (stage == nullptr) return false;
    currentStage_ = stage;
    replay_ = replay;
    completed_ = completed;
    markStagesBefore(stageIndex);
    return true;
}

}  // namespace Kelvane
