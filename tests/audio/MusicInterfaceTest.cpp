// The music interface: fades, volumes and the life of a song, with streams and a tracker module.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "audio/Mixer.h"
#include "audio/MixerMusicInterface.h"
#include "audio/ModuleSource.h"
#include "audio/TestSounds.h"

namespace Zarvo {
namespace {

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestData::WriteFile(folder_ / "song.wav",
                            TestData::WavBytes(TestData::Sine(44100, 2, 50, 8000, 500)));
        TestData::WriteFile(folder_ / "song.ogg",
                            TestData::OggBytes(TestData::Sine(44100, 2, 50, 8000, 8000)));
        TestData::WriteFile(folder_ / "song.mod", TestData::ModBytes());
    }
    int Peak(int frames) {
        std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
        mixer_->Render(out.data(), frames);
        int peak = 0;
        for (int16_t v : out) peak = std::max(peak, std::abs(static_cast<int>(v)));
        return peak;
    }

    TestData::ScratchFolder folder_;
    std::shared_ptr<Mixer> mixer_ = std::make_shared<Mixer>(nullptr);
    MixerMusicInterface music_{mixer_};
};

TEST_F(MusicTest, FadeInAtOneHundredthTakesOneHundredUpdates) {
    ASSERT_TRUE(music_.loadMusic(1, folder_ / "song.wav"));
    EXPECT_EQ(music_.GetSongVolume(1), 0.0);
    music_.fadeIn(1, 0, 0.01, false);
    int updates = 0;
    while (music_.IsFading(1) && updates < 1000) {
        music_.update();
        ++updates;
    }
    EXPECT_EQ(updates, 100);
    EXPECT_EQ(music_.GetSongVolume(1), 1.0);
    EXPECT_EQ(music_.GetVolumeAttribute(1), 100);
}

TEST_F(MusicTest, FadeInStopsAtTheSongMaximum) {
    ASSERT_TRUE(music_.loadMusic(1, folder_ / "song.wav"));
    music_.setSongMaxVolume(1, 0.5);
    music_.fadeIn(1, 0, 0.2, false);
    for (int i = 0; i < 3; ++i) music_.update();
    EXPECT_EQ(music_.GetSongVolume(1), 0.5);
    EXPECT_FALSE(music_.IsFading(1));
    EXPECT_EQ(music_.GetVolumeAttribute(1), 50);
}

TEST_F(MusicTest, FadeOutAtVolumeZeroChangesNothing) {
    ASSERT_TRUE(music_.loadMusic(1, folder_ / "song.wav"));
    music_.fadeOut(1, true, 0.1);
    EXPECT_FALSE(music_.IsFading(1));
    music_.update();
    EXPECT_EQ(music_.GetSongVolume(1), 0.0);
}

TEST_F(MusicTest, FadeOutStopsTheSongOnlyWhenAsked) {
    ASSERT_TRUE(music_.loadMusic(1, folder_ / "song.wav"));
    ASSERT_TRUE(music_.loadMusic(2, folder_ / "song.ogg"));
    music_.playMusic(1, 0, false);
    music_.playMusic(2, 0, false);
    EXPECT_EQ(music_.GetSongVolume(1), 1.0);
    music_.fadeOut(1, true, 0.3);
    music_.fadeOut(2, false, 0.3);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(music_.isPlaying(1)) << "update " << i;
        music_.update();
    }
    EXPECT_EQ(music_.GetSongVolume(1), 0.0);
    EXPECT_FALSE(music_.isPlaying(1));
    EXPECT_TRUE(music_.isPlaying(2));
    EXPECT_EQ(Peak(256), 0);
}

TEST_F(MusicTest, FadeOutAllFadesEverySongThatSounds) {
    ASSERT_TRUE(music_.loadMusic(1, folder_ / "song.wav"));
    ASSERT_TRUE(music_.loadMusic(2, folder_ / "song.ogg"));
    music_.playMusic(1, 0, false);
    music_.fadeOutAll(true, 0.5);
    EXPECT_TRUE(music_.IsFading(1));
    EXPECT_FALSE(music_.IsFading(2));
}

TEST_F(MusicTest, PauseResumeStopAndUnload) {
    ASSERT_TRUE(music_.loadMusic(1, folder_ / "song.ogg"));
    music_.playMusic(1, 0, false);
    EXPECT_TRUE(music_.isPlaying(1));
    EXPECT_GT(Peak(2000), 4000);
    music_.pauseMusic(1);
    EXPECT_FALSE(music_.isPlaying(1));
    EXPECT_EQ(Peak(500), 0);
    music_.resumeMusic(1);
    EXPECT_TRUE(music_.isPlaying(1));
    music_.pauseAllMusic();
    EXPECT_FALSE(music_.isPlaying(1));
    music_.resumeAllMusic();
    EXPECT_TRUE(music_.isPlaying(1));
    music_.stopMusic(1);
    EXPECT_FALSE(music_.isPlaying(1));
    EXPECT_EQ(music_.GetSongVolume(1), 0.0);
    // Resuming does not start a song that was stopped rather than paused.
    music_.resumeAllMusic();
    EXPECT_FALSE(music_.isPlaying(1));
    music_.unloadMusic(1);
    EXPECT_EQ(music_.GetSongVolume(1), -1.0);
    music_.playMusic(1, 0, false);  // unknown ids are ignored
    EXPECT_FALSE(music_.isPlaying(1));
}

TEST_F(MusicTest, NoLoopPlaysOnceAndLoopingGoesOn) {
    ASSERT_TRUE(music_.loadMusic(1, folder_ / "song.wav"));
    ASSERT_TRUE(music_.loadMusic(2, folder_ / "song.ogg"));
    music_.playMusic(1, 0, true);
    music_.playMusic(2, 0, false);
    Peak(20000);  // the 500-frame song and the 8000-frame one both ran past their ends
    EXPECT_FALSE(music_.isPlaying(1));
    EXPECT_TRUE(music_.isPlaying(2));
}

TEST_F(MusicTest, StreamOffsetIsABytePositionOfTheDecodedData) {
    // A stereo song whose every frame holds its own index: the offset picks where it starts.
    SoundData ramp;
    ramp.channels = 2;
    ramp.sampleRate = 44100;
    for (int i = 0; i < 1000; ++i)
        ramp.samples.insert(ramp.samples.end(), {int16_t(i), int16_t(i)});
    TestData::WriteFile(folder_ / "ramp.wav", TestData::WavBytes(ramp));
    ASSERT_TRUE(music_.loadMusic(3, folder_ / "ramp.wav"));
    music_.playMusic(3, 400, true);  // 400 bytes = 100 stereo frames
    std::vector<int16_t> out(4);
    mixer_->Render(out.data(), 2);
    EXPECT_EQ(out[0], 100);
    EXPECT_EQ(out[2], 101);
}

TEST_F(MusicTest, VolumeAndAmplifyScaleTheOutput) {
    SoundData flat;
    flat.channels = 1;
    flat.sampleRate = 44100;
    flat.samples.assign(1000, 10000);
    TestData::WriteFile(folder_ / "flat.wav", TestData::WavBytes(flat));
    ASSERT_TRUE(music_.loadMusic(1, folder_ / "flat.wav"));
    music_.playMusic(1, 0, false);
    music_.setSongVolume(1, 0.5);
    music_.setVolume(0.5);
    EXPECT_EQ(Peak(100), 2500);
    music_.setMusicAmplify(1, 1.0);  // streams have no amplification
    EXPECT_EQ(Peak(100), 2500);
}

TEST_F(MusicTest, TrackerModulePlaysEndToEnd) {
    ASSERT_TRUE(music_.loadMusic(4, folder_ / "song.mod"));
    music_.playMusic(4, 0, false);
    EXPECT_TRUE(music_.isPlaying(4));
    const int loud = Peak(44100);
    EXPECT_GT(loud, 1000);
    EXPECT_TRUE(music_.isPlaying(4));  // a looping module runs on past its one pattern
    music_.setMusicAmplify(4, 0.25);   // half its natural level
    const int quiet = Peak(4410);
    EXPECT_NEAR(quiet, loud / 2, loud / 8);
    music_.playMusic(4, 99, true);  // an order past the end starts from the first
    EXPECT_TRUE(music_.isPlaying(4));
}

TEST_F(MusicTest, WhatCannotBeDecodedDoesNotLoad) {
    TestData::WriteFile(folder_ / "song.mp3", std::vector<uint8_t>(1000, 0xFF));
    TestData::WriteFile(folder_ / "junk.xm", std::vector<uint8_t>(100, 0x11));
    TestData::WriteFile(folder_ / "junk.ogg", std::vector<uint8_t>(100, 0x11));
    TestData::WriteFile(folder_ / "junk.wav", std::vector<uint8_t>(100, 0x11));
    for (const char* name : {"song.mp3", "junk.xm", "junk.ogg", "junk.wav", "missing.ogg"}) {
        EXPECT_FALSE(music_.loadMusic(1, folder_ / name)) << name;
    }
    EXPECT_FALSE(music_.isPlaying(1));
    MixerMusicInterface noMixer(nullptr);
    EXPECT_FALSE(noMixer.loadMusic(1, folder_ / "song.wav"));
}

TEST_F(MusicTest, ModuleFilesBeyondTheSizeLimitDoNotLoad) {
    // The song followed by zeros the player ignores, up to the limit and one byte past it.
    for (const size_t size : {ModuleSource::kMaxBytes, ModuleSource::kMaxBytes + 1}) {
        std::vector<uint8_t> bytes = TestData::ModBytes();
        bytes.resize(size, 0);
        TestData::WriteFile(folder_ / "big.mod", bytes);
        EXPECT_EQ(music_.loadMusic(5, folder_ / "big.mod"), size <= ModuleSource::kMaxBytes)
            << size;
    }
}

TEST_F(MusicTest, LoadingAgainUnderAnIdReplacesTheSong) {
    ASSERT_TRUE(music_.loadMusic(1, folder_ / "song.ogg"));
    music_.playMusic(1, 0, false);
    ASSERT_TRUE(music_.loadMusic(1, folder_ / "song.wav"));
    EXPECT_FALSE(music_.isPlaying(1));
    EXPECT_EQ(Peak(100), 0);
}

TEST(SilentMusic, DoesNothing) {
    MusicInterface music;
    EXPECT_FALSE(music.loadMusic(1, "anything.ogg"));
    music.playMusic(1, 0, false);
    music.fadeIn(1, 0, 0.1, false);
    music.update();
    EXPECT_FALSE(music.isPlaying(1));
}

}  // namespace
}  // namespace Zarvo
