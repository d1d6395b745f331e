// The mixer rendered into a buffer: what comes out for one voice at various volumes, pans and
// pitches, for two voices together, and for a looping music stream that fades in.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "audio/Mixer.h"
#include "audio/MixerMusicInterface.h"
#include "audio/MixerSoundManager.h"
#include "audio/TestSounds.h"

namespace Zarvo {
namespace {

constexpr double kPeriod = 100.0;  // 441 Hz at 44100 Hz

// One sine sound loaded into slot 0 of a manager on a mixer without a device.
class MixerRender : public ::testing::Test {
protected:
    void SetUp() override {
        Mixer::SetMasterGain(1.0);
        TestData::WriteFile(folder_ / "sine.wav",
                            TestData::WavBytes(TestData::Sine(44100, 1, kPeriod, 16000, 4410)));
        TestData::WriteFile(folder_ / "loud.wav",
                            TestData::WavBytes(TestData::Sine(44100, 1, kPeriod, 24000, 4410)));
        ASSERT_TRUE(manager_.loadSound(0, folder_ / "sine"));
        ASSERT_TRUE(manager_.loadSound(1, folder_ / "loud"));
    }
    void TearDown() override { Mixer::SetMasterGain(1.0); }

    std::vector<int16_t> Render(int frames) {
        std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
        mixer_->Render(out.data(), frames);
        return out;
    }

    // Every frame n of `out` against gain x the sine at source frame n x step, per channel.
    void ExpectSine(const std::vector<int16_t>& out, double amplitude, double gainLeft,
                    double gainRight, double step) {
        for (size_t n = 0; n < out.size() / 2; ++n) {
            const double v = TestData::SineValue(kPeriod, amplitude, static_cast<double>(n) * step);
            ASSERT_NEAR(out[n * 2], v * gainLeft, 1.5) << "left, frame " << n;
            ASSERT_NEAR(out[n * 2 + 1], v * gainRight, 1.5) << "right, frame " << n;
        }
    }

    TestData::ScratchFolder folder_;
    std::shared_ptr<Mixer> mixer_ = std::make_shared<Mixer>(nullptr);
    MixerSoundManager manager_{mixer_};
};

TEST_F(MixerRender, SilentWhenNothingPlays) {
    for (int16_t v : Render(256)) ASSERT_EQ(v, 0);
}

TEST_F(MixerRender, FullVolumeCentrePanPlaysTheSampleUnchanged) {
    SoundInstance* instance = manager_.getSoundInstance(0);
    ASSERT_NE(instance, nullptr);
    ASSERT_TRUE(instance->play(false, false));
    ExpectSine(Render(1000), 16000, 1.0, 1.0, 1.0);
}

TEST_F(MixerRender, VolumeAndPanFollowTheDecibelRules) {
    // Volume 0.5: (log10(9 x 0.5 + 1) - 1) x 2333 = -605.7, so -605 hundredths of a decibel.
    const double half = std::pow(10.0, -605 / 2000.0);
    // Pan -600 takes 6 dB off the right channel, +600 off the left one.
    const double sixDb = std::pow(10.0, -600 / 2000.0);
    struct Case {
        double volume;
        int pan;
        double left, right;
    } cases[] = {
        {0.5, 0, half, half},           {1.0, -600, 1.0, sixDb}, {1.0, 600, sixDb, 1.0},
        {0.5, 600, half * sixDb, half}, {0.01, 0, 0.0, 0.0},  // below the audible threshold:
                                                              // silence
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "volume " << c.volume << " pan " << c.pan);
        SoundInstance* instance = manager_.getSoundInstance(0);
        ASSERT_NE(instance, nullptr);
        instance->setVolume(c.volume);
        instance->setPan(c.pan);
        ASSERT_TRUE(instance->play(false, false));
        ExpectSine(Render(500), 16000, c.left, c.right, 1.0);
        instance->release();
    }
}

TEST_F(MixerRender, BaseVolumeAndManagerVolumeMultiply) {
    manager_.setBaseVolume(0, 0.5);
    SoundInstance* instance = manager_.getSoundInstance(0);
    ASSERT_NE(instance, nullptr);
    manager_.setVolume(0.5);
    ASSERT_TRUE(instance->play(false, false));
    // 0.25 in all: (log10(3.25) - 1) x 2333 = -1138.8, so -1138.
    const double gain = std::pow(10.0, -1138 / 2000.0);
    ExpectSine(Render(500), 16000, gain, gain, 1.0);
}

TEST_F(MixerRender, PitchUpAnOctaveDoublesTheFrequency) {
    SoundInstance* instance = manager_.getSoundInstance(0);
    ASSERT_NE(instance, nullptr);
    instance->adjustPitch(12);
    ASSERT_TRUE(instance->play(false, false));
    ExpectSine(Render(1000), 16000, 1.0, 1.0, 2.0);
}

TEST_F(MixerRender, PitchByAFractionInterpolatesBetweenSamples) {
    SoundInstance* instance = manager_.getSoundInstance(0);
    ASSERT_NE(instance, nullptr);
    instance->adjustPitch(-12);  // 22050 Hz: every other output frame lies halfway between two
    ASSERT_TRUE(instance->play(false, false));
    const auto out = Render(400);
    for (int n = 0; n < 400; ++n) {
        const int a = n / 2;
        const double va = std::lround(TestData::SineValue(kPeriod, 16000, a));
        const double vb = std::lround(TestData::SineValue(kPeriod, 16000, a + 1));
        const double expected = n % 2 == 0 ? va : (va + vb) / 2.0;
        ASSERT_NEAR(out[n * 2], expected, 1.0) << "frame " << n;
    }
}

TEST_F(MixerRender, TwoVoicesAreSummedAndClipped) {
    SoundInstance* first = manager_.getSoundInstance(1);
    SoundInstance* second = manager_.getSoundInstance(1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    first->play(false, false);
    second->play(false, false);
    const auto out = Render(200);
    bool clippedHigh = false, clippedLow = false;
    for (int n = 0; n < 200; ++n) {
        const double sum = 2.0 * std::lround(TestData::SineValue(kPeriod, 24000, n));
        const double expected = std::clamp(sum, -32768.0, 32767.0);
        ASSERT_NEAR(out[n * 2], expected, 1.0) << "frame " << n;
        clippedHigh |= out[n * 2] == 32767;
        clippedLow |= out[n * 2] == -32768;
    }
    EXPECT_TRUE(clippedHigh);
    EXPECT_TRUE(clippedLow);
}

TEST_F(MixerRender, MasterVolumeScalesEverything) {
    manager_.setMasterVolume(0.5);
    EXPECT_DOUBLE_EQ(manager_.getMasterVolume(), 0.5);
    SoundInstance* instance = manager_.getSoundInstance(0);
    ASSERT_NE(instance, nullptr);
    instance->play(false, false);
    ExpectSine(Render(300), 16000, 0.5, 0.5, 1.0);
}

TEST_F(MixerRender, ASoundEndsUnlessItLoops) {
    SoundInstance* once = manager_.getSoundInstance(0);
    SoundInstance* looped = manager_.getSoundInstance(0);
    once->play(false, false);
    looped->play(true, false);
    Render(4410 + 10);
    EXPECT_FALSE(once->isPlaying());
    EXPECT_TRUE(looped->isPlaying());
    once->release();
    // The looping one wrapped around: frame 4420 of the output is frame 10 of the sound.
    const auto out = Render(1);
    EXPECT_NEAR(out[0], std::lround(TestData::SineValue(kPeriod, 16000, 4420 % 4410)), 1.0);
    looped->stop();
    EXPECT_FALSE(looped->isPlaying());
}

TEST_F(MixerRender, LoopingMusicStreamFadesIn) {
    // A 250-frame stereo song: its 1000 output frames run it four times over.
    TestData::WriteFile(folder_ / "song.wav",
                        TestData::WavBytes(TestData::Sine(44100, 2, 50, 20000, 250)));
    MixerMusicInterface music(mixer_);
    ASSERT_TRUE(music.loadMusic(7, folder_ / "song.wav"));
    music.fadeIn(7, 0, 0.25, false);
    EXPECT_TRUE(music.isPlaying(7));
    for (int16_t v : Render(64)) ASSERT_EQ(v, 0);  // volume 0 until the first update
    const int frame0 = 64;
    for (int step = 1; step <= 5; ++step) {
        music.update();
        const double gain = std::min(step * 0.25, 1.0);
        const auto out = Render(1000);
        for (int n = 0; n < 1000; ++n) {
            const int source = (frame0 + (step - 1) * 1000 + n) % 250;
            const double v = std::lround(TestData::SineValue(50, 20000, source)) * gain;
            ASSERT_NEAR(out[n * 2], v, 1.0) << "update " << step << " frame " << n;
            ASSERT_NEAR(out[n * 2 + 1], v, 1.0) << "update " << step << " frame " << n;
        }
    }
    EXPECT_FALSE(music.IsFading(7));
    EXPECT_TRUE(music.isPlaying(7));
}

TEST_F(MixerRender, MusicStreamAtAnotherRateIsResampled) {
    // 22050 Hz: each source frame lasts two output frames.
    TestData::WriteFile(folder_ / "low.wav",
                        TestData::WavBytes(TestData::Sine(22050, 1, 50, 20000, 400)));
    MixerMusicInterface music(mixer_);
    ASSERT_TRUE(music.loadMusic(1, folder_ / "low.wav"));
    music.playMusic(1, 0, true);
    const auto out = Render(900);
    for (int n = 0; n < 798; ++n) {
        const double va = std::lround(TestData::SineValue(50, 20000, n / 2));
        const double vb = std::lround(TestData::SineValue(50, 20000, n / 2 + 1));
        ASSERT_NEAR(out[n * 2], n % 2 == 0 ? va : (va + vb) / 2, 1.0) << "frame " << n;
    }
    EXPECT_EQ(out[850 * 2], 0);
    EXPECT_FALSE(music.isPlaying(1));  // played once to its end
}

}  // namespace
}  // namespace Zarvo
