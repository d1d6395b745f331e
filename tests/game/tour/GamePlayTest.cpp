#include "game/tour/GamePlay.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "game/save/Profile.h"
#include "game/tour/PlayState.h"

using namespace Kelvane;

namespace {

// A generator that hands out the given values in order.
std::function<uint32_t()> Sequence(std::vector<uint32_t> values) {
    auto queue = std::make_shared<std::deque<uint32_t>>(values.begin(), values.end());
    return [queue]() {
        uint32_t v = queue->front();
        queue->pop_front();
        return v;
    };
}

struct GamePlayTest : ::testing::Test {
    Profile profile;
    GamePlay play{profile};

    // Plays the current tour match to the given score.
    void playTourMatch(int playerGoals, int opponentGoals) {
        ASSERT_TRUE(play.prepareTourMatch());
        play.currentMatch()->scoreA = opponentGoals;
        play.currentMatch()->scoreB = playerGoals;
        play.finishMatch();
    }
};

TEST_F(GamePlayTest, StartsEmpty) {
    EXPECT_EQ(play.mode(), GameMode::None);
    EXPECT_TRUE(play.nations().empty());
    EXPECT_TRUE(play.stages().empty());
    EXPECT_EQ(play.currentMatch(), nullptr);
    EXPECT_EQ(play.currentStage(), nullptr);
    EXPECT_EQ(play.firstStage(), nullptr);
    EXPECT_FALSE(play.replay());
    EXPECT_FALSE(play.completed());
}

TEST_F(GamePlayTest, NationsInTheirOfferedOrder) {
    struct Nation {
        const char* name;
        int id;
        int points;
    };
    const Nation expected[] = {{"Brazil", 1, 3200}, {"Italy", 7, 2800},   {"Argentina", 4, 2400},
                               {"France", 0, 2000}, {"Germany", 2, 1600}, {"England", 3, 1200},
                               {"Spain", 5, 800},   {"U.S.A.", 6, 400}};
    play.startWorldTour();
    ASSERT_EQ(play.nations().size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        const Team& t = *play.nations()[i];
        EXPECT_EQ(t.name, expected[i].name) << "nation " << i;
        EXPECT_EQ(t.id, expected[i].id) << t.name;
        EXPECT_EQ(t.startingPoints, expected[i].points) << t.name;
        EXPECT_EQ(t.opponentPeriod, 10) << t.name;
        EXPECT_EQ(play.findNation(t.id), &t);
    }
    EXPECT_EQ(play.findNation(8), nullptr);
    EXPECT_EQ(play.findNation(Team::kNoNation), nullptr);
}

TEST_F(GamePlayTest, TourStagesInTourOrderFormARing) {
    struct Opponent {
        const char* name;
        int period;
    };
    const Opponent expected[] = {
        {"Chile", 15},    {"River FC", 15}, {"Bolivia", 10},  {"Rio FC", 10},   {"Peru", 8},
        {"Ecuador", 10},  {"Panama", 5},    {"Mexico", 10},   {"Texas", 10},    {"Seattle", 10},
        {"Canada", 8},    {"Toronto", 10},  {"New York", 8},  {"Montreal", 10}, {"Greens", 5},
        {"Sweden", 10},   {"Russia", 10},   {"Moscow", 8},    {"Siberia", 10},  {"Arctic", 10},
        {"Chukot", 10},   {"Japan", 4},     {"S.Korea", 10},  {"China", 10},    {"Borneo", 10},
        {"Zealand", 5},   {"Sydney", 10},   {"Perth", 10},    {"Malaysia", 8},  {"Thailand", 10},
        {"India", 10},    {"Persia", 10},   {"Asia XI", 5},   {"Red Sea", 10},  {"Kenya", 10},
        {"Ocean FC", 10}, {"S.Africa", 8},  {"Cape FC", 10},  {"Namibia", 10},  {"Angola", 10},
        {"Nigeria", 5},   {"W.Africa", 10}, {"N.Africa", 10}, {"Portugal", 10}, {"Europe", 3},
        {"World XI", 2}};
    play.startWorldTour();
    EXPECT_EQ(play.mode(), GameMode::WorldTour);
    ASSERT_EQ(play.stages().size(), 46u);
    for (size_t i = 0; i < 46; ++i) {
        const TourStage& s = *play.stages()[i];
        ASSERT_NE(s.opponent, nullptr);
        EXPECT_EQ(s.index, static_cast<int>(i));
        EXPECT_EQ(s.opponent->name, expected[i].name) << "stage " << i;
        EXPECT_EQ(s.opponent->opponentPeriod, expected[i].period) << expected[i].name;
        EXPECT_EQ(s.opponent->id, Team::kNoNation) << expected[i].name;
        EXPECT_FALSE(s.completed);
        EXPECT_EQ(s.mapObject, nullptr);
        EXPECT_EQ(s.next, play.stages()[(i + 1) % 46].get());
        EXPECT_EQ(play.findStage(static_cast<int>(i)), &s);
    }
    EXPECT_EQ(play.firstStage(), play.stages()[0].get());
    EXPECT_EQ(play.currentStage(), play.firstStage());
    EXPECT_EQ(play.findStage(-1), nullptr);
    EXPECT_EQ(play.findStage(46), nullptr);
}

TEST_F(GamePlayTest, TourStartsAtChileAndEndsAfterBeatingWorldXI) {
    play.startWorldTour();
    profile.setTeam(play.findNation(1));
    EXPECT_EQ(play.currentStage()->opponent->name, "Chile");
    for (int stage = 0; stage < 45; ++stage) {
        playTourMatch(1, 0);
        EXPECT_FALSE(play.completed()) << "after stage " << stage;
    }
    EXPECT_EQ(play.currentStage()->opponent->name, "World XI");
    ASSERT_TRUE(play.prepareTourMatch());
    EXPECT_EQ(play.currentMatch()->teamA->name, "World XI");
    EXPECT_EQ(play.currentMatch()->teamB, profile.team);
    play.currentMatch()->scoreA = 2;
    play.currentMatch()->scoreB = 3;
    play.finishMatch();
    EXPECT_TRUE(play.completed());
    EXPECT_FALSE(play.replay());
    EXPECT_EQ(play.currentStage()->opponent->name, "Chile");
    for (const auto& s : play.stages()) EXPECT_TRUE(s->completed) << s->index;
    EXPECT_EQ(play.tourMatches().size(), 46u);
    for (const auto& m : play.tourMatches()) EXPECT_TRUE(m->played);
}

TEST_F(GamePlayTest, LostOrDrawnTourMatchIsReplayed) {
    play.startWorldTour();
    profile.setTeam(play.findNation(3));
    playTourMatch(0, 2);
    EXPECT_TRUE(play.replay());
    EXPECT_EQ(play.currentStage()->index, 0);
    EXPECT_FALSE(play.currentStage()->completed);
    playTourMatch(1, 1);
    EXPECT_TRUE(play.replay());
    EXPECT_EQ(play.currentStage()->index, 0);
    playTourMatch(4, 1);
    EXPECT_FALSE(play.replay());
    EXPECT_EQ(play.currentStage()->opponent->name, "River FC");
    EXPECT_TRUE(play.stages()[0]->completed);
    EXPECT_EQ(play.tourMatches().size(), 3u);
}

TEST_F(GamePlayTest, WinnerOfAMatch) {
    play.startWorldTour();
    Team* player = play.findNation(5);
    profile.setTeam(player);
    Team* other = play.findNation(2);
    Team* opponent = play.stages()[0]->opponent.get();
    struct Case {
        Team* a;
        Team* b;
        int scoreA, scoreB;
        Team* expected;
    };
    const Case cases[] = {
        {opponent, player, 0, 1, player},   {opponent, player, 2, 1, opponent},
        {opponent, player, 1, 1, opponent}, {player, opponent, 0, 0, opponent},
        {player, other, 3, 1, player},      {other, opponent, 2, 2, other},
    };
    for (const Case& c : cases) {
        Match m(c.a, c.b);
        m.scoreA = c.scoreA;
        m.scoreB = c.scoreB;
        EXPECT_EQ(play.winner(m), c.expected)
            << c.a->name << " " << c.scoreA << " - " << c.scoreB << " " << c.b->name;
    }
    EXPECT_TRUE(play.isPlayerSide(player));
    EXPECT_FALSE(play.isPlayerSide(other));
    EXPECT_FALSE(play.isPlayerSide(opponent));
    EXPECT_FALSE(play.isPlayerSide(nullptr));
}

TEST_F(GamePlayTest, FriendlyDrawsTwoDifferentNationsAndThePlayerIsTeamA) {
    // Picks by index into the nations left: 7 takes "U.S.A.", then 7 % 7 = 0 takes "Brazil".
    play.startFriendly(Sequence({7, 7}));
    EXPECT_EQ(play.mode(), GameMode::Friendly);
    ASSERT_NE(play.currentMatch(), nullptr);
    EXPECT_EQ(play.currentMatch()->teamA->name, "U.S.A.");
    EXPECT_EQ(play.currentMatch()->teamB->name, "Brazil");
    EXPECT_EQ(profile.team, play.currentMatch()->teamA);
    EXPECT_EQ(profile.totalPoints, 400);
    EXPECT_EQ(play.friendlyMatches().size(), 1u);
    EXPECT_EQ(play.friendlyMatches()[0].get(), play.currentMatch());
    EXPECT_EQ(play.currentMatch()->scoreA, -1);
    EXPECT_EQ(play.currentMatch()->scoreB, -1);
    EXPECT_FALSE(play.currentMatch()->played);

    std::mt19937 generator(12345);
    for (int i = 0; i < 200; ++i) {
        play.startFriendly([&] { return static_cast<uint32_t>(generator() >> 1); });
        ASSERT_NE(play.currentMatch(), nullptr);
        EXPECT_NE(play.currentMatch()->teamA->id, play.currentMatch()->teamB->id);
        EXPECT_EQ(play.nations().size(), 8u);
        EXPECT_EQ(play.friendlyMatches().size(), 1u);
    }
}

TEST_F(GamePlayTest, FinishingAFriendlyDiscardsItsTeamsButKeepsTheMode) {
    play.startFriendly(Sequence({0, 0}));
    play.currentMatch()->scoreA = 3;
    play.currentMatch()->scoreB = 0;
    play.finishMatch();
    EXPECT_EQ(play.mode(), GameMode::Friendly);
    EXPECT_EQ(play.currentMatch(), nullptr);
    EXPECT_TRUE(play.nations().empty());
    EXPECT_TRUE(play.friendlyMatches().empty());
    // The profile does not keep a nation that no longer exists.
    EXPECT_EQ(profile.team, nullptr);
}

TEST_F(GamePlayTest, TakingATeamSetsItsStartingPoints) {
    play.startWorldTour();
    profile.totalPoints = 99999;
    profile.setTeam(play.findNation(5));
    EXPECT_EQ(profile.team->name, "Spain");
    EXPECT_EQ(profile.totalPoints, 800);
}

TEST_F(GamePlayTest, TourMatchNeedsAStageAndATeam) {
    EXPECT_FALSE(play.prepareTourMatch());
    play.startWorldTour();
    EXPECT_FALSE(play.prepareTourMatch());
    EXPECT_EQ(play.currentMatch(), nullptr);
    profile.setTeam(play.findNation(0));
    EXPECT_TRUE(play.prepareTourMatch());
    EXPECT_EQ(play.currentMatch()->teamA->name, "Chile");
    EXPECT_EQ(play.currentMatch()->teamB->name, "France");
}

TEST_F(GamePlayTest, MarkStagesBefore) {
    play.startWorldTour();
    play.markStagesBefore(3);
    for (const auto& s : play.stages()) EXPECT_EQ(s->completed, s->index < 3) << s->index;
    ASSERT_TRUE(play.restoreTourPosition(0, false, true));
    for (const auto& s : play.stages()) EXPECT_TRUE(s->completed) << s->index;
}

TEST_F(GamePlayTest, RestoringAPositionTheTourLacksChangesNothing) {
    play.startWorldTour();
    for (int index : {-1, 46, 1000}) {
        EXPECT_FALSE(play.restoreTourPosition(index, true, true));
        EXPECT_EQ(play.currentStage(), play.firstStage());
        EXPECT_FALSE(play.replay());
        EXPECT_FALSE(play.completed());
    }
    ASSERT_TRUE(play.restoreTourPosition(7, true, false));
    EXPECT_EQ(play.currentStage()->opponent->name, "Mexico");
    EXPECT_TRUE(play.replay());
    for (const auto& s : play.stages()) EXPECT_EQ(s->completed, s->index < 7) << s->index;
}

TEST_F(GamePlayTest, DiscardPlayClearsEverythingButTheMode) {
    play.startWorldTour();
    profile.setTeam(play.findNation(7));
    playTourMatch(0, 1);
    play.discardPlay();
    EXPECT_EQ(play.mode(), GameMode::WorldTour);
    EXPECT_TRUE(play.nations().empty());
    EXPECT_TRUE(play.stages().empty());
    EXPECT_TRUE(play.tourMatches().empty());
    EXPECT_EQ(play.currentMatch(), nullptr);
    EXPECT_EQ(play.currentStage(), nullptr);
    EXPECT_EQ(play.firstStage(), nullptr);
    EXPECT_FALSE(play.replay());
    EXPECT_EQ(profile.team, nullptr);
}

TEST_F(GamePlayTest, StartingAgainBuildsAFreshTourInsteadOfAddingToTheOldOne) {
    play.startWorldTour();
    profile.setTeam(play.findNation(1));
    playTourMatch(2, 0);
    play.startWorldTour();
    EXPECT_EQ(play.nations().size(), 8u);
    EXPECT_EQ(play.stages().size(), 46u);
    EXPECT_TRUE(play.tourMatches().empty());
    EXPECT_EQ(play.currentStage()->index, 0);
    EXPECT_FALSE(play.stages()[0]->completed);
}

TEST(PlayStateTest, MadeOnFirstUseAndReleased) {
    EXPECT_FALSE(PlayState::exists());
    PlayState& state = PlayState::instance();
    EXPECT_EQ(&PlayState::instance(), &state);
    EXPECT_EQ(&state.gamePlay.profile(), &state.profile);
    EXPECT_EQ(state.gamePlay.mode(), GameMode::None);
    PlayState::release();
    EXPECT_FALSE(PlayState::exists());
}

}  // namespace
