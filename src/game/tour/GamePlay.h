// The play state that outlives the screens: the eight nations, the world tour of 46 stages, the
// match being played and the record of every match since the mode began. The player's profile is
// kept apart and borrowed; the play state sets its team.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "game/tour/Match.h"
#include "game/tour/Team.h"
#include "game/tour/TourStage.h"

namespace Kelvane {

struct Profile;

enum class GameMode : int { None = 0, Friendly = 1, WorldTour = 2 };

class GamePlay {
public:
    static constexpr int kNationCount = 8;
    static constexpr int kStageCount = 46;

    // Empty: no nations, no tour, no match, mode none.
    explicit GamePlay(Profile& profile);
    ~GamePlay();
    GamePlay(const GamePlay&) = delete;
    GamePlay& operator=(const GamePlay&) = delete;

    // A friendly match between two different nations drawn with `random` (each result is
    // reduced modulo the nations left to draw from). The player is team A and takes its nation.
    // Whatever was in play before is discarded first.
    void startFriendly(const std::function<uint32_t()>& random);
    // Builds the nations and a fresh tour that starts at its first stage. Whatever was in play
    // before is discarded first.
    void startWorldTour();
    // The match against the current stage's opponent, the player being team B. Does nothing
    // and answers false when there is no current stage or the player has no team yet.
    bool prepareTourMatch();
    // Records the end of the current match. Friendly: the nations and matches are discarded.
    // World tour: a won match completes the stage and moves on (beating the last stage completes
    // the tour and leads back to the first); a lost or drawn one is to be replayed.
    void finishMatch();
    // Deletes the nations, the tour and every match; the mode is kept.
    void discardPlay();

    // Team B when it scored more; on a draw the side that is not the player's; else team A.
    Team* winner(const Match& match) const;
    bool isPlayerSide(const Team* team) const;
    // Linear searches; null when absent.
    Team* findNation(int id) const;
    TourStage* findStage(int index) const;
    // Completes every stage whose index is below `index`, or every stage once the tour is won.
    void markStagesBefore(int index);
    // Puts the tour at a saved position: the stage with `stageIndex` becomes current, the two
    // flags are taken and the stages before it are marked. False, with nothing changed, when the
    // tour has no such stage.
    bool restoreTourPosition(int stageIndex, bool replay, bool completed);

    GameMode mode() const { return mode_; }
    const std::vector<std::unique_ptr<Team>>& nations() const { return nations_; }
    const std::vector<std::unique_ptr<TourStage>>& stages() const { return stages_; }
    TourStage* firstStage() const { return firstStage_; }
    TourStage* currentStage() const { return currentStage_; }
    Match* currentMatch() const { return currentMatch_; }
    const std::vector<std::unique_ptr<Match>>& tourMatches() const { return tourMatches_; }
    const std::vector<std::unique_ptr<Match>>& friendlyMatches() const { return friendlyMatches_; }
    bool replay() const { return replay_; }        // the last tour match was not won
    bool completed() const { return completed_; }  // the tour has been won
    Profile& profile() const { return profile_; }

private:
    void buildNations();
    void buildTour();
    // Deletes the nations and the friendly matches; the profile lets go of its nation.
    void discardNations();

    Profile& profile_;
    std::vector<std::unique_ptr<Team>> nations_;
    Match* currentMatch_ = nullptr;
    GameMode mode_ = GameMode::None;
    std::vector<std::unique_ptr<TourStage>> stages_;
    TourStage* firstStage_ = nullptr;
    TourStage* currentStage_ = nullptr;
    std::vector<std::unique_ptr<Match>> tourMatches_;
    std::vector<std::unique_ptr<Match>> friendlyMatches_;
    bool replay_ = false;
    bool completed_ = false;
};

}  // namespace Kelvane
