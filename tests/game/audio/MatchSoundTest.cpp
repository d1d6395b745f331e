// The sound of a match, heard at the mixer's output: the real application with the generated
// data, an audio output the test pulls samples from itself, and a scripted match: the whistle at
// kick-off, a kick at every swap and a swoosh at every clear, silence when muted, and the sound
// volume changing the level heard.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "files/TempDir.h"
#include "game/autoplay/AutoPlayer.h"
#include "game/goals/GoalSystem.h"
#include "game/grid/PieceGrid.h"
#include "game/screens/GUISystem.h"
#include "game/screens/GameTestApp.h"
#include "game/screens/MainScreen.h"
#include "game/screens/MessageSystem.h"
#include "game/screens/ScreenIds.h"
#include "game/tour/PlayState.h"
#include "platform/AudioDevice.h"

namespace Kelvane {
namespace {

namespace fs = std::filesystem;
const fs::path kGameData = fs::path(KELVANE_BINARY_DIR) / "gamedata";

// An output that renders only when the test asks for samples.
class PulledDevice : public Zarvo::AudioDevice {
public:
    bool Start(RenderCallback render) override {
        callback = std::move(render);
        return true;
    }
    void Stop() override { callback = nullptr; }
    const char* Name() const override { return "pulled"; }
    RenderCallback callback;
};

class MatchSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        Zarvo::AudioDevice::SetDefaultFactory([this] {
            auto made = std::make_unique<PulledDevice>();
            device = made.get();
            return made;
        });
        for (const char* part : {"fonts", "images", "sounds", "music", "properties"})
            fs::create_directory_symlink(kGameData / part, folder.Path() / part);
        folder.Enter();
        PlayState::release();
        app = std::make_unique<testing::GameTestApp>();
        app->Init();
        ASSERT_FALSE(app->IsShutDown());
        app->LoadResourcesInBackground();
        app->LoadingCompleted();
        ASSERT_NE(app->gui(), nullptr);
        ASSERT_NE(device, nullptr);
        ASSERT_TRUE(device->callback);
        app->SetMusicVolume(0.0);  // only the effects are listened to
    }
    void TearDown() override {
        app.reset();
        PlayState::release();
        Zarvo::AudioDevice::SetDefaultFactory(nullptr);
    }

    // The loudest sample of the next `seconds` of output.
    int listen(double seconds) {
        std::vector<int16_t> buffer(2 * 1024);
        int frames = static_cast<int>(seconds * Zarvo::AudioDevice::kSampleRate);
        int peak = 0;
        while (frames > 0) {
            const int n = std::min(frames, 1024);
            device->callback(buffer.data(), n);
            for (int i = 0; i < 2 * n; ++i) peak = std::max(peak, std::abs(int(buffer[i])));
            frames -= n;
        }
        return peak;
    }
    MainScreen& match() { return *static_cast<MainScreen*>(app->gui()->currentScreen()); }
    template <class F>
    bool runUntil(F done, int limit) {
        for (int i = 0; i < limit && !done(); ++i) app->UpdateOnce();
        return done();
    }
    // Makes the best swap on the board, as a player would click it.
    bool swap() {
        if (!runUntil([&] { return !match().grid->isInputBlocked(); }, 3000)) return false;
        PieceGrid& grid = *match().grid;
        std::array<int, 49> kinds{};
        for (int c = 0; c < 7; ++c)
            for (int r = 0; r < 7; ++r) kinds[c * 7 + r] = grid.pieceAt(c, r)->kind;
        AutoPlayer::Swap s{};
        if (!AutoPlayer::bestSwap(kinds, s)) return false;
        app->gui()->sendEvent(EVENT_PLAY_OR_PIECE, grid.pieceAt(s.column1, s.row1));
        app->gui()->sendEvent(EVENT_PLAY_OR_PIECE, grid.pieceAt(s.column2, s.row2));
        return grid.secondSelection() != nullptr;
    }

    TempDir folder;
    PulledDevice* device = nullptr;
    std::unique_ptr<testing::GameTestApp> app;
};

constexpr int kHeard = 1000;    // clearly above the dither of silence
constexpr double kDrain = 3.0;  // longer than any effect

TEST_F(MatchSoundTest, WhistleKicksSwooshesSilenceWhenMutedAndTheSoundVolume) {
    PlayState::instance().gamePlay.startFriendly([] { return 7u; });
    app->gui()->switchTo(SCREEN_MAIN);
    ASSERT_TRUE(
        runUntil([&] { return match().messages->banner->imageId == Res::IMAGE_GO_MESSAGE; }, 2000));
    // Up to kick-off only the banners move: nothing is heard.
    EXPECT_LT(listen(kDrain), kHeard);
    ASSERT_TRUE(runUntil([&] { return match().playing; }, 1000));
    EXPECT_GT(listen(0.3), kHeard) << "the kick-off whistle";
    listen(kDrain);

    // Every swap kicks the ball; every clear swooshes.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(swap());
        EXPECT_GT(listen(0.1), kHeard) << "the kick of swap " << i;
        listen(kDrain);
        const int points = match().goals->matchPoints;
        ASSERT_TRUE(runUntil([&] { return match().goals->matchPoints > points; }, 500));
        EXPECT_GT(listen(0.3), kHeard) << "the swoosh of clear " << i;
        listen(kDrain);
    }

    // Muted, a swap is silent.
    app->Mute(false);
    ASSERT_TRUE(swap());
    EXPECT_EQ(listen(0.3), 0);
    app->Unmute(false);
    listen(kDrain);

    // The sound volume changes the level heard.
    runUntil([&] { return !match().grid->isInputBlocked(); }, 3000);
    listen(kDrain);
    app->SetSfxVolume(1.0);
    ASSERT_TRUE(swap());
    const int loud = listen(0.1);
    runUntil([&] { return !match().grid->isInputBlocked(); }, 3000);
    listen(kDrain);
    app->SetSfxVolume(0.3);
    ASSERT_TRUE(swap());
    const int soft = listen(0.1);
    EXPECT_GT(soft, 0);
    EXPECT_LT(soft, loud / 2) << soft << " vs " << loud;
}

}  // namespace
}  // namespace Kelvane
