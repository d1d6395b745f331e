// The real output under SDL's dummy driver and the null output: both pull the mixer, so sounds
// finish as they would on a sound card.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "audio/Mixer.h"
#include "audio/MixerSoundManager.h"
#include "audio/TestSounds.h"
#include "platform/AudioDevice.h"
#include "platform/NullAudioDevice.h"
#include "platform/SdlAudioDevice.h"

namespace Zarvo {
namespace {

// Waits for `done` without measuring anything: the limit only ends a hung test.
template <typename F>
bool WaitFor(F done) {
    for (int i = 0; i < 1000 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

TEST(AudioDevice, DefaultDeviceRunsTheMixerUntilASoundEnds) {
    TestData::ScratchFolder folder;
    TestData::WriteFile(folder / "blip.wav",
                        TestData::WavBytes(TestData::Sine(44100, 1, 100, 8000, 2205)));
    auto mixer = Mixer::OpenDefault();
    ASSERT_TRUE(mixer->HasDevice());
    EXPECT_EQ(Mixer::OpenDefault(), mixer);  // one mixer per process
    MixerSoundManager manager(mixer);
    ASSERT_TRUE(manager.isInitialized());
    ASSERT_TRUE(manager.loadSound(0, folder / "blip"));
    SoundInstance* instance = manager.getSoundInstance(0);
    ASSERT_TRUE(instance->play(false, true));
    EXPECT_TRUE(WaitFor([&] { return instance->isReleased(); }));
}

// The device's render callback runs on SDL's own audio thread (the dummy driver has one too), so
// the mixer is fed from another thread than the one that plays the sounds.
TEST(AudioDevice, SdlDeviceRendersOnItsOwnThread) {
    SdlAudioDevice device;
    ASSERT_TRUE(device.Open());
    std::atomic<bool> called{false}, onCaller{false};
    const std::thread::id caller = std::this_thread::get_id();
    ASSERT_TRUE(device.Start([&](int16_t*, int) {
        if (std::this_thread::get_id() == caller) onCaller = true;
        called = true;
    }));
    EXPECT_TRUE(WaitFor([&] { return called.load(); }));
    device.Stop();
    EXPECT_FALSE(onCaller);
}

TEST(AudioDevice, NullDevicePullsAudioAndStopsCleanly) {
    NullAudioDevice device;
    std::atomic<int> frames{0};
    ASSERT_TRUE(device.Start([&](int16_t*, int n) { frames += n; }));
    EXPECT_TRUE(WaitFor([&] { return frames > 0; }));
    device.Stop();
    const int after = frames;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(frames, after);
}

}  // namespace
}  // namespace Zarvo
